#include "textcore.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <rtl/ustrbuf.hxx>

#include <algorithm>
#include <cassert>

namespace officehost::textcore {

using ::com::qam::vexo::beans::PropertyValue;
using ::zel::uno::RuntimeException;

// ---- nodes -------------------------------------------------------------------

InlineNode::InlineNode(Core& c, InlineKind k) : core(c), kind(k) {
    if (kind == InlineKind::Footnote) {
        text = std::make_unique<TextNode>(core, TextKind::Footnote);
        text->footnote = this;
    }
}

InlineNode::~InlineNode() {
    if (obj) obj->nodeGone();
}

ParaNode::ParaNode(TextNode* t) : Block(t) {}

ParaNode::~ParaNode() {
    text->core.invalidate(this);
    if (obj) obj->nodeGone();
}

RowNode::~RowNode() {
    if (obj) obj->nodeGone();
}

TableNode::TableNode(Core& c, TextNode* t, sal_Int32 rowCount, sal_Int32 columnCount)
    : Block(t), core(c), columns(columnCount) {
    for (sal_Int32 r = 0; r < rowCount; ++r) rows.push_back(makeRow());
}

TableNode::~TableNode() {
    if (obj) obj->nodeGone();
}

std::unique_ptr<RowNode> TableNode::makeRow() {
    auto row = std::make_unique<RowNode>();
    for (sal_Int32 c = 0; c < columns; ++c) {
        auto cell = std::make_unique<TextNode>(core, TextKind::Cell);
        cell->table = this;
        row->cells.push_back(std::move(cell));
    }
    return row;
}

TextNode::TextNode(Core& c, TextKind k) : core(c), kind(k) {
    blocks.push_back(std::make_unique<ParaNode>(this));
}

TextNode::~TextNode() {
    if (obj) obj->nodeGone();
    // Paragraphs tell the core when they go; do it while this text is intact.
    while (!blocks.empty()) blocks.pop_back();
}

ParaNode* TextNode::firstPara() const {
    for (auto& b : blocks)
        if (!b->isTable()) return static_cast<ParaNode*>(b.get());
    return nullptr;
}

ParaNode* TextNode::lastPara() const {
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it)
        if (!(*it)->isTable()) return static_cast<ParaNode*>(it->get());
    return nullptr;
}

sal_Int32 TextNode::indexOf(const Block* b) const {
    const sal_Int32 hint = b->indexHint;
    if (hint >= 0 && static_cast<std::size_t>(hint) < blocks.size() && blocks[hint].get() == b) return hint;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (blocks[i].get() == b) {
            b->indexHint = static_cast<sal_Int32>(i);
            return b->indexHint;
        }
    return -1;
}

Position::Position(Core& core, Pos p) : core_(core), pos_(p) { core_.positions.insert(this); }
Position::Position(const Position& other) : core_(other.core_), pos_(other.pos_) { core_.positions.insert(this); }
Position::~Position() { core_.positions.erase(this); }

// ---- layout ------------------------------------------------------------------

TextNode* textOf(const Pos& p) { return p.para ? p.para->text : nullptr; }

int compare(const Pos& a, const Pos& b) {
    assert(a.valid() && b.valid() && a.para->text == b.para->text && "positions of one text");
    if (a.para == b.para) return a.off < b.off ? -1 : (a.off > b.off ? 1 : 0);
    sal_Int32 ia = a.para->text->indexOf(a.para);
    sal_Int32 ib = b.para->text->indexOf(b.para);
    return ia < ib ? -1 : 1;
}

Pos startOf(const TextNode& t) { return Pos{t.firstPara(), 0}; }
Pos endOf(const TextNode& t) {
    ParaNode* p = t.lastPara();
    return Pos{p, p->length()};
}

ParaNode* nextPara(const ParaNode* p) {
    auto& blocks = p->text->blocks;
    for (std::size_t i = p->text->indexOf(p) + 1; i < blocks.size(); ++i)
        if (!blocks[i]->isTable()) return static_cast<ParaNode*>(blocks[i].get());
    return nullptr;
}

