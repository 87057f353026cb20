#pragma once
// The root of the scripting object model.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XBase : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XBase, "corvane.XBase")
    // The host object behind the wrapper; empty for objects that wrap none.
    virtual ::zel::uno::Reference<::zel::uno::XInterface> getuno() = 0;
};

} // namespace corvane
