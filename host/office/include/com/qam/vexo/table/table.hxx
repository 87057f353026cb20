#pragma once
// Cells, cell ranges, rows and columns of tables (module com.qam.vexo.table).

#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::table {

using ::zel::uno::Reference;
using ::zel::uno::Sequence;

namespace CellContentType {
constexpr sal_Int32 EMPTY = 0;
constexpr sal_Int32 VALUE = 1;
constexpr sal_Int32 TEXT = 2;
constexpr sal_Int32 FORMULA = 3;
} // namespace CellContentType

class ZEL_UNO_INTERFACE_CLASS XCell : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCell, "com.qam.vexo.table.XCell")
    virtual OUString getFormula() = 0;
    virtual void setFormula(const OUString& formula) = 0;
    virtual double getValue() = 0;
    virtual void setValue(double value) = 0;
    // One of CellContentType.
    virtual sal_Int32 getType() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XCellRange : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCellRange, "com.qam.vexo.table.XCellRange")
    // 0-based; IndexOutOfBoundsException outside the range.
    virtual Reference<XCell> getCellByPosition(sal_Int32 column, sal_Int32 row) = 0;
    virtual Reference<XCellRange> getCellRangeByPosition(sal_Int32 left, sal_Int32 top, sal_Int32 right,
                                                         sal_Int32 bottom) = 0;
    virtual Reference<XCellRange> getCellRangeByName(const OUString& name) = 0;
};

// The rows of a table; getByIndex gives a row object (XPropertySet).
class ZEL_UNO_INTERFACE_CLASS XTableRows : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XTableRows, "com.qam.vexo.table.XTableRows")
    // Inserts count rows before index (index == count appends); IndexOutOfBoundsException otherwise.
    virtual void insertByIndex(sal_Int32 index, sal_Int32 count) = 0;
    // Removes count rows from index; IndexOutOfBoundsException when they do not all exist.
    virtual void removeByIndex(sal_Int32 index, sal_Int32 count) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTableColumns : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XTableColumns, "com.qam.vexo.table.XTableColumns")
    virtual void insertByIndex(sal_Int32 index, sal_Int32 count) = 0;
    virtual void removeByIndex(sal_Int32 index, sal_Int32 count) = 0;
};

} // namespace com::qam::vexo::table
