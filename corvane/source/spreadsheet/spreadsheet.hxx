#pragma once
// What the units of the spreadsheet model, and the factory, call of one another.

#include <corvane/XSpreadsheet.hxx>

#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/sheet/datapilot.hxx>
#include <com/qam/vexo/sheet/sheet.hxx>
#include <com/qam/vexo/table/charts.hxx>

#include <vector>

namespace corvane::detail {

// A new spreadsheet wrapper over a model known to be a spreadsheet document.
::zel::uno::Reference<XSpreadsheet> createSpreadsheet(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// New wrappers of a host sheet and a host cell range.
::zel::uno::Reference<XSheet> createSheet(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model,
                                          const ::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheet>& sheet);
::zel::uno::Reference<XRange> createRange(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model,
                                          const ::zel::uno::Reference<::com::qam::vexo::table::XCellRange>& range);

// The document's sheet container (throwing query with the model as context).
::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheets> documentSheets(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// A range of numRows by numColumns whose top-left cell is at the 1-based row and
// column.  Row and column are taken in 64 bits so that callers that add offsets
// cannot overflow; a block past the sheet's end is the host's to refuse.
::zel::uno::Reference<XRange> rangeAt(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model,
                                      const ::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheet>& sheet,
                                      sal_Int64 row, sal_Int64 column, sal_Int32 numRows, sal_Int32 numColumns);

// A cell as a script reads it (void, double or string), and writing a script value.
::zel::uno::Any cellValue(const ::zel::uno::Reference<::com::qam::vexo::table::XCell>& cell);
void setCellValue(const ::zel::uno::Reference<::com::qam::vexo::table::XCell>& cell, const ::zel::uno::Any& value);

// The first name of the prefix followed by 1, 2, 3, ... that none of the containers uses.
OUString freeName(const OUString& prefix,
                  const std::vector<::zel::uno::Reference<::com::qam::vexo::container::XNameAccess>>& containers);

// New wrappers of the chart or pivot table of that name in the collection.
::zel::uno::Reference<XChart> createChart(const ::zel::uno::Reference<::com::qam::vexo::table::XTableCharts>& charts,
                                          const OUString& name);
::zel::uno::Reference<XPivotTable> createPivotTable(
    const ::zel::uno::Reference<::com::qam::vexo::sheet::XDataPilotTables>& tables, const OUString& name);

// Runs f; any zel::uno::Exception becomes RuntimeException "<operation>: <message>".
template <class F>
auto wrapped(const char16_t* operation, F f) -> decltype(f()) {
    try {
        return f();
    } catch (const ::zel::uno::Exception& e) {
        throw ::zel::uno::RuntimeException(OUString(std::u16string_view(operation)) + u": " + e.Message);
    }
}

} // namespace corvane::detail
