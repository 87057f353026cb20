#pragma once
// A rectangle on a page or sheet (module com.qam.vexo.awt); lengths in the
// unit of whoever reports it (1/100 mm for sheets and pages).

#include <zel/uno/Any.hxx>

namespace com::qam::vexo::awt {

struct Rectangle {
    sal_Int32 X = 0;
    sal_Int32 Y = 0;
    sal_Int32 Width = 0;
    sal_Int32 Height = 0;
    friend bool operator==(const Rectangle&, const Rectangle&) = default;
};

} // namespace com::qam::vexo::awt

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::awt::Rectangle, STRUCT, "com.qam.vexo.awt.Rectangle")
