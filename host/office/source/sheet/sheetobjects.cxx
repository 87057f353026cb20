// The interface objects of cells, blocks, sheets, cursors, rows and columns:
// views into the document's Core (sheetcore.hxx).
//
// A sheet is presented by one object at a time (identity holds across
// routes); cells, blocks, cursors, rows and columns are new objects on every
// call.  Each holds an Anchor, so it follows row and column deletion; once its
// sheet is removed (or its cells deleted) it raises lang::DisposedException.

#include "sheetobjects.hxx"

#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>
#include <cmath>

namespace officehost::sheet {

namespace css = ::com::qam::vexo;
using namespace ::officehost::sheetcore;
using css::lang::IllegalArgumentException;
using css::lang::IndexOutOfBoundsException;
using css::table::CellRangeAddress;
using css::table::XCell;
using css::table::XCellRange;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::XInterface;

void gone(const OUString& operation) {
    throw css::lang::DisposedException(operation + u": the object is no longer part of the document");
}

void checkAlive(const Core& core, const OUString& operation) {
    if (core.disposed) gone(operation);
}

bool resolveBlock(XInterface* object, const Core& core, Sheet*& sheet, Rect& rect) {
    auto* src = object ? dynamic_cast<BlockSource*>(object) : nullptr;
    if (!src || src->blockCore() != &core) return false;
    return src->blockNow(sheet, rect);
}

namespace {

OUString num(sal_Int64 n) { return OUString::number(static_cast<long long>(n)); }

[[noreturn]] void unknownProperty(const OUString& op, const OUString& name) {
    throw css::beans::UnknownPropertyException(op + u": unknown property " + name);
}

// The names, types and attributes of an object's properties.
class PropertySetInfoImpl : public cppu::WeakImplHelper<css::beans::XPropertySetInfo> {
public:
    explicit PropertySetInfoImpl(std::vector<css::beans::Property> props) : props_(std::move(props)) {}
    Sequence<css::beans::Property> getProperties() override { return Sequence<css::beans::Property>(props_); }
    css::beans::Property getPropertyByName(const OUString& name) override {
        for (auto& p : props_)
            if (p.Name == name) return p;
        unknownProperty(u"getPropertyByName", name);
    }
    bool hasPropertyByName(const OUString& name) override {
        return std::any_of(props_.begin(), props_.end(), [&](const auto& p) { return p.Name == name; });
    }

private:
    std::vector<css::beans::Property> props_;
};

Any checked(const OUString& op, const OUString& name, const Type& type, const Any& value) {
    if (!value.hasValue() || !value.isExtractableTo(type))
        throw IllegalArgumentException(op + u": property " + name + u" takes a value of type " + type.getTypeName() +
                                       u", got " + (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
    switch (type.getTypeClass()) {
    case ::zel::uno::TypeClass_LONG: return Any(value.get<sal_Int32>());
    case ::zel::uno::TypeClass_FLOAT: return Any(value.get<float>());
    default: return value;
    }
}

// Reads A1-style addresses for getCellRangeByName: "B2", "A1:C10", with "$"
// marks and in either case.  Sets outOfSheet for a well-formed address past
// the sheet's last row or column.
bool parseA1(const OUString& name, Rect& r, bool& outOfSheet) {
    auto corner = [&](std::size_t& i, sal_Int64& col, sal_Int64& row) {
        std::u16string_view s = name.view();
        if (i < s.size() && s[i] == u'$') ++i;
        std::size_t letters = 0;
        col = 0;
        while (i < s.size() && ((s[i] >= u'A' && s[i] <= u'Z') || (s[i] >= u'a' && s[i] <= u'z'))) {
            if (++letters > 4) return false;
            col = col * 26 + ((s[i] | 0x20) - u'a' + 1);
            ++i;
        }
        if (letters == 0) return false;
        if (i < s.size() && s[i] == u'$') ++i;
        std::size_t digits = 0;
        row = 0;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            if (++digits > 10) return false;
            row = row * 10 + (s[i] - u'0');
            ++i;
        }
        return digits > 0 && row >= 1;
    };
    std::size_t i = 0;
    sal_Int64 c0, r0, c1, r1;
    if (!corner(i, c0, r0)) return false;
    c1 = c0;
    r1 = r0;
    if (i < std::size_t(name.getLength()) && name[i] == u':') {
        ++i;
        if (!corner(i, c1, r1)) return false;
    }
    if (i != std::size_t(name.getLength())) return false;
    if (c0 > c1) std::swap(c0, c1);
    if (r0 > r1) std::swap(r0, r1);
    outOfSheet = c1 > kMaxColumns || r1 > kMaxRows;
    if (!outOfSheet) r = Rect{sal_Int32(c0 - 1), sal_Int32(r0 - 1), sal_Int32(c1 - 1), sal_Int32(r1 - 1)};
    return true;
}

// ---- cell properties over a block ------------------------------------------------

// XPropertySet of cells, blocks and sheets: a value set goes to every cell of
// the block; a value read is the top-left cell's.
template <class Base>
class BlockProperties : public Base, public BlockSource {
public:
    Core* blockCore() override { return core_.get(); }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        std::vector<css::beans::Property> props;
        for (const auto& d : cellProperties())
            props.push_back({d.name, -1, d.type, d.readOnly ? css::beans::PropertyAttribute::READONLY : sal_Int16(0)});
        extraProperties(props);
        return new PropertySetInfoImpl(std::move(props));
    }

    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        auto [sheet, r] = block(op);
        if (setExtra(op, name, value)) return;
        const CellPropDesc* d = findCellProperty(name);
        if (!d) unknownProperty(op, name);
        if (d->readOnly) throw css::beans::PropertyVetoException(op + u": property " + name + u" is read-only");
        Any v = checked(op, name, d->type, value);
        if (name == u"TableBorder2") {
            setBorders(*sheet, r, v.get<css::table::TableBorder2>());
            return;
        }
        core_->setAttribute(*sheet, r, name, v);
    }

    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        auto [sheet, r] = block(op);
        Any extra;
        if (getExtra(op, name, extra)) return extra;
        const CellPropDesc* d = findCellProperty(name);
        if (!d) unknownProperty(op, name);
        Core& core = *core_;
        if (name == u"FormulaResultType2") {
            const Cell* c = core.findCell(*sheet, r.c0, r.r0);
            if (!c) return Any(css::sheet::FormulaResult::VALUE);
            if (c->kind == CellKind::Text) return Any(css::sheet::FormulaResult::STRING);
            if (c->kind != CellKind::Formula) return Any(css::sheet::FormulaResult::VALUE);
            Value v = core.cellValue(*sheet, r.c0, r.r0);
            return Any(v.kind == Value::Error    ? css::sheet::FormulaResult::ERROR
                       : v.kind == Value::String ? css::sheet::FormulaResult::STRING
                                                 : css::sheet::FormulaResult::VALUE);
        }
        if (name == u"TableBorder2") {
            css::table::TableBorder2 b;
            core.attribute(*sheet, r.c0, r.r0, u"TopBorder") >>= b.TopLine;
            core.attribute(*sheet, r.c0, r.r1, u"BottomBorder") >>= b.BottomLine;
            core.attribute(*sheet, r.c0, r.r0, u"LeftBorder") >>= b.LeftLine;
            core.attribute(*sheet, r.c1, r.r0, u"RightBorder") >>= b.RightLine;
            b.IsTopLineValid = b.IsBottomLineValid = b.IsLeftLineValid = b.IsRightLineValid = true;
            return Any(b);
        }
        return core.attribute(*sheet, r.c0, r.r0, name);
    }

protected:
    explicit BlockProperties(CorePtr core) : core_(std::move(core)) {}

