#pragma once
// Builds spreadsheet documents through the host's own interfaces, in a few lines:
//
//   testsupport::sheet::SpreadsheetBuilder doc;          // new document, current frame
//   doc.sheet(u"Data").cells(u"Data", u"B2", {{u"1", u"=B2*2"}, {u"text", u""}})
//      .name(u"Totals", u"$Data!$B$2:$C$3").select(u"Data", u"B2:C3").freeze(1, 2);
//
// The process context must be set up (officehost::initProcessContext()).  Cells
// are filled with XCell::setFormula, names with XNamedRanges::addNewByName, the
// selection and frozen panes through the document's view, so a document built
// here is one a script could have built.

#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/sheet/sheet.hxx>

#include <vector>

namespace testsupport::sheet {

class SpreadsheetBuilder {
public:
    // A new spreadsheet document ("Sheet1") in a new current frame; a non-empty
    // location is the URL it was loaded from.
    explicit SpreadsheetBuilder(const OUString& location = OUString());

    // A new sheet after the last one.
    SpreadsheetBuilder& sheet(const OUString& name);
    // Typed input, row by row, from the top-left cell ("B2") on: "" leaves a cell as it is.
    SpreadsheetBuilder& cells(const OUString& sheet, const OUString& topLeft,
                              const std::vector<std::vector<OUString>>& inputs);
    // A named range: of the document (scope empty) or local to the sheet named scope.
    // Unqualified references in the content are on the scope sheet (else the first sheet).
    SpreadsheetBuilder& name(const OUString& name, const OUString& content, const OUString& scope = OUString());
    // Selects one block ("B2:C3") of the sheet in the view (which makes the sheet active).
    SpreadsheetBuilder& select(const OUString& sheet, const OUString& block);
    // Selects several blocks of sheets: (sheet, block) pairs.
    SpreadsheetBuilder& selectBlocks(const std::vector<std::pair<OUString, OUString>>& blocks);
    SpreadsheetBuilder& freeze(sal_Int32 columns, sal_Int32 rows);

    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model() const { return model_; }
    ::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheets> sheets() const;
    ::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheet> sheetNamed(const OUString& name) const;
    ::zel::uno::Reference<::com::qam::vexo::table::XCell> cell(const OUString& sheet, const OUString& address) const;
    ::zel::uno::Reference<::com::qam::vexo::table::XCellRange> range(const OUString& sheet, const OUString& block) const;

private:
    ::zel::uno::Reference<::com::qam::vexo::frame::XModel> model_;
};

} // namespace testsupport::sheet
