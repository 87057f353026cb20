#include "drawcore.hxx"

#include <com/qam/vexo/beans/values.hxx>
#include <zel/uno/Sequence.hxx>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cassert>

namespace officehost::draw {

// ---- shape kinds ---------------------------------------------------------------

const std::vector<ShapeKind>& shapeKinds() {
    // type, text, group, presentation only, custom geometry
    static const std::vector<ShapeKind> kinds = {
        {u"com.qam.vexo.drawing.TextShape", true, false, false, false},
        {u"com.qam.vexo.drawing.RectangleShape", true, false, false, false},
        {u"com.qam.vexo.drawing.EllipseShape", true, false, false, false},
        {u"com.qam.vexo.drawing.CustomShape", true, false, false, true},
        {u"com.qam.vexo.drawing.LineShape", true, false, false, false},
        {u"com.qam.vexo.drawing.ConnectorShape", true, false, false, false},
        {u"com.qam.vexo.drawing.GraphicObjectShape", true, false, false, false},
        {u"com.qam.vexo.drawing.GroupShape", false, true, false, false},
        {u"com.qam.vexo.drawing.MediaShape", false, false, false, false},
        {u"com.qam.vexo.drawing.TableShape", false, false, false, false},
        {u"com.qam.vexo.drawing.OLE2Shape", false, false, false, false},
        {u"com.qam.vexo.drawing.AppletShape", false, false, false, false},
        {u"com.qam.vexo.drawing.PluginShape", false, false, false, false},
        {u"com.qam.vexo.drawing.FrameShape", false, false, false, false},
        {u"com.qam.vexo.drawing.ControlShape", false, false, false, false},
        {u"com.qam.vexo.presentation.TitleTextShape", true, false, true, false},
        {u"com.qam.vexo.presentation.OutlinerShape", true, false, true, false},
        {u"com.qam.vexo.presentation.SubtitleShape", true, false, true, false},
        {u"com.qam.vexo.presentation.NotesShape", true, false, true, false},
        {u"com.qam.vexo.presentation.HeaderShape", true, false, true, false},
        {u"com.qam.vexo.presentation.FooterShape", true, false, true, false},
        {u"com.qam.vexo.presentation.SlideNumberShape", true, false, true, false},
        {u"com.qam.vexo.presentation.DateTimeShape", true, false, true, false},
        {u"com.qam.vexo.presentation.GraphicObjectShape", true, false, true, false},
        {u"com.qam.vexo.presentation.PageShape", false, false, true, false},
        {u"com.qam.vexo.presentation.HandoutShape", false, false, true, false},
        {u"com.qam.vexo.presentation.MediaShape", false, false, true, false},
        {u"com.qam.vexo.presentation.TableShape", false, false, true, false},
        {u"com.qam.vexo.presentation.ChartShape", false, false, true, false},
        {u"com.qam.vexo.presentation.OLE2Shape", false, false, true, false},
        {u"com.qam.vexo.presentation.CalcShape", false, false, true, false},
        {u"com.qam.vexo.presentation.OrgChartShape", false, false, true, false},
    };
    return kinds;
}

const ShapeKind* shapeKind(const OUString& type) {
    for (const ShapeKind& k : shapeKinds())
        if (type == k.type) return &k;
    return nullptr;
}

// ---- nodes ---------------------------------------------------------------------

ShapeNode::ShapeNode(DrawCore& c, const ShapeKind& k) : core(c), kind(k) {
    if (kind.text) {
        text = std::make_unique<textcore::TextNode>(*core.text, textcore::TextKind::Shape);
        text->owner = this;
        props[u"TextAutoGrowHeight"] = Any(true);
    }
    if (kind.custom)
        props[u"CustomShapeGeometry"] = Any(::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue>());
}

ShapeNode::~ShapeNode() {
    if (obj) obj->nodeGone();
    // The text goes before the shapes it might still name as its owner.
    text.reset();
    shapes.clear();
}

PageNode::PageNode(DrawCore& c, PageKind k) : core(c), kind(k) {}

PageNode::~PageNode() {
    if (obj) obj->nodeGone();
    shapes.clear();
    notes.reset();
}

DrawCore::DrawCore(bool isPresentation)
    : presentation(isPresentation), text(std::make_shared<textcore::Core>()) {}

DrawCore::~DrawCore() {
    slides.clear();
    masters.clear();
}

std::unique_ptr<ShapeNode> DrawCore::makeShape(const ShapeKind& kind) {
    return std::make_unique<ShapeNode>(*this, kind);
}

namespace {

// A new notes page of a presentation: a picture of its page and the notes placeholder.
std::unique_ptr<PageNode> makeNotes(DrawCore& core, PageNode* owner) {
    auto notes = std::make_unique<PageNode>(core, PageKind::Notes);
    notes->owner = owner;
    auto picture = core.makeShape(*shapeKind(u"com.qam.vexo.presentation.PageShape"));
    picture->position = {2000, 2500};
    picture->size = {17000, 9560};
    core.addShape(std::move(picture), notes.get(), nullptr);
    auto text = core.makeShape(*shapeKind(u"com.qam.vexo.presentation.NotesShape"));
    text->position = {2000, 13000};
    text->size = {17000, 13000};
    core.addShape(std::move(text), notes.get(), nullptr);
    return notes;
}

bool nameTaken(const DrawCore& core, const OUString& name) {
    return std::any_of(core.masters.begin(), core.masters.end(),
                       [&](const std::unique_ptr<PageNode>& m) { return m->name == name; });
}

} // namespace

PageNode* DrawCore::insertMaster(std::size_t index) {
    auto page = std::make_unique<PageNode>(*this, PageKind::Master);
    do {
        page->name = nextMaster == 1 ? OUString(u"Default") : u"Master " + OUString::number(nextMaster);
        ++nextMaster;
    } while (nameTaken(*this, page->name));
    if (presentation) page->notes = makeNotes(*this, page.get());
    PageNode* raw = page.get();
    masters.insert(masters.begin() + static_cast<std::ptrdiff_t>(index), std::move(page));
    return raw;
}

PageNode* DrawCore::insertSlide(std::size_t index, PageNode* master, sal_Int16 layout) {
    auto page = std::make_unique<PageNode>(*this, PageKind::Slide);
    page->master = master;
    page->layout = layout;
    if (presentation) page->notes = makeNotes(*this, page.get());
    PageNode* raw = page.get();
    slides.insert(slides.begin() + static_cast<std::ptrdiff_t>(index), std::move(page));
    return raw;
}

std::vector<std::unique_ptr<PageNode>>& DrawCore::listOf(const PageNode* page) {
    return page->kind == PageKind::Master ? masters : slides;
}

sal_Int32 DrawCore::indexOf(const PageNode* page) {
    auto& list = listOf(page);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == page) return static_cast<sal_Int32>(i);
    return -1;
}