    // The block now, or DisposedException.
    std::pair<Sheet*, Rect> block(const OUString& op) {
        Sheet* s = nullptr;
        Rect r;
        if (!blockNow(s, r)) gone(op);
        return {s, r};
    }

    virtual void extraProperties(std::vector<css::beans::Property>&) {}
    virtual bool setExtra(const OUString&, const OUString&, const Any&) { return false; }
    virtual bool getExtra(const OUString&, const OUString&, Any&) { return false; }

    void setBorders(Sheet& s, const Rect& r, const css::table::TableBorder2& b) {
        Core& core = *core_;
        if (b.IsTopLineValid) core.setAttribute(s, {r.c0, r.r0, r.c1, r.r0}, u"TopBorder", Any(b.TopLine));
        if (b.IsBottomLineValid) core.setAttribute(s, {r.c0, r.r1, r.c1, r.r1}, u"BottomBorder", Any(b.BottomLine));
        if (b.IsLeftLineValid) core.setAttribute(s, {r.c0, r.r0, r.c0, r.r1}, u"LeftBorder", Any(b.LeftLine));
        if (b.IsRightLineValid) core.setAttribute(s, {r.c1, r.r0, r.c1, r.r1}, u"RightBorder", Any(b.RightLine));
        if (b.IsHorizontalLineValid && r.r1 > r.r0) {
            core.setAttribute(s, {r.c0, r.r0, r.c1, r.r1 - 1}, u"BottomBorder", Any(b.HorizontalLine));
            core.setAttribute(s, {r.c0, r.r0 + 1, r.c1, r.r1}, u"TopBorder", Any(b.HorizontalLine));
        }
        if (b.IsVerticalLineValid && r.c1 > r.c0) {
            core.setAttribute(s, {r.c0, r.r0, r.c1 - 1, r.r1}, u"RightBorder", Any(b.VerticalLine));
            core.setAttribute(s, {r.c0 + 1, r.r0, r.c1, r.r1}, u"LeftBorder", Any(b.VerticalLine));
        }
    }

