#pragma once
// What the units of the sheet area share about interface objects: making the
// objects that present sheets, blocks and names, and finding the block behind
// an object of this model.  Not visible outside the sheet area of libmergedqx.

#include "sheetcore.hxx"

#include <com/qam/vexo/sheet/datapilot.hxx>
#include <com/qam/vexo/sheet/sheet.hxx>
#include <com/qam/vexo/table/charts.hxx>

namespace officehost::sheet {

using CorePtr = std::shared_ptr<sheetcore::Core>;

// The one object that presents the sheet (made when there is none).
::zel::uno::Reference<::com::qam::vexo::sheet::XSpreadsheet> sheetObject(const CorePtr& core, sheetcore::Sheet* sheet);
// A new object for a block of cells (a cell range that follows row and column deletion).
::zel::uno::Reference<::com::qam::vexo::table::XCellRange> rangeObject(const CorePtr& core, sheetcore::Sheet* sheet,
                                                                      const sheetcore::Rect& rect);
// The one object that presents the document's names (scope null) or a sheet's.
::zel::uno::Reference<::com::qam::vexo::sheet::XNamedRanges> namesObject(const CorePtr& core, sheetcore::Sheet* scope);

// A new object for the sheet's data pilot tables.
::zel::uno::Reference<::com::qam::vexo::sheet::XDataPilotTables> dataPilotTablesObject(const CorePtr& core,
                                                                                      sheetcore::Sheet* sheet);

// A new object for the sheet's charts (source/chart/).
::zel::uno::Reference<::com::qam::vexo::table::XTableCharts> tableChartsObject(const CorePtr& core,
                                                                              sheetcore::Sheet* sheet);

// Implemented by the objects of this model that stand for a block of cells.
class BlockSource {
public:
    virtual sheetcore::Core* blockCore() = 0;
    // The block now; false when it is no longer part of the document.
    virtual bool blockNow(sheetcore::Sheet*& sheet, sheetcore::Rect& rect) = 0;

protected:
    ~BlockSource() = default;
};

// The block of an object of this document; false for anything else or a gone block.
bool resolveBlock(::zel::uno::XInterface* object, const sheetcore::Core& core, sheetcore::Sheet*& sheet,
                  sheetcore::Rect& rect);

[[noreturn]] void gone(const OUString& operation);
// Throws DisposedException when the document was disposed.
void checkAlive(const sheetcore::Core& core, const OUString& operation);

} // namespace officehost::sheet