void DrawCore::removePage(PageNode* page) {
    assert(page->kind != PageKind::Notes && "notes pages go with their page");
    auto& list = listOf(page);
    auto it = std::find_if(list.begin(), list.end(), [&](const std::unique_ptr<PageNode>& p) { return p.get() == page; });
    assert(it != list.end() && "the page is in its list");
    std::unique_ptr<PageNode> gone = std::move(*it);
    list.erase(it);
    if (page->kind == PageKind::Master)
        for (auto& s : slides)
            if (s->master == page) s->master = masters.empty() ? nullptr : masters.front().get();
}

void DrawCore::addShape(std::unique_ptr<ShapeNode> shape, PageNode* page, ShapeNode* group) {
    shape->page = group ? nullptr : page;
    shape->group = group;
    (group ? group->shapes : page->shapes).push_back(std::move(shape));
}

std::unique_ptr<ShapeNode> DrawCore::takeShape(ShapeNode* shape) {
    auto& list = shape->group ? shape->group->shapes : shape->page->shapes;
    auto it = std::find_if(list.begin(), list.end(), [&](const std::unique_ptr<ShapeNode>& s) { return s.get() == shape; });
    assert(it != list.end() && "the shape is in its list");
    std::unique_ptr<ShapeNode> taken = std::move(*it);
    list.erase(it);
    taken->page = nullptr;
    taken->group = nullptr;
    return taken;
}

// ---- copying -------------------------------------------------------------------

namespace {

// A copy of a shape text's paragraphs with their characters and properties.
void copyText(const textcore::TextNode& from, textcore::TextNode& to) {
    std::vector<std::unique_ptr<textcore::Block>> blocks;
    for (const auto& b : from.blocks) {
        if (b->isTable()) continue;
        const auto& p = static_cast<const textcore::ParaNode&>(*b);
        auto q = std::make_unique<textcore::ParaNode>(&to);
        for (const textcore::Unit& u : p.units)
            if (!u.object) q->units.push_back(textcore::Unit{u.ch, u.attrs, nullptr});
        q->style = p.style;
        q->props = p.props;
        q->numbering = p.numbering;
        q->numberingCleared = p.numberingCleared;
        blocks.push_back(std::move(q));
    }
    if (blocks.empty()) return;
    to.blocks.swap(blocks);  // the new text's own empty paragraph goes with `blocks`
}

std::unique_ptr<ShapeNode> copyShape(DrawCore& core, const ShapeNode& from) {
    auto to = core.makeShape(from.kind);
    to->position = from.position;
    to->size = from.size;
    to->props = from.props;
    if (from.text) copyText(*from.text, *to->text);
    for (const auto& child : from.shapes) core.addShape(copyShape(core, *child), nullptr, to.get());
    return to;
}

void copyShapes(DrawCore& core, const PageNode& from, PageNode& to) {
    to.shapes.clear();
    for (const auto& s : from.shapes) core.addShape(copyShape(core, *s), &to, nullptr);
}

} // namespace

