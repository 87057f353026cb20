#pragma once
#include <zel/uno/Exception.hxx>

namespace com::qam::vexo::loader {
// A service's component library or constructor function could not be loaded.
class SALQX_DLLPUBLIC CannotActivateFactoryException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(CannotActivateFactoryException, Exception)
};
} // namespace com::qam::vexo::loader

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::loader::CannotActivateFactoryException,
                       "com.qam.vexo.loader.CannotActivateFactoryException")