ParaNode* prevPara(const ParaNode* p) {
    auto& blocks = p->text->blocks;
    for (sal_Int32 i = p->text->indexOf(p) - 1; i >= 0; --i)
        if (!blocks[i]->isTable()) return static_cast<ParaNode*>(blocks[i].get());
    return nullptr;
}

bool stepRight(Pos& p) {
    if (p.off < p.para->length()) {
        ++p.off;
        return true;
    }
    ParaNode* n = nextPara(p.para);
    if (!n) return false;
    p = Pos{n, 0};
    return true;
}

bool stepLeft(Pos& p) {
    if (p.off > 0) {
        --p.off;
        return true;
    }
    ParaNode* n = prevPara(p.para);
    if (!n) return false;
    p = Pos{n, n->length()};
    return true;
}

// ---- strings -----------------------------------------------------------------

namespace {

void walkFootnotes(const TextNode& t, std::vector<InlineNode*>& out) {
    for (auto& b : t.blocks) {
        if (b->isTable()) {
            for (auto& row : static_cast<const TableNode&>(*b).rows)
                for (auto& cell : row->cells) walkFootnotes(*cell, out);
            continue;
        }
        for (auto& u : static_cast<const ParaNode&>(*b).units)
            if (u.object && u.object->kind == InlineKind::Footnote) out.push_back(u.object.get());
    }
}

bool findIn(const TextNode& t, const InlineNode& node, Pos& out, bool& atParagraph) {
    for (auto& b : t.blocks) {
        if (b->isTable()) {
            for (auto& row : static_cast<const TableNode&>(*b).rows)
                for (auto& cell : row->cells)
                    if (findIn(*cell, node, out, atParagraph)) return true;
            continue;
        }
        auto& para = static_cast<ParaNode&>(*b);
        for (auto& a : para.anchored)
            if (a.get() == &node) {
                out = Pos{&para, 0};
                atParagraph = true;
                return true;
            }
        for (std::size_t i = 0; i < para.units.size(); ++i) {
            const auto& obj = para.units[i].object;
            if (!obj) continue;
            if (obj.get() == &node) {
                out = Pos{&para, static_cast<sal_Int32>(i)};
                return true;
            }
            if (obj->text && findIn(*obj->text, node, out, atParagraph)) return true;
        }
    }
    return false;
}

void tableItems(const TableNode& table, std::vector<OUString>& items) {
    for (auto& row : table.rows)
        for (auto& cell : row->cells) items.push_back(textString(*cell));
}

OUString join(const std::vector<OUString>& items) {
    OUStringBuffer buf;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) buf.append(u'\n');
        buf.append(items[i]);
    }
    return buf.makeStringAndClear();
}

} // namespace

std::vector<InlineNode*> footnotes(const Core& core) {
    std::vector<InlineNode*> out;
    walkFootnotes(*core.body, out);
    return out;
}

Pos locate(const InlineNode& node, bool* atParagraph) {
    Pos p;
    bool at = false;
    findIn(*node.core.body, node, p, at);
    if (atParagraph) *atParagraph = at;
    return p;
}

OUString footnoteLabel(const InlineNode& footnote) {
    if (!footnote.label.isEmpty()) return footnote.label;
    sal_Int32 number = 0;
    for (InlineNode* f : footnotes(footnote.core)) {
        if (f->label.isEmpty()) ++number;
        if (f == &footnote) return OUString::number(number);
    }
    return OUString();  // not in the document
}

OUString renderUnits(const ParaNode& p, sal_Int32 from, sal_Int32 to) {
    OUStringBuffer buf;
    for (sal_Int32 i = from; i < to; ++i) {
        const Unit& u = p.units[i];
        if (!u.object) {
            buf.append(u.ch);
            continue;
        }
        switch (u.object->kind) {
        case InlineKind::Footnote: buf.append(footnoteLabel(*u.object)); break;
        case InlineKind::Frame: break;
        }
    }
    return buf.makeStringAndClear();
}

OUString textString(const TextNode& t) {
    std::vector<OUString> items;
    for (auto& b : t.blocks) {
        if (b->isTable()) {
            tableItems(static_cast<const TableNode&>(*b), items);
            continue;
        }
        auto& p = static_cast<const ParaNode&>(*b);
        items.push_back(renderUnits(p, 0, p.length()));
    }
    return join(items);
}

