#pragma once
// Spreadsheet documents, sheets, cursors, names and views (module com.qam.vexo.sheet).
//
// Property names used by the sheet model (all through beans::XPropertySet):
//   cells, ranges and sheets (a range or sheet sets a value on all its cells and
//     reads its top-left cell's): "CellBackColor", "CharColor" (long 0x00RRGGBB,
//     -1 for none), "NumberFormat" (long, a key of util::XNumberFormats),
//     "CharWeight" (float, awt::FontWeight), "CharPosture" (awt::FontSlant),
//     "TableBorder2" (table::TableBorder2), "TopBorder", "BottomBorder",
//     "LeftBorder", "RightBorder" (table::BorderLine2), "FormulaResultType2"
//     (long, FormulaResult, read-only);
//   sheets: "NamedRanges" (XNamedRanges, the sheet's local names, read-only);
//   documents: "NamedRanges" (XNamedRanges, read-only);
//   rows: "Height", "OptimalHeight", "IsVisible"; columns: "Width",
//     "OptimalWidth", "IsVisible" (long 1/100 mm, boolean).

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/table/sheetcells.hxx>

namespace com::qam::vexo::sheet {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

// "FormulaResultType2" of a cell.
namespace FormulaResult {
constexpr sal_Int32 VALUE = 1;
constexpr sal_Int32 STRING = 2;
constexpr sal_Int32 ERROR = 4;
} // namespace FormulaResult

// What XSheetOperation::clearContents removes.
namespace CellFlags {
constexpr sal_Int32 VALUE = 1;
constexpr sal_Int32 DATETIME = 2;
constexpr sal_Int32 STRING = 4;
constexpr sal_Int32 ANNOTATION = 8;
constexpr sal_Int32 FORMULA = 16;
constexpr sal_Int32 HARDATTR = 32;
constexpr sal_Int32 STYLES = 64;
constexpr sal_Int32 OBJECTS = 128;
constexpr sal_Int32 EDITATTR = 256;
constexpr sal_Int32 FORMATTED = 512;
} // namespace CellFlags

// The type of a named range (any combination; 0 for a plain name).
namespace NamedRangeFlag {
constexpr sal_Int32 FILTER_CRITERIA = 1;
constexpr sal_Int32 PRINT_AREA = 2;
constexpr sal_Int32 COLUMN_HEADER = 4;
constexpr sal_Int32 ROW_HEADER = 8;
} // namespace NamedRangeFlag

class ZEL_UNO_INTERFACE_CLASS XCellRangeAddressable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCellRangeAddressable, "com.qam.vexo.sheet.XCellRangeAddressable")
    virtual ::com::qam::vexo::table::CellRangeAddress getRangeAddress() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSheetCellRange : public ::com::qam::vexo::table::XCellRange {
public:
    ZEL_UNO_INTERFACE(XSheetCellRange, "com.qam.vexo.sheet.XSheetCellRange")
};

class XSheetCellCursor;

class ZEL_UNO_INTERFACE_CLASS XSpreadsheet : public XSheetCellRange {
public:
    ZEL_UNO_INTERFACE(XSpreadsheet, "com.qam.vexo.sheet.XSpreadsheet")
    // A cursor over the whole sheet.
    virtual Reference<XSheetCellCursor> createCursor() = 0;
    // A cursor over the range, which must be a range of this sheet.
    virtual Reference<XSheetCellCursor> createCursorByRange(const Reference<XSheetCellRange>& range) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSheetCellCursor : public XSheetCellRange {
public:
    ZEL_UNO_INTERFACE(XSheetCellCursor, "com.qam.vexo.sheet.XSheetCellCursor")
    // Moves the whole block so that its top-left cell is the given 0-based cell; keeps the size.
    virtual void collapseToSize(sal_Int32 columns, sal_Int32 rows) = 0;
};

// A cursor that moves to the used area: the bounding block of the cells with content.
class ZEL_UNO_INTERFACE_CLASS XUsedAreaCursor : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XUsedAreaCursor, "com.qam.vexo.sheet.XUsedAreaCursor")
    // To the used area's top-left (bottom-right) cell: the cursor becomes that cell,
    // or with expand spans from its current start to that cell.
    virtual void gotoStartOfUsedArea(bool expand) = 0;
    virtual void gotoEndOfUsedArea(bool expand) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSheetOperation : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSheetOperation, "com.qam.vexo.sheet.XSheetOperation")
    // Removes what the CellFlags mask names from every cell of the range.
    virtual void clearContents(sal_Int32 cellFlags) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XCalculatable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCalculatable, "com.qam.vexo.sheet.XCalculatable")
    // Recalculates the formulas whose inputs changed since they were last calculated.
    virtual void calculate() = 0;
    // Recalculates every formula of the document.
    virtual void calculateAll() = 0;
    virtual bool isAutomaticCalculationEnabled() = 0;
    // On: results follow their inputs.  Off: results stay until calculate or calculateAll.
    virtual void enableAutomaticCalculation(bool enabled) = 0;
};