PageNode* DrawCore::duplicateSlide(PageNode* slide) {
    const sal_Int32 index = indexOf(slide);
    assert(slide->kind == PageKind::Slide && index >= 0 && "a slide of this document");
    PageNode* copy = insertSlide(static_cast<std::size_t>(index) + 1, slide->master, slide->layout);
    copy->visible = slide->visible;
    copy->bookmark = slide->bookmark;
    copy->hasBackground = slide->hasBackground;
    copy->fillStyle = slide->fillStyle;
    copy->fillColor = slide->fillColor;
    copyShapes(*this, *slide, *copy);
    if (slide->notes && copy->notes) copyShapes(*this, *slide->notes, *copy->notes);
    return copy;
}

// ---- replacing -------------------------------------------------------------------

namespace {

// The code points of a string with the offsets (UTF-16 units) where each starts.
struct CodePoints {
    std::vector<UChar32> points;
    std::vector<sal_Int32> starts;  // one more than points: the end
};

CodePoints codePoints(const std::vector<sal_Unicode>& units, bool fold) {
    CodePoints cp;
    const auto n = static_cast<sal_Int32>(units.size());
    for (sal_Int32 i = 0; i < n;) {
        cp.starts.push_back(i);
        UChar32 c = units[i++];
        if (U16_IS_LEAD(c) && i < n && U16_IS_TRAIL(units[i])) c = U16_GET_SUPPLEMENTARY(c, units[i++]);
        cp.points.push_back(fold ? u_foldCase(c, U_FOLD_CASE_DEFAULT) : c);
    }
    cp.starts.push_back(n);
    return cp;
}

// Where the units of a paragraph hold characters; an inline object (none in a
// shape's text) breaks a match like a character no text contains.
std::vector<sal_Unicode> paragraphUnits(const textcore::ParaNode& p) {
    std::vector<sal_Unicode> units;
    for (const textcore::Unit& u : p.units) units.push_back(u.object ? sal_Unicode(0xFFFF) : u.ch);
    return units;
}

} // namespace

sal_Int32 replaceInText(textcore::Core& core, textcore::TextNode& text, const OUString& search,
                        const OUString& replacement, bool caseSensitive) {
    if (search.isEmpty()) return 0;
    std::vector<sal_Unicode> needleUnits(search.getStr(), search.getStr() + search.getLength());
    const CodePoints needle = codePoints(needleUnits, !caseSensitive);
    sal_Int32 count = 0;
    std::vector<textcore::ParaNode*> paragraphs;
    for (auto& b : text.blocks)
        if (!b->isTable()) paragraphs.push_back(static_cast<textcore::ParaNode*>(b.get()));
    for (textcore::ParaNode* p : paragraphs) {
        const CodePoints hay = codePoints(paragraphUnits(*p), !caseSensitive);
        std::vector<std::pair<sal_Int32, sal_Int32>> matches;  // unit offsets [start, end)
        const std::size_t m = needle.points.size();
        for (std::size_t i = 0; i + m <= hay.points.size();) {
            if (std::equal(needle.points.begin(), needle.points.end(), hay.points.begin() + static_cast<std::ptrdiff_t>(i))) {
                matches.emplace_back(hay.starts[i], hay.starts[i + m]);
                i += m;
            } else {
                ++i;
            }
        }
        // Right to left, so that the offsets of earlier matches stay as they were.
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            const textcore::Pos start{p, it->first};
            textcore::AttrsPtr attrs = p->units[static_cast<std::size_t>(it->first)].attrs;
            core.erase(start, textcore::Pos{p, it->second});
            textcore::Position end(core, core.insertString(start, replacement));
            // The replacement takes the character properties of the text it replaces.
            textcore::Pos cur = start;
            while (!(cur == end.get())) {
                if (cur.off < cur.para->length()) cur.para->units[static_cast<std::size_t>(cur.off)].attrs = attrs;
                if (!textcore::stepRight(cur)) break;
            }
            ++count;
        }
    }
    return count;
}

} // namespace officehost::draw