    CorePtr core_;
};

// ---- cells --------------------------------------------------------------------

// A cell: its content (XCell), the text it shows (XText) and its formatting.
// Its text has no cursors and holds no text contents: only the whole string
// is read and written.
class CellImpl
    : public BlockProperties<cppu::WeakImplHelper<XCell, css::text::XText, css::beans::XPropertySet, css::lang::XServiceInfo>> {
public:
    CellImpl(const CorePtr& core, Sheet* sheet, sal_Int32 col, sal_Int32 row)
        : BlockProperties(core), anchor_(*core, sheet, Rect{col, row, col, row}) {}

    bool blockNow(Sheet*& s, Rect& r) override {
        if (!anchor_.sheet) return false;
        s = anchor_.sheet;
        r = anchor_.rect;
        return true;
    }

    OUString getFormula() override {
        auto [s, r] = block(u"getFormula");
        const Cell* c = core_->findCell(*s, r.c0, r.r0);
        if (!c) return OUString();
        switch (c->kind) {
        case CellKind::Empty: return OUString();
        case CellKind::Value: return numberText(c->value);
        case CellKind::Text: return c->text;
        case CellKind::Formula: return u"=" + renderFormula(c->formula->formula);
        }
        return OUString();
    }
    void setFormula(const OUString& formula) override {
        auto [s, r] = block(u"setFormula");
        core_->setInput(*s, r.c0, r.r0, formula);
    }
    double getValue() override {
        auto [s, r] = block(u"getValue");
        const Cell* c = core_->findCell(*s, r.c0, r.r0);
        if (!c) return 0;
        if (c->kind == CellKind::Value) return c->value;
        if (c->kind != CellKind::Formula) return 0;
        Value v = core_->cellValue(*s, r.c0, r.r0);
        return v.kind == Value::Number || v.kind == Value::Bool ? v.number : 0;
    }
    void setValue(double value) override {
        auto [s, r] = block(u"setValue");
        if (!std::isfinite(value))
            throw IllegalArgumentException(u"setValue: expected a finite number, got " + OUString::number(value));
        core_->setValue(*s, r.c0, r.r0, value);
    }
    sal_Int32 getType() override {
        auto [s, r] = block(u"getType");
        const Cell* c = core_->findCell(*s, r.c0, r.r0);
        if (!c) return css::table::CellContentType::EMPTY;
        switch (c->kind) {
        case CellKind::Empty: return css::table::CellContentType::EMPTY;
        case CellKind::Value: return css::table::CellContentType::VALUE;
        case CellKind::Text: return css::table::CellContentType::TEXT;
        case CellKind::Formula: return css::table::CellContentType::FORMULA;
        }
        return css::table::CellContentType::EMPTY;
    }

    // XTextRange and XSimpleText over the whole cell.
    Reference<css::text::XText> getText() override { return this; }
    Reference<css::text::XTextRange> getStart() override { noPositions(u"getStart"); }
    Reference<css::text::XTextRange> getEnd() override { noPositions(u"getEnd"); }
    OUString getString() override {
        auto [s, r] = block(u"getString");
        return core_->shownText(*s, r.c0, r.r0);
    }
    void setString(const OUString& string) override {
        auto [s, r] = block(u"setString");
        core_->setText(*s, r.c0, r.r0, string);
    }
    Reference<css::text::XTextCursor> createTextCursor() override { noPositions(u"createTextCursor"); }
    Reference<css::text::XTextCursor> createTextCursorByRange(const Reference<css::text::XTextRange>&) override {
        noPositions(u"createTextCursorByRange");
    }
    void insertString(const Reference<css::text::XTextRange>& range, const OUString& string, bool absorb) override {
        auto [s, r] = block(u"insertString");
        if (!Reference<XInterface>::sameObject(range.get(), static_cast<XCell*>(this)))
            throw IllegalArgumentException(u"insertString: the range is not this cell's text");
        const Cell* c = core_->findCell(*s, r.c0, r.r0);
        OUString before = absorb || !c || c->kind != CellKind::Text ? OUString() : c->text;
        core_->setText(*s, r.c0, r.r0, before + string);
    }
    void insertControlCharacter(const Reference<css::text::XTextRange>&, sal_Int16, bool) override {
        noPositions(u"insertControlCharacter");
    }
    void insertTextContent(const Reference<css::text::XTextRange>&, const Reference<css::text::XTextContent>&,
                           bool) override {
        noPositions(u"insertTextContent");
    }
    void removeTextContent(const Reference<css::text::XTextContent>&) override { noPositions(u"removeTextContent"); }

    OUString getImplementationName() override { return u"officehost.sheet.Cell"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.SheetCell"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.sheet.SheetCell")}; }