OUString rangeString(const Pos& a0, const Pos& b0) {
    Pos a = a0, b = b0;
    if (compare(a, b) > 0) std::swap(a, b);
    if (a.para == b.para) return renderUnits(*a.para, a.off, b.off);
    std::vector<OUString> items;
    items.push_back(renderUnits(*a.para, a.off, a.para->length()));
    TextNode& t = *a.para->text;
    for (sal_Int32 i = t.indexOf(a.para) + 1, e = t.indexOf(b.para); i < e; ++i) {
        Block& blk = *t.blocks[i];
        if (blk.isTable()) {
            tableItems(static_cast<TableNode&>(blk), items);
            continue;
        }
        auto& p = static_cast<ParaNode&>(blk);
        items.push_back(renderUnits(p, 0, p.length()));
    }
    items.push_back(renderUnits(*b.para, 0, b.off));
    return join(items);
}

// ---- edits -------------------------------------------------------------------

Core::Core() : body(std::make_unique<TextNode>(*this, TextKind::Body)) {}

Core::~Core() { body.reset(); }

void Core::invalidate(ParaNode* gone) {
    for (Position* p : positions)
        if (p->get().para == gone) p->set(Pos{});
}

void Core::relocate(ParaNode* from, Pos to) {
    for (Position* p : positions)
        if (p->get().para == from) p->set(to);
}

void Core::insertUnits(Pos at, std::vector<Unit> units) {
    assert(at.valid() && at.off <= at.para->length() && "insertion inside the paragraph");
    auto n = static_cast<sal_Int32>(units.size());
    if (n == 0) return;
    auto& v = at.para->units;
    v.insert(v.begin() + at.off, std::make_move_iterator(units.begin()), std::make_move_iterator(units.end()));
    for (Position* p : positions) {
        Pos& q = p->ref();
        if (q.para == at.para && q.off >= at.off) q.off += n;
    }
    changed();
}

ParaNode* Core::splitParagraph(Pos at) {
    ParaNode* p = at.para;
    TextNode* t = p->text;
    auto q = std::make_unique<ParaNode>(t);
    q->style = p->style;
    q->props = p->props;
    q->numbering = p->numbering;
    q->numberingCleared = p->numberingCleared;
    q->units.insert(q->units.end(), std::make_move_iterator(p->units.begin() + at.off),
                    std::make_move_iterator(p->units.end()));
    p->units.erase(p->units.begin() + at.off, p->units.end());
    ParaNode* raw = q.get();
    t->blocks.insert(t->blocks.begin() + t->indexOf(p) + 1, std::move(q));
    for (Position* pos : positions) {
        Pos& r = pos->ref();
        if (r.para == p && r.off >= at.off) r = Pos{raw, r.off - at.off};
    }
    changed();
    return raw;
}

Pos Core::insertString(Pos at, const OUString& s) {
    AttrsPtr attrs;
    auto& units = at.para->units;
    if (at.off > 0)
        attrs = units[at.off - 1].attrs;
    else if (!units.empty())
        attrs = units[0].attrs;
    // Positions at the insertion point move behind the text; so does this one.
    Position cur(*this, at);
    std::vector<Unit> pending;
    auto flush = [&] {
        insertUnits(cur.get(), std::move(pending));
        pending.clear();
    };
    for (sal_Int32 i = 0; i < s.getLength(); ++i) {
        sal_Unicode c = s[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < s.getLength() && s[i + 1] == u'\n') ++i;
            flush();
            splitParagraph(cur.get());
            continue;
        }
        pending.push_back(Unit{c, attrs, nullptr});
    }
    flush();
    return cur.get();
}

