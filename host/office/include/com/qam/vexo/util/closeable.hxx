#pragma once
// Closing of frames and documents (module com.qam.vexo.util).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::util {

class SAL_DLLPUBLIC_EXPORT CloseVetoException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(CloseVetoException, Exception)
};

class ZEL_UNO_INTERFACE_CLASS XCloseable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XCloseable, "com.qam.vexo.util.XCloseable")
    // Closes the object; CloseVetoException when it refuses.  deliverOwnership is
    // accepted for compatibility and has no effect on the stand-in's objects.
    virtual void close(bool deliverOwnership) = 0;
};

} // namespace com::qam::vexo::util

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::util::CloseVetoException, "com.qam.vexo.util.CloseVetoException")