private:
    [[noreturn]] static void noPositions(const OUString& op) {
        throw RuntimeException(op + u": the text of a cell has no positions or contents in this model");
    }
    Anchor anchor_;
};

// ---- rows and columns -----------------------------------------------------------

// One row or column: its size, whether it fits its content, and whether it shows.
class LineImpl : public cppu::WeakImplHelper<css::beans::XPropertySet, css::lang::XServiceInfo> {
public:
    LineImpl(const CorePtr& core, Sheet* sheet, bool rows, sal_Int32 index)
        : core_(core), rows_(rows),
          anchor_(*core, sheet, rows ? Rect{0, index, kMaxColumns - 1, index} : Rect{index, 0, index, kMaxRows - 1}) {}

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        std::vector<css::beans::Property> props{{sizeName(), -1, cppu::UnoType<sal_Int32>::get(), 0},
                                                {optimalName(), -1, cppu::UnoType<bool>::get(), 0},
                                                {u"IsVisible", -1, cppu::UnoType<bool>::get(), 0}};
        return new PropertySetInfoImpl(std::move(props));
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        Sheet* s = sheet(op);
        LineInfo info = core_->line(*s, rows_, index());
        if (name == sizeName()) {
            sal_Int32 size = checked(op, name, cppu::UnoType<sal_Int32>::get(), value).get<sal_Int32>();
            if (size < 0) throw IllegalArgumentException(op + u": " + name + u" must not be negative, got " + num(size));
            info.size = size;
            info.optimal = false;
        } else if (name == optimalName()) {
            bool optimal = checked(op, name, cppu::UnoType<bool>::get(), value).get<bool>();
            if (!optimal && info.optimal) info.size = core_->optimalSize(*s, rows_, index());
            info.optimal = optimal;
        } else if (name == u"IsVisible") {
            info.hidden = !checked(op, name, cppu::UnoType<bool>::get(), value).get<bool>();
        } else {
            unknownProperty(op, name);
        }
        core_->setLine(*s, rows_, index(), info);
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        Sheet* s = sheet(op);
        LineInfo info = core_->line(*s, rows_, index());
        if (name == sizeName()) {
            if (info.optimal) return Any(core_->optimalSize(*s, rows_, index()));
            return Any(info.size >= 0 ? info.size : rows_ ? kDefaultRowHeight : kDefaultColumnWidth);
        }
        if (name == optimalName()) return Any(info.optimal);
        if (name == u"IsVisible") return Any(!info.hidden);
        unknownProperty(op, name);
    }

    OUString getImplementationName() override { return OUString(std::u16string_view(rows_ ? u"officehost.sheet.Row" : u"officehost.sheet.Column")); }
    bool supportsService(const OUString& n) override { return n == serviceName(); }
    Sequence<OUString> getSupportedServiceNames() override { return {serviceName()}; }

