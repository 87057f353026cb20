#pragma once
// A width and a height (module com.qam.vexo.awt); the unit is the caller's.

#include <zel/uno/Type.hxx>

namespace com::qam::vexo::awt {

struct Size {
    sal_Int32 Width = 0;
    sal_Int32 Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

} // namespace com::qam::vexo::awt

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::awt::Size, STRUCT, "com.qam.vexo.awt.Size")