void Core::erase(Pos a, Pos b) {
    if (compare(a, b) > 0) std::swap(a, b);
    if (a == b) return;
    std::vector<Unit> trashUnits;
    std::vector<std::unique_ptr<Block>> trashBlocks;
    ParaNode* A = a.para;
    if (A == b.para) {
        sal_Int32 n = b.off - a.off;
        for (Position* p : positions) {
            Pos& q = p->ref();
            if (q.para != A || q.off <= a.off) continue;
            q.off = q.off >= b.off ? q.off - n : a.off;
        }
        trashUnits.insert(trashUnits.end(), std::make_move_iterator(A->units.begin() + a.off),
                          std::make_move_iterator(A->units.begin() + b.off));
        A->units.erase(A->units.begin() + a.off, A->units.begin() + b.off);
        changed();
        return;  // trash goes here, after the structure is consistent again
    }
    ParaNode* B = b.para;
    TextNode& t = *A->text;
    sal_Int32 ia = t.indexOf(A), ib = t.indexOf(B);
    for (sal_Int32 i = ia + 1; i < ib; ++i)
        if (!t.blocks[i]->isTable()) relocate(static_cast<ParaNode*>(t.blocks[i].get()), a);
    for (Position* p : positions) {
        Pos& q = p->ref();
        if (q.para == A && q.off > a.off) q.off = a.off;
        else if (q.para == B) q = q.off < b.off ? a : Pos{A, a.off + q.off - b.off};
    }
    trashUnits.insert(trashUnits.end(), std::make_move_iterator(A->units.begin() + a.off),
                      std::make_move_iterator(A->units.end()));
    A->units.erase(A->units.begin() + a.off, A->units.end());
    trashUnits.insert(trashUnits.end(), std::make_move_iterator(B->units.begin()),
                      std::make_move_iterator(B->units.begin() + b.off));
    A->units.insert(A->units.end(), std::make_move_iterator(B->units.begin() + b.off),
                    std::make_move_iterator(B->units.end()));
    B->units.clear();
    // What was anchored at the merged paragraph stays, now at the first one.
    for (auto& a : B->anchored) A->anchored.push_back(std::move(a));
    B->anchored.clear();
    for (sal_Int32 i = ia + 1; i <= ib; ++i) trashBlocks.push_back(std::move(t.blocks[i]));
    t.blocks.erase(t.blocks.begin() + ia + 1, t.blocks.begin() + ib + 1);
    changed();
}

void Core::clearText(TextNode& t) {
    ParaNode* first = t.firstPara();
    assert(first && "a text has a paragraph");
    for (Position* p : positions) {
        Pos& q = p->ref();
        if (q.para && q.para->text == &t) q = Pos{first, 0};
    }
    std::vector<std::unique_ptr<Block>> trashBlocks;
    std::vector<Unit> trashUnits = std::move(first->units);
    first->units.clear();
    for (auto& b : t.blocks)
        if (b.get() != first) trashBlocks.push_back(std::move(b));
    std::erase_if(t.blocks, [](const std::unique_ptr<Block>& b) { return !b; });
    changed();
}

void Core::removeBlock(Block& b) {
    TextNode& t = *b.text;
    sal_Int32 i = t.indexOf(&b);
    assert(i >= 0 && "the block is in its text");
    if (!b.isTable()) {
        auto& p = static_cast<ParaNode&>(b);
        ParaNode* next = nextPara(&p);
        ParaNode* prev = prevPara(&p);
        if (!next && !prev)
            throw RuntimeException(OUString(u"removeTextContent: the last paragraph of a text cannot be removed"));
        if (static_cast<std::size_t>(i) + 1 == t.blocks.size() && i > 0 && t.blocks[i - 1]->isTable())
            throw RuntimeException(OUString(u"removeTextContent: the paragraph after the last table of a text cannot be removed"));
        relocate(&p, next ? Pos{next, 0} : Pos{prev, prev->length()});
    }
    std::unique_ptr<Block> trash = std::move(t.blocks[i]);
    t.blocks.erase(t.blocks.begin() + i);
    changed();
}

void Core::insertTable(Pos at, std::unique_ptr<TableNode> table) {
    ParaNode* p = at.para;
    TextNode& t = *p->text;
    table->text = &t;
    if (at.off == 0) {
        t.blocks.insert(t.blocks.begin() + t.indexOf(p), std::move(table));
        changed();
        return;
    }
    if (at.off == p->length()) {
        sal_Int32 i = t.indexOf(p);
        bool last = static_cast<std::size_t>(i) + 1 == t.blocks.size();
        t.blocks.insert(t.blocks.begin() + i + 1, std::move(table));
        if (last) {
            auto q = std::make_unique<ParaNode>(&t);
            q->style = p->style;
            t.blocks.push_back(std::move(q));
        }
        changed();
        return;
    }
    ParaNode* q = splitParagraph(at);
    t.blocks.insert(t.blocks.begin() + t.indexOf(q), std::move(table));
    changed();
}