private:
    OUString sizeName() const { return OUString(std::u16string_view(rows_ ? u"Height" : u"Width")); }
    OUString optimalName() const { return OUString(std::u16string_view(rows_ ? u"OptimalHeight" : u"OptimalWidth")); }
    OUString serviceName() const { return OUString(std::u16string_view(rows_ ? u"com.qam.vexo.table.TableRow" : u"com.qam.vexo.table.TableColumn")); }
    Sheet* sheet(const OUString& op) {
        checkAlive(*core_, op);
        if (!anchor_.sheet) gone(op);
        return anchor_.sheet;
    }
    sal_Int32 index() const { return rows_ ? anchor_.rect.r0 : anchor_.rect.c0; }

    CorePtr core_;
    bool rows_;
    Anchor anchor_;
};

// The rows (or columns) of a block: indices relative to the block; removing
// and inserting act on whole rows (columns) of the sheet.
template <class Ifc>
class LinesImpl : public cppu::WeakImplHelper<Ifc> {
public:
    LinesImpl(const CorePtr& core, Sheet* sheet, const Rect& r, bool rows)
        : core_(core), rows_(rows), anchor_(*core, sheet, r) {}

    sal_Int32 getCount() override {
        auto [s, r] = span(u"getCount");
        return rows_ ? r.r1 - r.r0 + 1 : r.c1 - r.c0 + 1;
    }
    Any getByIndex(sal_Int32 index) override {
        auto [s, r] = span(u"getByIndex");
        sal_Int32 count = rows_ ? r.r1 - r.r0 + 1 : r.c1 - r.c0 + 1;
        if (index < 0 || index >= count)
            throw IndexOutOfBoundsException(u"getByIndex: there is no " + what() + u" " + num(index) + u" in a range of " +
                                            num(count) + u" " + what() + u"s");
        return Any(Reference<css::beans::XPropertySet>(new LineImpl(core_, s, rows_, (rows_ ? r.r0 : r.c0) + index)));
    }
    Type getElementType() override { return cppu::UnoType<css::beans::XPropertySet>::get(); }
    bool hasElements() override { return true; }