// The sheets of a document, in tab order; also container::XIndexAccess.
class ZEL_UNO_INTERFACE_CLASS XSpreadsheets : public ::com::qam::vexo::container::XNameAccess {
public:
    ZEL_UNO_INTERFACE(XSpreadsheets, "com.qam.vexo.sheet.XSpreadsheets")
    // Inserts a new, empty sheet before the position (past the count: at the end).
    // lang::IllegalArgumentException for an invalid name, container::ElementExistException
    // for a name in use (names compare without regard to case).
    virtual void insertNewByName(const OUString& name, sal_Int16 position) = 0;
    // container::NoSuchElementException for an unknown name; the last sheet stays.
    virtual void removeByName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSpreadsheetDocument : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSpreadsheetDocument, "com.qam.vexo.sheet.XSpreadsheetDocument")
    virtual Reference<XSpreadsheets> getSheets() = 0;
};

// A range that some other object refers to.
class ZEL_UNO_INTERFACE_CLASS XCellRangeReferrer : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCellRangeReferrer, "com.qam.vexo.sheet.XCellRangeReferrer")
    // The cells referred to; empty unless the reference is one block of cells.
    virtual Reference<::com::qam::vexo::table::XCellRange> getReferredCells() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNamedRange : public ::com::qam::vexo::container::XNamed {
public:
    ZEL_UNO_INTERFACE(XNamedRange, "com.qam.vexo.sheet.XNamedRange")
    // The expression the name stands for, in formula syntax without "=".
    virtual OUString getContent() = 0;
    virtual void setContent(const OUString& content) = 0;
    virtual ::com::qam::vexo::table::CellAddress getReferencePosition() = 0;
    virtual sal_Int32 getType() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNamedRanges : public ::com::qam::vexo::container::XNameAccess {
public:
    ZEL_UNO_INTERFACE(XNamedRanges, "com.qam.vexo.sheet.XNamedRanges")
    // Adds a name for the content (formula syntax without "="); unqualified
    // references in it are on the position's sheet.  lang::IllegalArgumentException
    // for an invalid name, container::ElementExistException for a name in use.
    virtual void addNewByName(const OUString& name, const OUString& content,
                              const ::com::qam::vexo::table::CellAddress& position, sal_Int32 type) = 0;
    virtual void removeByName(const OUString& name) = 0;
};

// Several blocks of cells ("com.qam.vexo.sheet.SheetCellRanges"); getByIndex gives each
// block as a cell range.
class ZEL_UNO_INTERFACE_CLASS XSheetCellRangeContainer : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XSheetCellRangeContainer, "com.qam.vexo.sheet.XSheetCellRangeContainer")
    // lang::IndexOutOfBoundsException for a block outside its sheet or an unknown sheet.
    virtual void addRangeAddress(const ::com::qam::vexo::table::CellRangeAddress& address, bool mergeRanges) = 0;
    virtual Sequence<::com::qam::vexo::table::CellRangeAddress> getRangeAddresses() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSpreadsheetView : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSpreadsheetView, "com.qam.vexo.sheet.XSpreadsheetView")
    virtual Reference<XSpreadsheet> getActiveSheet() = 0;
    // lang::IllegalArgumentException for a sheet of another document.
    virtual void setActiveSheet(const Reference<XSpreadsheet>& sheet) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XViewFreezable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XViewFreezable, "com.qam.vexo.sheet.XViewFreezable")
    virtual bool hasFrozenPanes() = 0;
    // Freezes that many columns and rows (0 and 0 unfreezes).
    virtual void freezeAtPosition(sal_Int32 columns, sal_Int32 rows) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XViewSplitable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XViewSplitable, "com.qam.vexo.sheet.XViewSplitable")
    virtual bool getIsWindowSplit() = 0;
    virtual sal_Int32 getSplitColumn() = 0;
    virtual sal_Int32 getSplitRow() = 0;
};

} // namespace com::qam::vexo::sheet
