#pragma once
// Positions and sizes on a page (module com.qam.vexo.awt), in hundredths of a
// millimetre wherever the drawing model uses them.

#include <com/qam/vexo/awt/size.hxx>
#include <zel/uno/Type.hxx>

namespace com::qam::vexo::awt {

struct Point {
    sal_Int32 X = 0;
    sal_Int32 Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

} // namespace com::qam::vexo::awt

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::awt::Point, STRUCT, "com.qam.vexo.awt.Point")