    void insertByIndex(sal_Int32 index, sal_Int32 count) override {
        static const OUString op(u"insertByIndex");
        auto [s, r] = span(op);
        sal_Int32 n = rows_ ? r.r1 - r.r0 + 1 : r.c1 - r.c0 + 1;
        if (count < 1) throw IllegalArgumentException(op + u": expected a count of at least 1, got " + num(count));
        if (index < 0 || index > n)
            throw IndexOutOfBoundsException(op + u": expected an index from 0 to " + num(n) + u", got " + num(index));
        const sal_Int32 limit = rows_ ? kMaxRows : kMaxColumns;
        if (count > limit) throw IndexOutOfBoundsException(op + u": " + num(count) + u" " + what() + u"s do not fit the sheet");
        Rect tail = rows_ ? Rect{0, limit - count, kMaxColumns - 1, limit - 1}
                          : Rect{limit - count, 0, limit - 1, kMaxRows - 1};
        bool pushedOff = false;
        core_->forEachCellIn(*s, tail, [&](sal_uInt64, const Cell&) { pushedOff = true; });
        if (pushedOff)
            throw IllegalArgumentException(op + u": cells with content would be pushed off the end of the sheet");
        core_->shiftLines(*s, rows_, (rows_ ? r.r0 : r.c0) + index, -count);
    }
    void removeByIndex(sal_Int32 index, sal_Int32 count) override {
        static const OUString op(u"removeByIndex");
        auto [s, r] = span(op);
        sal_Int32 n = rows_ ? r.r1 - r.r0 + 1 : r.c1 - r.c0 + 1;
        if (count < 1) throw IllegalArgumentException(op + u": expected a count of at least 1, got " + num(count));
        if (index < 0 || sal_Int64(index) + count > n)
            throw IndexOutOfBoundsException(op + u": " + what() + u"s " + num(index) + u" to " +
                                            num(sal_Int64(index) + count - 1) + u" do not all exist in a range of " +
                                            num(n) + u" " + what() + u"s");
        core_->shiftLines(*s, rows_, (rows_ ? r.r0 : r.c0) + index, count);
    }

private:
    OUString what() const { return OUString(std::u16string_view(rows_ ? u"row" : u"column")); }
    std::pair<Sheet*, Rect> span(const OUString& op) {
        checkAlive(*core_, op);
        if (!anchor_.sheet) gone(op);
        return {anchor_.sheet, anchor_.rect};
    }
    CorePtr core_;
    bool rows_;
    Anchor anchor_;
};

// ---- blocks, sheets and cursors ---------------------------------------------------

// A block of cells on a sheet.  Main is the block's own interface
// (table::XCellRange, sheet::XSpreadsheet or sheet::XSheetCellCursor).
template <class Main, class... Ifc>
class RangeBase
    : public BlockProperties<cppu::WeakImplHelper<Main, css::sheet::XCellRangeAddressable, css::table::XColumnRowRange,
                                                  css::sheet::XSheetOperation, css::beans::XPropertySet,
                                                  css::lang::XServiceInfo, Ifc...>> {
public:
    bool blockNow(Sheet*& s, Rect& r) override {
        if (this->core_->disposed || !anchor_.sheet) return false;
        s = anchor_.sheet;
        r = anchor_.rect;
        return true;
    }

    Reference<XCell> getCellByPosition(sal_Int32 column, sal_Int32 row) override {
        auto [s, r] = this->block(u"getCellByPosition");
        if (column < 0 || row < 0 || column > r.c1 - r.c0 || row > r.r1 - r.r0)
            throw IndexOutOfBoundsException(u"getCellByPosition: column " + num(column) + u", row " + num(row) +
                                            u" lies outside the range of " + size(r));
        return new CellImpl(this->core_, s, r.c0 + column, r.r0 + row);
    }
    Reference<XCellRange> getCellRangeByPosition(sal_Int32 left, sal_Int32 top, sal_Int32 right,
                                                 sal_Int32 bottom) override {
        auto [s, r] = this->block(u"getCellRangeByPosition");
        if (left < 0 || top < 0 || right < left || bottom < top || right > r.c1 - r.c0 || bottom > r.r1 - r.r0)
            throw IndexOutOfBoundsException(u"getCellRangeByPosition: columns " + num(left) + u" to " + num(right) +
                                            u" and rows " + num(top) + u" to " + num(bottom) +
                                            u" do not lie within the range of " + size(r));
        return rangeObject(this->core_, s, Rect{r.c0 + left, r.r0 + top, r.c0 + right, r.r0 + bottom});
    }
    Reference<XCellRange> getCellRangeByName(const OUString& name) override {
        static const OUString op(u"getCellRangeByName");
        auto [s, r] = this->block(op);
        Rect target;
        bool outOfSheet = false;
        if (!parseA1(name, target, outOfSheet))
            throw IllegalArgumentException(op + u": expected a cell or block address such as B2 or A1:C10, got " + name);
        if (outOfSheet || !r.contains(target))
            throw IndexOutOfBoundsException(op + u": " + name + u" lies outside the range of " + size(r));
        return rangeObject(this->core_, s, target);
    }

    CellRangeAddress getRangeAddress() override {
        auto [s, r] = this->block(u"getRangeAddress");
        return CellRangeAddress{static_cast<sal_Int16>(s->index), r.c0, r.r0, r.c1, r.r1};
    }

    Reference<css::table::XTableColumns> getColumns() override {
        auto [s, r] = this->block(u"getColumns");
        return new LinesImpl<css::table::XTableColumns>(this->core_, s, r, false);
    }
    Reference<css::table::XTableRows> getRows() override {
        auto [s, r] = this->block(u"getRows");
        return new LinesImpl<css::table::XTableRows>(this->core_, s, r, true);
    }

    void clearContents(sal_Int32 flags) override {
        auto [s, r] = this->block(u"clearContents");
        this->core_->clearContents(*s, r, flags);
    }

protected:
    RangeBase(const CorePtr& core, Sheet* sheet, const Rect& r)
        : BlockProperties<cppu::WeakImplHelper<Main, css::sheet::XCellRangeAddressable, css::table::XColumnRowRange,
                                               css::sheet::XSheetOperation, css::beans::XPropertySet,
                                               css::lang::XServiceInfo, Ifc...>>(core),
          anchor_(*core, sheet, r) {}

    static OUString size(const Rect& r) { return num(r.c1 - r.c0 + 1) + u" columns and " + num(r.r1 - r.r0 + 1) + u" rows"; }

    Anchor anchor_;
};

