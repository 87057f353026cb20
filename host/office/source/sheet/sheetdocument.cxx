// The interface objects of a spreadsheet document as a whole: the model, its
// sheet container, names, number formats, sets of blocks and the view.
//
// The model keeps its controllers without owning them (the frame that shows a
// controller disconnects it).  dispose() takes the content down: every object
// of the document raises lang::DisposedException afterwards.  It has no
// storage, undo or printing; a location is only what a loader handed over.

#include "sheetdocument.hxx"
#include "sheetobjects.hxx"

#include <officehost/sheetcounters.hxx>

#include <com/qam/vexo/frame/title.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/util/numberformats.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>
#include <rtl/uri.hxx>

#include <algorithm>
#include <atomic>

namespace officehost::sheet {
namespace {

namespace css = ::com::qam::vexo;
using namespace ::officehost::sheetcore;
using css::lang::IllegalArgumentException;
using css::lang::IndexOutOfBoundsException;
using css::table::CellRangeAddress;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::XInterface;

OUString num(sal_Int64 n) { return OUString::number(static_cast<long long>(n)); }

Sequence<OUString> nameList(std::initializer_list<const char16_t*> list) {
    std::vector<OUString> v;
    for (const char16_t* s : list) v.emplace_back(std::u16string_view(s));
    return Sequence<OUString>(std::move(v));
}

// ---- sheets -----------------------------------------------------------------------

// The document's sheets in tab order, by name (without regard to case) and by index.
class SpreadsheetsImpl
    : public cppu::WeakImplHelper<css::sheet::XSpreadsheets, css::container::XIndexAccess, css::lang::XServiceInfo> {
public:
    explicit SpreadsheetsImpl(CorePtr core) : core_(std::move(core)) {}

    void insertNewByName(const OUString& name, sal_Int16 position) override {
        static const OUString op(u"insertNewByName");
        checkAlive(*core_, op);
        Core::checkSheetName(name, op);
        if (core_->findSheet(name))
            throw css::container::ElementExistException(op + u": a sheet named " + name + u" already exists");
        if (position < 0)
            throw IndexOutOfBoundsException(op + u": expected a position of at least 0, got " + num(position));
        if (core_->sheets.size() >= 32768)
            throw IllegalArgumentException(op + u": a document holds at most 32768 sheets");
        core_->insertSheet(name, position);
    }
    void removeByName(const OUString& name) override {
        static const OUString op(u"removeByName");
        checkAlive(*core_, op);
        Sheet* s = core_->findSheet(name);
        if (!s) throw css::container::NoSuchElementException(op + u": there is no sheet named " + name);
        if (core_->sheets.size() == 1) throw IllegalArgumentException(op + u": the last sheet cannot be removed");
        core_->removeSheet(s);
    }

    Any getByName(const OUString& name) override {
        checkAlive(*core_, u"getByName");
        Sheet* s = core_->findSheet(name);
        if (!s) throw css::container::NoSuchElementException(u"getByName: there is no sheet named " + name);
        return Any(sheetObject(core_, s));
    }
    Sequence<OUString> getElementNames() override {
        checkAlive(*core_, u"getElementNames");
        std::vector<OUString> names;
        for (auto& s : core_->sheets) names.push_back(s->name);
        return Sequence<OUString>(std::move(names));
    }
    bool hasByName(const OUString& name) override {
        checkAlive(*core_, u"hasByName");
        return core_->findSheet(name) != nullptr;
    }
    sal_Int32 getCount() override {
        checkAlive(*core_, u"getCount");
        return static_cast<sal_Int32>(core_->sheets.size());
    }
    Any getByIndex(sal_Int32 index) override {
        checkAlive(*core_, u"getByIndex");
        if (index < 0 || index >= getCount()) throw IndexOutOfBoundsException(u"getByIndex: there is no sheet " + num(index));
        return Any(sheetObject(core_, core_->sheets[index].get()));
    }
    Type getElementType() override { return cppu::UnoType<css::sheet::XSpreadsheet>::get(); }
    bool hasElements() override { return !core_->sheets.empty(); }

    OUString getImplementationName() override { return u"officehost.sheet.Spreadsheets"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.Spreadsheets"; }
    Sequence<OUString> getSupportedServiceNames() override { return nameList({u"com.qam.vexo.sheet.Spreadsheets"}); }

private:
    CorePtr core_;
};

// ---- names --------------------------------------------------------------------------

class NamedRangeImpl
    : public cppu::WeakImplHelper<css::sheet::XNamedRange, css::sheet::XCellRangeReferrer, css::lang::XServiceInfo>,
      public Linked {
public:
    NamedRangeImpl(CorePtr core, NameDef* def) : core_(std::move(core)), def_(def) { def_->obj = this; }
    ~NamedRangeImpl() override {
        if (def_) def_->obj = nullptr;
    }
    void nodeGone() override { def_ = nullptr; }

    OUString getName() override { return def(u"getName").name; }
    void setName(const OUString& name) override {
        NameDef& d = def(u"setName");
        NameMap& map = d.scope ? d.scope->names : core_->names;
        if (name.equalsIgnoreAsciiCase(d.name)) {
            d.name = name;
            return;
        }
        // Added under the new name first, so an invalid or taken name changes nothing.
        core_->addName(map, d.scope, name, renderFormula(d.formula), d.positionSheet, d.col, d.row, d.type, u"setName");
        NameDef* added = core_->findName(map, name);
        d.obj = nullptr;
        core_->removeName(map, d.name, u"setName");
        def_ = added;
        def_->obj = this;
    }
    OUString getContent() override { return renderFormula(def(u"getContent").formula); }
    void setContent(const OUString& content) override {
        NameDef& d = def(u"setContent");
        d.formula = core_->parseIn(content, d.positionSheet);
        core_->rebuildDependencies();
    }
    css::table::CellAddress getReferencePosition() override {
        NameDef& d = def(u"getReferencePosition");
        return {static_cast<sal_Int16>(d.positionSheet ? d.positionSheet->index : 0), d.col, d.row};
    }
    sal_Int32 getType() override { return def(u"getType").type; }

    Reference<css::table::XCellRange> getReferredCells() override {
        NameDef& d = def(u"getReferredCells");
        const Node* root = d.formula.root.get();
        if (!root || root->kind != NodeKind::Ref || root->deleted || !root->sheet) return {};
        return rangeObject(core_, root->sheet, root->rect);
    }

    OUString getImplementationName() override { return u"officehost.sheet.NamedRange"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.NamedRange"; }
    Sequence<OUString> getSupportedServiceNames() override { return nameList({u"com.qam.vexo.sheet.NamedRange"}); }

private:
    NameDef& def(const OUString& op) {
        checkAlive(*core_, op);
        if (!def_) gone(op);
        return *def_;
    }
    CorePtr core_;
    NameDef* def_;
};

// The document's names (no scope) or a sheet's local names.
class NamedRangesImpl : public cppu::WeakImplHelper<css::sheet::XNamedRanges, css::lang::XServiceInfo> {
public:
    NamedRangesImpl(const CorePtr& core, Sheet* scope)
        : core_(core), scope_(scope), anchor_(*core, scope, Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}) {
        anchor_.wholeSheet = true;
    }

    void addNewByName(const OUString& name, const OUString& content, const css::table::CellAddress& position,
                      sal_Int32 type) override {
        static const OUString op(u"addNewByName");
        NameMap& m = map(op);
        if (position.Sheet < 0 || position.Sheet >= static_cast<sal_Int32>(core_->sheets.size()))
            throw IndexOutOfBoundsException(op + u": there is no sheet " + num(position.Sheet));
        if (position.Column < 0 || position.Column >= kMaxColumns || position.Row < 0 || position.Row >= kMaxRows)
            throw IndexOutOfBoundsException(op + u": the position lies outside the sheet");
        core_->addName(m, scope_, name, content, core_->sheets[position.Sheet].get(), position.Column, position.Row,
                       type, op);
    }
    void removeByName(const OUString& name) override { core_->removeName(map(u"removeByName"), name, u"removeByName"); }

    Any getByName(const OUString& name) override {
        NameMap& m = map(u"getByName");
        NameDef* d = core_->findName(m, name);
        if (!d) throw css::container::NoSuchElementException(u"getByName: there is no name " + name);
        if (d->obj) return Any(Reference<css::sheet::XNamedRange>(static_cast<NamedRangeImpl*>(d->obj)));
        return Any(Reference<css::sheet::XNamedRange>(new NamedRangeImpl(core_, d)));
    }
    Sequence<OUString> getElementNames() override {
        std::vector<OUString> names;
        for (auto& [k, d] : map(u"getElementNames")) names.push_back(d->name);
        return Sequence<OUString>(std::move(names));
    }
    bool hasByName(const OUString& name) override { return core_->findName(map(u"hasByName"), name) != nullptr; }
    Type getElementType() override { return cppu::UnoType<css::sheet::XNamedRange>::get(); }
    bool hasElements() override { return !map(u"hasElements").empty(); }

    OUString getImplementationName() override { return u"officehost.sheet.NamedRanges"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.NamedRanges"; }
    Sequence<OUString> getSupportedServiceNames() override { return nameList({u"com.qam.vexo.sheet.NamedRanges"}); }

private:
    NameMap& map(const OUString& op) {
        checkAlive(*core_, op);
        if (!scope_) return core_->names;
        if (!anchor_.sheet) gone(op);
        return scope_->names;
    }
    CorePtr core_;
    Sheet* scope_;
    Anchor anchor_;  // tells when the scope sheet goes
};

// ---- number formats ---------------------------------------------------------------------

class FormatPropertiesImpl : public cppu::WeakImplHelper<css::beans::XPropertySet> {
public:
    explicit FormatPropertiesImpl(OUString code) : code_(std::move(code)) {}
    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const Any&) override {
        if (name == u"FormatString")
            throw css::beans::PropertyVetoException(u"setPropertyValue: property FormatString is read-only");
        throw css::beans::UnknownPropertyException(u"setPropertyValue: unknown property " + name);
    }
    Any getPropertyValue(const OUString& name) override {
        if (name == u"FormatString") return Any(code_);
        throw css::beans::UnknownPropertyException(u"getPropertyValue: unknown property " + name);
    }

private:
    OUString code_;
};

// The document's format codes.  Locales are accepted and not used: the
// document has one table of codes.
class NumberFormatsImpl : public cppu::WeakImplHelper<css::util::XNumberFormats> {
public:
    explicit NumberFormatsImpl(CorePtr core) : core_(std::move(core)) {}
    Reference<css::beans::XPropertySet> getByKey(sal_Int32 key) override {
        checkAlive(*core_, u"getByKey");
        const Core::FormatEntry* e = core_->format(key);
        if (!e) throw IllegalArgumentException(u"getByKey: there is no number format with the key " + num(key));
        return new FormatPropertiesImpl(e->code);
    }
    sal_Int32 queryKey(const OUString& code, const css::lang::Locale&, bool scan) override {
        checkAlive(*core_, u"queryKey");
        if (scan) {
            NumberFormatCode parsed;
            OUString why;
            if (!parseNumberFormat(code, parsed, &why))
                throw css::util::MalformedNumberFormatException(u"queryKey: malformed format code " + code + u": " + why);
        }
        return core_->queryFormat(code);
    }
    sal_Int32 addNew(const OUString& code, const css::lang::Locale&) override {
        checkAlive(*core_, u"addNew");
        return core_->addFormat(code, u"addNew");
    }

private:
    CorePtr core_;
};

// ---- several blocks ---------------------------------------------------------------------

// "com.qam.vexo.sheet.SheetCellRanges": blocks of cells, possibly on several sheets.
class SheetCellRangesImpl : public cppu::WeakImplHelper<css::sheet::XSheetCellRangeContainer, css::lang::XServiceInfo> {
public:
    explicit SheetCellRangesImpl(CorePtr core) : core_(std::move(core)) {}

    void addRangeAddress(const CellRangeAddress& a, bool) override {
        static const OUString op(u"addRangeAddress");
        checkAlive(*core_, op);
        if (a.Sheet < 0 || a.Sheet >= static_cast<sal_Int32>(core_->sheets.size()))
            throw IndexOutOfBoundsException(op + u": there is no sheet " + num(a.Sheet));
        if (a.StartColumn < 0 || a.StartRow < 0 || a.EndColumn < a.StartColumn || a.EndRow < a.StartRow ||
            a.EndColumn >= kMaxColumns || a.EndRow >= kMaxRows)
            throw IndexOutOfBoundsException(op + u": the block does not lie within the sheet");
        add(core_->sheets[a.Sheet].get(), Rect{a.StartColumn, a.StartRow, a.EndColumn, a.EndRow});
    }
    Sequence<CellRangeAddress> getRangeAddresses() override {
        std::vector<CellRangeAddress> out;
        for (auto& b : live()) out.push_back({static_cast<sal_Int16>(b->sheet->index), b->rect.c0, b->rect.r0, b->rect.c1, b->rect.r1});
        return Sequence<CellRangeAddress>(std::move(out));
    }
    sal_Int32 getCount() override { return static_cast<sal_Int32>(live().size()); }
    Any getByIndex(sal_Int32 index) override {
        auto blocks = live();
        if (index < 0 || index >= static_cast<sal_Int32>(blocks.size()))
            throw IndexOutOfBoundsException(u"getByIndex: there is no block " + num(index));
        return Any(rangeObject(core_, blocks[index]->sheet, blocks[index]->rect));
    }
    Type getElementType() override { return cppu::UnoType<css::table::XCellRange>::get(); }
    bool hasElements() override { return getCount() > 0; }

    OUString getImplementationName() override { return u"officehost.sheet.SheetCellRanges"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.SheetCellRanges"; }
    Sequence<OUString> getSupportedServiceNames() override { return nameList({u"com.qam.vexo.sheet.SheetCellRanges"}); }

    void add(Sheet* s, const Rect& r) { blocks_.push_back(std::make_unique<Anchor>(*core_, s, r)); }
    // The blocks whose cells still exist.
    std::vector<Anchor*> live() {
        std::vector<Anchor*> out;
        for (auto& b : blocks_)
            if (b->sheet) out.push_back(b.get());
        return out;
    }
    const CorePtr& core() const { return core_; }

private:
    CorePtr core_;
    std::vector<std::unique_ptr<Anchor>> blocks_;
};

// ---- the document -----------------------------------------------------------------------

std::atomic<sal_Int32> untitledCounter{0};

class SpreadsheetDocumentImpl
    : public cppu::WeakImplHelper<css::sheet::XSpreadsheetDocument, css::frame::XModel, css::sheet::XCalculatable,
                                  css::frame::XTitle, css::util::XNumberFormatsSupplier, css::beans::XPropertySet,
                                  css::lang::XMultiServiceFactory, css::lang::XServiceInfo> {
public:
    explicit SpreadsheetDocumentImpl(const OUString& location) : core_(std::make_shared<Core>()) {
        core_->insertSheet(u"Sheet1", 0);
        core_->location = location;
        if (location.isEmpty()) untitled_ = u"Untitled " + num(++untitledCounter);
    }
    ~SpreadsheetDocumentImpl() override { core_->dispose(); }

    Reference<css::sheet::XSpreadsheets> getSheets() override {
        checkAlive(*core_, u"getSheets");
        return new SpreadsheetsImpl(core_);
    }

    OUString getURL() override { return core_->location; }
    Sequence<css::beans::PropertyValue> getArgs() override {
        if (core_->location.isEmpty()) return {};
        return {css::beans::PropertyValue{u"URL", 0, Any(core_->location), css::beans::PropertyState_DIRECT_VALUE}};
    }
    void connectController(const Reference<css::frame::XController>& c) override {
        if (!c.is()) throw IllegalArgumentException(u"connectController: the controller must not be empty");
        if (std::find(controllers_.begin(), controllers_.end(), c.get()) == controllers_.end())
            controllers_.push_back(c.get());
    }
    void disconnectController(const Reference<css::frame::XController>& c) override { forget(c.get()); }
    Reference<css::frame::XController> getCurrentController() override { return current_; }
    void setCurrentController(const Reference<css::frame::XController>& c) override {
        if (std::find(controllers_.begin(), controllers_.end(), c.get()) == controllers_.end())
            throw css::container::NoSuchElementException(
                u"setCurrentController: the controller is not connected to this document");
        current_ = c.get();
    }
    void dispose() override {
        if (core_->disposed) return;
        auto listeners = std::move(listeners_);
        listeners_.clear();
        css::lang::EventObject event{Reference<XInterface>(static_cast<css::frame::XModel*>(this))};
        for (auto& l : listeners) l->disposing(event);
        core_->dispose();
    }
    void addEventListener(const Reference<css::lang::XEventListener>& l) override {
        if (l.is()) listeners_.push_back(l);
    }
    void removeEventListener(const Reference<css::lang::XEventListener>& l) override {
        std::erase_if(listeners_, [&](const Reference<css::lang::XEventListener>& x) { return x.get() == l.get(); });
    }

    void calculate() override {
        checkAlive(*core_, u"calculate");
        core_->calculate();
    }
    void calculateAll() override {
        checkAlive(*core_, u"calculateAll");
        core_->calculateAll();
    }
    bool isAutomaticCalculationEnabled() override { return core_->autoCalc; }
    void enableAutomaticCalculation(bool enabled) override {
        checkAlive(*core_, u"enableAutomaticCalculation");
        // Results that automatic calculation has not needed yet are brought up to
        // date first, so that switching it off keeps current results.
        if (core_->autoCalc && !enabled) core_->calculate();
        core_->autoCalc = enabled;
    }

    OUString getTitle() override {
        if (!core_->title.isEmpty()) return core_->title;
        if (core_->location.isEmpty()) return untitled_;
        OUString last = core_->location.copy(core_->location.lastIndexOf(u'/') + 1);
        return rtl::Uri::decode(last, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8);
    }
    void setTitle(const OUString& title) override { core_->title = title; }

    Reference<css::beans::XPropertySet> getNumberFormatSettings() override { return {}; }
    Reference<css::util::XNumberFormats> getNumberFormats() override {
        checkAlive(*core_, u"getNumberFormats");
        return new NumberFormatsImpl(core_);
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const Any&) override {
        if (name == u"NamedRanges")
            throw css::beans::PropertyVetoException(u"setPropertyValue: property NamedRanges is read-only");
        throw css::beans::UnknownPropertyException(u"setPropertyValue: unknown property " + name);
    }
    Any getPropertyValue(const OUString& name) override {
        checkAlive(*core_, u"getPropertyValue");
        if (name == u"NamedRanges") return Any(namesObject(core_, nullptr));
        throw css::beans::UnknownPropertyException(u"getPropertyValue: unknown property " + name);
    }

    Reference<XInterface> createInstance(const OUString& service) override {
        checkAlive(*core_, u"createInstance");
        if (service == u"com.qam.vexo.sheet.SheetCellRanges")
            return Reference<XInterface>(static_cast<css::sheet::XSheetCellRangeContainer*>(new SheetCellRangesImpl(core_)));
        return {};
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& service, const Sequence<Any>&) override {
        return createInstance(service);
    }
    Sequence<OUString> getAvailableServiceNames() override { return nameList({u"com.qam.vexo.sheet.SheetCellRanges"}); }

    OUString getImplementationName() override { return u"officehost.sheet.SpreadsheetDocument"; }
    bool supportsService(const OUString& n) override {
        return n == u"com.qam.vexo.sheet.SpreadsheetDocument" || n == u"com.qam.vexo.document.OfficeDocument";
    }
    Sequence<OUString> getSupportedServiceNames() override {
        return nameList({u"com.qam.vexo.sheet.SpreadsheetDocument", u"com.qam.vexo.document.OfficeDocument"});
    }

    const CorePtr& core() const { return core_; }
    void forget(css::frame::XController* c) {
        std::erase(controllers_, c);
        if (current_ == c) current_ = controllers_.empty() ? nullptr : controllers_.front();
    }

private:
    CorePtr core_;
    OUString untitled_;
    std::vector<css::frame::XController*> controllers_;
    css::frame::XController* current_ = nullptr;
    std::vector<Reference<css::lang::XEventListener>> listeners_;
};

// ---- the view ---------------------------------------------------------------------------

// The view of a spreadsheet: the active sheet, the selected blocks and the
// frozen rows and columns.  No window, scrolling or split panes of its own:
// the split position is the frozen one.
class SheetViewImpl
    : public cppu::WeakImplHelper<css::frame::XController, css::sheet::XSpreadsheetView, css::view::XSelectionSupplier,
                                  css::sheet::XViewFreezable, css::sheet::XViewSplitable, css::lang::XServiceInfo> {
public:
    explicit SheetViewImpl(Reference<SpreadsheetDocumentImpl> model)
        : model_(std::move(model)), active_(std::make_unique<Anchor>(*core(), firstSheet(), wholeSheet())) {
        active_->wholeSheet = true;
        selectBlock(firstSheet(), Rect{0, 0, 0, 0});
    }
    ~SheetViewImpl() override { model_->forget(this); }

    void attachFrame(const Reference<css::frame::XFrame>& frame) override { frame_ = frame.get(); }
    bool attachModel(const Reference<css::frame::XModel>& model) override {
        return Reference<css::frame::XModel>::sameObject(model.get(), static_cast<css::frame::XModel*>(model_.get()));
    }
    bool suspend(bool) override { return true; }
    Reference<css::frame::XFrame> getFrame() override { return frame_; }
    Reference<css::frame::XModel> getModel() override { return model_.get(); }

    Reference<css::sheet::XSpreadsheet> getActiveSheet() override {
        checkAlive(*core(), u"getActiveSheet");
        Sheet* s = activeSheet();
        return s ? sheetObject(core(), s) : nullptr;
    }
    void setActiveSheet(const Reference<css::sheet::XSpreadsheet>& sheet) override {
        checkAlive(*core(), u"setActiveSheet");
        Sheet* s = nullptr;
        Rect r;
        if (!resolveBlock(sheet.get(), *core(), s, r))
            throw IllegalArgumentException(u"setActiveSheet: the sheet is not a sheet of this document");
        active_->sheet = s;
    }

    bool select(const Any& selection) override {
        checkAlive(*core(), u"select");
        if (selection.getValueTypeClass() != ::zel::uno::TypeClass_INTERFACE)
            throw IllegalArgumentException(u"select: expected an object, got " + selection.getValueTypeName());
        Reference<XInterface> obj(selection, UNO_QUERY);
        Sheet* s = nullptr;
        Rect r;
        if (resolveBlock(obj.get(), *core(), s, r)) {
            selectBlock(s, r);
            return true;
        }
        auto* ranges = dynamic_cast<SheetCellRangesImpl*>(obj.get());
        if (!ranges || ranges->core() != core()) return false;
        auto blocks = ranges->live();
        if (blocks.empty()) return false;
        selected_.clear();
        for (Anchor* b : blocks) selected_.push_back(std::make_unique<Anchor>(*core(), b->sheet, b->rect));
        active_->sheet = blocks.front()->sheet;
        return true;
    }
    Any getSelection() override {
        checkAlive(*core(), u"getSelection");
        std::erase_if(selected_, [](const std::unique_ptr<Anchor>& a) { return !a->sheet; });
        if (selected_.empty()) {
            if (Sheet* s = activeSheet()) selectBlock(s, Rect{0, 0, 0, 0});
            else return Any();
        }
        if (selected_.size() == 1) return Any(rangeObject(core(), selected_[0]->sheet, selected_[0]->rect));
        Reference<SheetCellRangesImpl> ranges(new SheetCellRangesImpl(core()));
        for (auto& b : selected_) ranges->add(b->sheet, b->rect);
        return Any(Reference<css::container::XIndexAccess>(ranges.get()));
    }

    bool hasFrozenPanes() override { return frozenColumns_ > 0 || frozenRows_ > 0; }
    void freezeAtPosition(sal_Int32 columns, sal_Int32 rows) override {
        if (columns < 0 || rows < 0 || columns >= kMaxColumns || rows >= kMaxRows)
            throw IllegalArgumentException(u"freezeAtPosition: expected columns and rows within the sheet, got " +
                                           num(columns) + u" and " + num(rows));
        frozenColumns_ = columns;
        frozenRows_ = rows;
    }
    bool getIsWindowSplit() override { return hasFrozenPanes(); }
    sal_Int32 getSplitColumn() override { return frozenColumns_; }
    sal_Int32 getSplitRow() override { return frozenRows_; }

    OUString getImplementationName() override { return u"officehost.sheet.SpreadsheetView"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.sheet.SpreadsheetView"; }
    Sequence<OUString> getSupportedServiceNames() override { return nameList({u"com.qam.vexo.sheet.SpreadsheetView"}); }

private:
    const CorePtr& core() const { return model_->core(); }
    Sheet* firstSheet() const { return core()->sheets.empty() ? nullptr : core()->sheets[0].get(); }
    static Rect wholeSheet() { return Rect{0, 0, kMaxColumns - 1, kMaxRows - 1}; }
    // The active sheet; the first one when it was removed.
    Sheet* activeSheet() {
        if (!active_->sheet) active_->sheet = firstSheet();
        return active_->sheet;
    }
    void selectBlock(Sheet* s, const Rect& r) {
        selected_.clear();
        if (!s) return;
        selected_.push_back(std::make_unique<Anchor>(*core(), s, r));
        active_->sheet = s;
    }

    Reference<SpreadsheetDocumentImpl> model_;
    std::unique_ptr<Anchor> active_;
    std::vector<std::unique_ptr<Anchor>> selected_;
    sal_Int32 frozenColumns_ = 0, frozenRows_ = 0;
    css::frame::XFrame* frame_ = nullptr;
};

SpreadsheetDocumentImpl* documentOf(const Reference<css::frame::XModel>& model) {
    return dynamic_cast<SpreadsheetDocumentImpl*>(model.get());
}

} // namespace

Reference<css::sheet::XNamedRanges> namesObject(const CorePtr& core, Sheet* scope) {
    return new NamedRangesImpl(core, scope);
}

Reference<css::frame::XModel> createSpreadsheetDocument(const OUString& location) {
    return new SpreadsheetDocumentImpl(location);
}

Reference<css::frame::XController> createSpreadsheetController(const Reference<css::frame::XModel>& model) {
    SpreadsheetDocumentImpl* doc = documentOf(model);
    if (!doc)
        throw IllegalArgumentException(u"createSpreadsheetController: the model is not a spreadsheet document of this host");
    return new SheetViewImpl(doc);
}

} // namespace officehost::sheet

namespace officehost {

SheetCalculationCounts sheetCalculationCounts(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model) {
    auto* doc = sheet::documentOf(model);
    if (!doc) throw ::zel::uno::RuntimeException(u"sheetCalculationCounts: the model is not a spreadsheet document of this host");
    return {doc->core()->counters.formulasEvaluated, doc->core()->counters.cellsRead};
}

void resetSheetCalculationCounts(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model) {
    auto* doc = sheet::documentOf(model);
    if (!doc)
        throw ::zel::uno::RuntimeException(u"resetSheetCalculationCounts: the model is not a spreadsheet document of this host");
    doc->core()->counters = {};
}

} // namespace officehost
