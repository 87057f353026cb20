#pragma once
// Data pilot (pivot) tables of spreadsheets (module com.qam.vexo.sheet).
//
// Field properties (beans::XPropertySet of the elements of getDataPilotFields):
// "Orientation" (DataPilotFieldOrientation), "Function" (GeneralFunction),
// "SelectedPage" (string) and "UseSelectedPage" (boolean).

#include <com/qam/vexo/sheet/sheet.hxx>

namespace com::qam::vexo::sheet {

enum DataPilotFieldOrientation {
    DataPilotFieldOrientation_HIDDEN,
    DataPilotFieldOrientation_COLUMN,
    DataPilotFieldOrientation_ROW,
    DataPilotFieldOrientation_PAGE,
    DataPilotFieldOrientation_DATA
};

enum GeneralFunction {
    GeneralFunction_NONE,
    GeneralFunction_AUTO,
    GeneralFunction_SUM,
    GeneralFunction_COUNT,      // non-empty values
    GeneralFunction_AVERAGE,
    GeneralFunction_MAX,
    GeneralFunction_MIN,
    GeneralFunction_PRODUCT,
    GeneralFunction_COUNTNUMS,  // numbers
    GeneralFunction_STDEV,
    GeneralFunction_STDEVP,
    GeneralFunction_VAR,
    GeneralFunction_VARP
};

// What a data pilot table is made from: a source block whose first row names
// its fields, and the fields' settings.
class ZEL_UNO_INTERFACE_CLASS XDataPilotDescriptor : public ::com::qam::vexo::container::XNamed {
public:
    ZEL_UNO_INTERFACE(XDataPilotDescriptor, "com.qam.vexo.sheet.XDataPilotDescriptor")
    virtual ::com::qam::vexo::table::CellRangeAddress getSourceRange() = 0;
    virtual void setSourceRange(const ::com::qam::vexo::table::CellRangeAddress& source) = 0;
    // One field per source column, in column order (beans::XPropertySet elements).
    virtual Reference<::com::qam::vexo::container::XIndexAccess> getDataPilotFields() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDataPilotTable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDataPilotTable, "com.qam.vexo.sheet.XDataPilotTable")
    virtual ::com::qam::vexo::table::CellRangeAddress getOutputRange() = 0;
    // Computes the table from its source as it is now and writes it at its position.
    virtual void refresh() = 0;
};

// The data pilot tables of a sheet; also container::XIndexAccess.
class ZEL_UNO_INTERFACE_CLASS XDataPilotTables : public ::com::qam::vexo::container::XNameAccess {
public:
    ZEL_UNO_INTERFACE(XDataPilotTables, "com.qam.vexo.sheet.XDataPilotTables")
    virtual Reference<XDataPilotDescriptor> createDataPilotDescriptor() = 0;
    // A new table at the position (a cell of this sheet) from the descriptor, computed at once.
    virtual void insertNewByName(const OUString& name, const ::com::qam::vexo::table::CellAddress& position,
                                 const Reference<XDataPilotDescriptor>& descriptor) = 0;
    // Removes the table and clears its output.
    virtual void removeByName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDataPilotTablesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDataPilotTablesSupplier, "com.qam.vexo.sheet.XDataPilotTablesSupplier")
    virtual Reference<XDataPilotTables> getDataPilotTables() = 0;
};

} // namespace com::qam::vexo::sheet

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::sheet::DataPilotFieldOrientation, ENUM,
                     "com.qam.vexo.sheet.DataPilotFieldOrientation")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::sheet::GeneralFunction, ENUM, "com.qam.vexo.sheet.GeneralFunction")