class CellRangeImpl : public RangeBase<XCellRange> {
public:
    CellRangeImpl(const CorePtr& core, Sheet* sheet, const Rect& r) : RangeBase(core, sheet, r) {}
    OUString getImplementationName() override { return u"officehost.sheet.CellRange"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.SheetCellRange"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.sheet.SheetCellRange")}; }
};

// A cell cursor: a block that moves.
class CursorImpl : public RangeBase<css::sheet::XSheetCellCursor, css::sheet::XUsedAreaCursor> {
public:
    CursorImpl(const CorePtr& core, Sheet* sheet, const Rect& r) : RangeBase(core, sheet, r) {}

    void collapseToSize(sal_Int32 columns, sal_Int32 rows) override {
        auto [s, r] = block(u"collapseToSize");
        if (columns < 1 || rows < 1 || sal_Int64(r.c0) + columns > kMaxColumns || sal_Int64(r.r0) + rows > kMaxRows)
            throw IllegalArgumentException(u"collapseToSize: " + num(columns) + u" columns and " + num(rows) +
                                           u" rows do not fit the sheet from the cursor's start");
        anchor_.rect = Rect{r.c0, r.r0, r.c0 + columns - 1, r.r0 + rows - 1};
    }
    void gotoStartOfUsedArea(bool expand) override {
        auto [s, r] = block(u"gotoStartOfUsedArea");
        Rect used = core_->usedArea(*s);
        anchor_.rect = expand ? Rect{std::min(used.c0, r.c1), std::min(used.r0, r.r1), std::max(used.c0, r.c1),
                                     std::max(used.r0, r.r1)}
                              : Rect{used.c0, used.r0, used.c0, used.r0};
    }
    void gotoEndOfUsedArea(bool expand) override {
        auto [s, r] = block(u"gotoEndOfUsedArea");
        Rect used = core_->usedArea(*s);
        anchor_.rect = expand ? Rect{std::min(used.c1, r.c0), std::min(used.r1, r.r0), std::max(used.c1, r.c0),
                                     std::max(used.r1, r.r0)}
                              : Rect{used.c1, used.r1, used.c1, used.r1};
    }

