#pragma once
// Exceptions of module com.qam.vexo.lang.

#include <zel/uno/Exception.hxx>

namespace com::qam::vexo::lang {

using ::com::qam::vexo::uno::ContextRef;

class SALQX_DLLPUBLIC IllegalArgumentException : public ::zel::uno::Exception {
public:
    IllegalArgumentException() = default;
    IllegalArgumentException(const OUString& message, const ContextRef& context = {}, sal_Int16 argumentPosition = 0)
        : Exception(message, context), ArgumentPosition(argumentPosition) {}
    const ::zel::uno::Type& getType() const override;
    [[noreturn]] void raise() const override { throw *this; }
    sal_Int16 ArgumentPosition = 0;
};

class SALQX_DLLPUBLIC IndexOutOfBoundsException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(IndexOutOfBoundsException, Exception)
};

class SALQX_DLLPUBLIC WrappedTargetException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(WrappedTargetException, Exception)
};

class SALQX_DLLPUBLIC NoSupportException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(NoSupportException, Exception)
};

class SALQX_DLLPUBLIC DisposedException : public ::zel::uno::RuntimeException {
public:
    ZEL_UNO_EXCEPTION_BODY(DisposedException, RuntimeException)
};

} // namespace com::qam::vexo::lang

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::lang::IllegalArgumentException, "com.qam.vexo.lang.IllegalArgumentException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::lang::IndexOutOfBoundsException, "com.qam.vexo.lang.IndexOutOfBoundsException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::lang::WrappedTargetException, "com.qam.vexo.lang.WrappedTargetException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::lang::NoSupportException, "com.qam.vexo.lang.NoSupportException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::lang::DisposedException, "com.qam.vexo.lang.DisposedException")