// ---- values ------------------------------------------------------------------

std::shared_ptr<NumberingData> NumberingData::create(Core& core) {
    auto d = std::make_shared<NumberingData>();
    d->listId = u"list" + OUString::number(core.nextListId++);
    for (sal_Int32 level = 0; level < levelCount; ++level) {
        d->levels.push_back({
            PropertyValue{OUString(u"NumberingType"), 0, Any(sal_Int16(6)), {}},
            PropertyValue{OUString(u"BulletChar"), 0, Any(OUString(u"\u2022")), {}},
            PropertyValue{OUString(u"Prefix"), 0, Any(OUString()), {}},
            PropertyValue{OUString(u"Suffix"), 0, Any(OUString()), {}},
            PropertyValue{OUString(u"StartWith"), 0, Any(sal_Int16(1)), {}},
            PropertyValue{OUString(u"LeftMargin"), 0, Any(sal_Int32(635 * (level + 1))), {}},
        });
    }
    return d;
}

const std::vector<PropDesc>& propertyTable() {
    using cppu::UnoType;
    static const std::vector<PropDesc> table = {
        {OUString(u"CharWeight"), UnoType<float>::get(), PropScope::Character, Any(100.0f)},
        {OUString(u"CharPosture"), UnoType<::com::qam::vexo::awt::FontSlant>::get(), PropScope::Character,
         Any(::com::qam::vexo::awt::FontSlant_NONE)},
        {OUString(u"CharUnderline"), UnoType<sal_Int16>::get(), PropScope::Character, Any(sal_Int16(0))},
        {OUString(u"CharStrikeout"), UnoType<sal_Int16>::get(), PropScope::Character, Any(sal_Int16(0))},
        {OUString(u"CharFontName"), UnoType<OUString>::get(), PropScope::Character, Any(OUString(u"Liberation Serif"))},
        {OUString(u"HyperLinkURL"), UnoType<OUString>::get(), PropScope::Character, Any(OUString())},
        {OUString(u"CharEscapement"), UnoType<sal_Int16>::get(), PropScope::Character, Any(sal_Int16(0))},
        {OUString(u"CharEscapementHeight"), UnoType<sal_Int8>::get(), PropScope::Character, Any(sal_Int8(100))},
        {OUString(u"CharHeight"), UnoType<float>::get(), PropScope::Character, Any(12.0f)},
        {OUString(u"CharColor"), UnoType<sal_Int32>::get(), PropScope::Character, Any(sal_Int32(-1))},
        // The Asian and complex-script variants of weight, posture and height.
        {OUString(u"CharWeightAsian"), UnoType<float>::get(), PropScope::Character, Any(100.0f)},
        {OUString(u"CharWeightComplex"), UnoType<float>::get(), PropScope::Character, Any(100.0f)},
        {OUString(u"CharPostureAsian"), UnoType<::com::qam::vexo::awt::FontSlant>::get(), PropScope::Character,
         Any(::com::qam::vexo::awt::FontSlant_NONE)},
        {OUString(u"CharPostureComplex"), UnoType<::com::qam::vexo::awt::FontSlant>::get(), PropScope::Character,
         Any(::com::qam::vexo::awt::FontSlant_NONE)},
        {OUString(u"CharHeightAsian"), UnoType<float>::get(), PropScope::Character, Any(12.0f)},
        {OUString(u"CharHeightComplex"), UnoType<float>::get(), PropScope::Character, Any(12.0f)},
        {OUString(u"ParaStyleName"), UnoType<OUString>::get(), PropScope::Paragraph, Any(OUString(u"Standard"))},
        {OUString(u"ParaAdjust"), UnoType<sal_Int16>::get(), PropScope::Paragraph, Any(sal_Int16(0))},
        {OUString(u"ParaLeftMargin"), UnoType<sal_Int32>::get(), PropScope::Paragraph, Any(sal_Int32(0))},
        {OUString(u"ParaRightMargin"), UnoType<sal_Int32>::get(), PropScope::Paragraph, Any(sal_Int32(0))},
        {OUString(u"ParaFirstLineIndent"), UnoType<sal_Int32>::get(), PropScope::Paragraph, Any(sal_Int32(0))},
        {OUString(u"WritingMode"), UnoType<sal_Int16>::get(), PropScope::Paragraph, Any(sal_Int16(4))},
        {OUString(u"NumberingRules"), UnoType<::com::qam::vexo::container::XIndexReplace>::get(), PropScope::Paragraph,
         Any(), true},
        {OUString(u"NumberingLevel"), UnoType<sal_Int16>::get(), PropScope::Paragraph, Any(sal_Int16(0))},
        {OUString(u"NumberingIsNumber"), UnoType<bool>::get(), PropScope::Paragraph, Any(), true},
        {OUString(u"ListId"), UnoType<OUString>::get(), PropScope::Paragraph, Any(OUString())},
        {OUString(u"TextPortionType"), UnoType<OUString>::get(), PropScope::Portion, Any(OUString(u"Text")), false,
         true},
        {OUString(u"Footnote"), UnoType<::com::qam::vexo::text::XFootnote>::get(), PropScope::Portion, Any(), true, true},
    };
    return table;
}