    OUString getImplementationName() override { return u"officehost.sheet.CellCursor"; }
    bool supportsService(const OUString& n) override {
        return n == u"com.qam.vexo.sheet.SheetCellCursor" || n == u"com.qam.vexo.sheet.SheetCellRange";
    }
    Sequence<OUString> getSupportedServiceNames() override {
        return {OUString(u"com.qam.vexo.sheet.SheetCellCursor"), OUString(u"com.qam.vexo.sheet.SheetCellRange")};
    }
};

// A sheet: the block of all its cells, its name and its local names.
class SheetImpl : public RangeBase<css::sheet::XSpreadsheet, css::container::XNamed, css::sheet::XDataPilotTablesSupplier,
                                   css::table::XTableChartsSupplier>,
                  public Linked {
public:
    SheetImpl(const CorePtr& core, Sheet* sheet)
        : RangeBase(core, sheet, Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}), sheet_(sheet) {
        anchor_.wholeSheet = true;
        sheet->obj = this;
    }
    ~SheetImpl() override {
        if (sheet_) sheet_->obj = nullptr;
    }
    void nodeGone() override { sheet_ = nullptr; }

    Reference<css::sheet::XSheetCellCursor> createCursor() override {
        auto [s, r] = block(u"createCursor");
        return new CursorImpl(core_, s, r);
    }
    Reference<css::sheet::XSheetCellCursor> createCursorByRange(const Reference<css::sheet::XSheetCellRange>& range) override {
        auto [s, r] = block(u"createCursorByRange");
        Sheet* other = nullptr;
        Rect block;
        if (!resolveBlock(range.get(), *core_, other, block) || other != s)
            throw IllegalArgumentException(u"createCursorByRange: the range is not a range of this sheet");
        return new CursorImpl(core_, s, block);
    }

    OUString getName() override {
        block(u"getName");
        return sheet_->name;
    }
    void setName(const OUString& name) override {
        block(u"setName");
        core_->renameSheet(sheet_, name, u"setName");
    }

    Reference<css::sheet::XDataPilotTables> getDataPilotTables() override {
        block(u"getDataPilotTables");
        return dataPilotTablesObject(core_, sheet_);
    }
    Reference<css::table::XTableCharts> getCharts() override {
        block(u"getCharts");
        return tableChartsObject(core_, sheet_);
    }

    OUString getImplementationName() override { return u"officehost.sheet.Spreadsheet"; }
    bool supportsService(const OUString& n) override {
        return n == u"com.qam.vexo.sheet.Spreadsheet" || n == u"com.qam.vexo.sheet.SheetCellRange";
    }
    Sequence<OUString> getSupportedServiceNames() override {
        return {OUString(u"com.qam.vexo.sheet.Spreadsheet"), OUString(u"com.qam.vexo.sheet.SheetCellRange")};
    }

protected:
    void extraProperties(std::vector<css::beans::Property>& props) override {
        props.push_back({u"NamedRanges", -1, cppu::UnoType<css::sheet::XNamedRanges>::get(),
                         css::beans::PropertyAttribute::READONLY});
    }
    bool setExtra(const OUString& op, const OUString& name, const Any&) override {
        if (name != u"NamedRanges") return false;
        throw css::beans::PropertyVetoException(op + u": property NamedRanges is read-only");
    }
    bool getExtra(const OUString&, const OUString& name, Any& out) override {
        if (name != u"NamedRanges") return false;
        out = Any(namesObject(core_, sheet_));
        return true;
    }

private:
    Sheet* sheet_;
};

} // namespace

Reference<css::sheet::XSpreadsheet> sheetObject(const CorePtr& core, Sheet* sheet) {
    if (sheet->obj) return static_cast<SheetImpl*>(sheet->obj);
    return new SheetImpl(core, sheet);
}

Reference<XCellRange> rangeObject(const CorePtr& core, Sheet* sheet, const Rect& rect) {
    return new CellRangeImpl(core, sheet, rect);
}

} // namespace officehost::sheet
