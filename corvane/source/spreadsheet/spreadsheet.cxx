// The spreadsheet wrapper: sheets, named ranges, recalculation and the
// document's name.  It holds the model and nothing else; every call asks the
// host afresh.

#include "spreadsheet.hxx"

#include <com/qam/vexo/frame/title.hxx>
#include <cppu/implbase.hxx>
#include <rtl/uri.hxx>

namespace corvane::detail {

namespace css = ::com::qam::vexo;
using css::frame::XModel;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

Reference<css::sheet::XSpreadsheets> documentSheets(const Reference<XModel>& model) {
    Reference<css::sheet::XSpreadsheetDocument> document(model, UNO_QUERY_THROW, model.get());
    return document->getSheets();
}

namespace {

// A sheet's local names, empty when it has none.
Reference<css::sheet::XNamedRanges> sheetNamedRanges(const Reference<css::sheet::XSpreadsheet>& sheet) {
    Reference<css::beans::XPropertySet> props(sheet, UNO_QUERY);
    if (!props.is()) return {};
    return Reference<css::sheet::XNamedRanges>(props->getPropertyValue(u"NamedRanges"), UNO_QUERY);
}

class SpreadsheetImpl : public cppu::WeakImplHelper<XSpreadsheet> {
public:
    explicit SpreadsheetImpl(const Reference<XModel>& model) : model_(model) {}

    Reference<::zel::uno::XInterface> getuno() override { return model_; }

    Reference<XSheet> getActiveSheet() override {
        Reference<css::sheet::XSpreadsheetView> view(model_->getCurrentController(), UNO_QUERY_THROW);
        Reference<css::sheet::XSpreadsheet> sheet = view->getActiveSheet();
        if (!sheet.is()) throw RuntimeException(u"getActiveSheet: no active sheet");
        return createSheet(model_, sheet);
    }

    Reference<XSheet> getSheetByName(const OUString& name) override {
        Reference<css::container::XNameAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
        if (!sheets->hasByName(name)) return {};
        Reference<css::sheet::XSpreadsheet> sheet(sheets->getByName(name), UNO_QUERY);
        if (!sheet.is()) return {};
        return createSheet(model_, sheet);
    }

    Reference<XSheet> insertSheet(const OUString& name) override { return insertSheetNamed(name); }

    Reference<XSheet> insertSheetWithDefaultName() override {
        Reference<css::container::XNameAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
        OUString candidate;
        for (sal_Int64 n = 1;; ++n) {
            candidate = u"Sheet" + OUString::number(static_cast<long long>(n));
            if (!sheets->hasByName(candidate)) break;
        }
        return insertSheetNamed(candidate);
    }

    Reference<XRange> getRangeByName(const OUString& name) override {
        Reference<css::container::XNameAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
        Reference<css::sheet::XNamedRange> found;
        const sal_Int32 bang = name.lastIndexOf(u'!');
        if (bang < 0) {
            Reference<css::beans::XPropertySet> props(model_, UNO_QUERY_THROW);
            Reference<css::sheet::XNamedRanges> names(props->getPropertyValue(u"NamedRanges"), UNO_QUERY);
            if (names.is() && names->hasByName(name)) found.set(names->getByName(name), UNO_QUERY);
            if (!found.is()) {
                Reference<css::container::XIndexAccess> byIndex(sheets, UNO_QUERY_THROW);
                for (sal_Int32 i = 0; i < byIndex->getCount(); ++i) {
                    Reference<css::sheet::XSpreadsheet> sheet(byIndex->getByIndex(i), UNO_QUERY);
                    Reference<css::sheet::XNamedRanges> local = sheetNamedRanges(sheet);
                    if (!local.is() || !local->hasByName(name)) continue;
                    found.set(local->getByName(name), UNO_QUERY);
                    if (found.is()) break;
                }
            }
        } else {
            const OUString sheetName = name.copy(0, bang);
            const OUString localName = name.copy(bang + 1);
            if (!sheets->hasByName(sheetName)) return {};
            Reference<css::sheet::XSpreadsheet> sheet(sheets->getByName(sheetName), UNO_QUERY);
            Reference<css::sheet::XNamedRanges> local = sheetNamedRanges(sheet);
            if (!local.is() || !local->hasByName(localName)) return {};
            found.set(local->getByName(localName), UNO_QUERY);
        }
        if (!found.is()) return {};
        Reference<css::sheet::XCellRangeReferrer> referrer(found, UNO_QUERY_THROW);
        Reference<css::table::XCellRange> cells = referrer->getReferredCells();
        if (!cells.is()) throw RuntimeException(u"getRangeByName: " + name + u" does not refer to a plain cell range");
        return createRange(model_, cells);
    }

    void flush() override {
        Reference<css::sheet::XCalculatable> calc(model_, UNO_QUERY_THROW, model_.get());
        calc->calculateAll();
    }

    OUString getName() override {
        OUString url, title;
        wrapped(u"getName", [&] {
            url = model_->getURL();
            if (url.isEmpty()) title = Reference<css::frame::XTitle>(model_, UNO_QUERY_THROW)->getTitle();
        });
        if (url.isEmpty()) return title;
        const OUString last = url.copy(url.lastIndexOf(u'/') + 1);
        const OUString decoded = rtl::Uri::decode(last, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8);
        const sal_Int32 dot = decoded.lastIndexOf(u'.');
        return dot >= 1 ? decoded.copy(0, dot) : decoded;
    }

    Sequence<Reference<XSheet>> getSheets() override {
        return wrapped(u"getSheets", [&] {
            Reference<css::container::XIndexAccess> sheets(documentSheets(model_), UNO_QUERY_THROW);
            const sal_Int32 count = sheets->getCount();
            std::vector<Reference<XSheet>> out;
            out.reserve(count);
            for (sal_Int32 i = 0; i < count; ++i) {
                Reference<css::sheet::XSpreadsheet> sheet(sheets->getByIndex(i), UNO_QUERY_THROW);
                out.push_back(createSheet(model_, sheet));
            }
            return Sequence<Reference<XSheet>>(std::move(out));
        });
    }

private:
    Reference<XSheet> insertSheetNamed(const OUString& name) {
        Reference<css::sheet::XSpreadsheets> sheets = documentSheets(model_);
        Reference<css::container::XIndexAccess> byIndex(sheets, UNO_QUERY_THROW);
        const sal_Int32 count = byIndex->getCount();
        if (count > 32767) throw RuntimeException(u"insertSheet: the document already has too many sheets to add another");
        sheets->insertNewByName(name, static_cast<sal_Int16>(count));
        Reference<css::container::XNameAccess> byName(sheets, UNO_QUERY_THROW);
        Reference<css::sheet::XSpreadsheet> sheet(byName->getByName(name), UNO_QUERY);
        return createSheet(model_, sheet);
    }

    const Reference<XModel> model_;
};

} // namespace

Reference<XSpreadsheet> createSpreadsheet(const Reference<XModel>& model) { return new SpreadsheetImpl(model); }

} // namespace corvane::detail