const PropDesc* findProp(const OUString& name) {
    for (const PropDesc& d : propertyTable())
        if (d.name == name) return &d;
    return nullptr;
}

Any coerce(const PropDesc& d, const Any& value, const OUString& operation) {
    using namespace ::zel::uno;
    auto fail = [&]() -> Any {
        throw ::com::qam::vexo::lang::IllegalArgumentException(
            operation + u": property " + d.name + u" takes a value of type " + d.type.getTypeName() + u", got " +
            (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
    };
    if (!value.hasValue()) return d.maybeVoid ? Any() : fail();
    if (!value.isExtractableTo(d.type)) return fail();
    switch (d.type.getTypeClass()) {
    case TypeClass_BYTE: return Any(value.get<sal_Int8>());
    case TypeClass_SHORT: return Any(value.get<sal_Int16>());
    case TypeClass_LONG: return Any(value.get<sal_Int32>());
    case TypeClass_FLOAT: return Any(value.get<float>());
    case TypeClass_DOUBLE: return Any(value.get<double>());
    default: return value;
    }
}

const Style* Core::findStyle(const OUString& name) const {
    auto it = styles.find(name);
    return it == styles.end() ? nullptr : &it->second;
}

Any Core::styleValue(const OUString& styleName, const OUString& name) const {
    OUString current = styleName;
    // Parent chains are short; the bound only guards against a loop.
    for (int depth = 0; depth < 32 && !current.isEmpty(); ++depth) {
        const Style* s = findStyle(current);
        if (!s) break;
        auto it = s->props.find(name);
        if (it != s->props.end()) return it->second;
        current = s->parent;
    }
    const PropDesc* d = findProp(name);
    return d ? d->defaultValue : Any();
}

Any Core::paraValue(const ParaNode& p, const OUString& name) const {
    auto it = p.props.find(name);
    if (it != p.props.end()) return it->second;
    return styleValue(p.style, name);
}

NumberingPtr Core::effectiveNumbering(const ParaNode& p) const {
    if (p.numbering) return p.numbering;
    if (p.numberingCleared) return nullptr;
    OUString current = p.style;
    for (int depth = 0; depth < 32 && !current.isEmpty(); ++depth) {
        const Style* s = findStyle(current);
        if (!s) break;
        if (s->numbering) return s->numbering;
        current = s->parent;
    }
    return nullptr;
}

Any Core::unitValue(const ParaNode& p, sal_Int32 off, const OUString& name) const {
    if (off >= 0 && off < p.length() && p.units[off].attrs) {
        auto it = p.units[off].attrs->find(name);
        if (it != p.units[off].attrs->end()) return it->second;
    }
    return paraValue(p, name);
}

} // namespace officehost::textcore
