#pragma once
// The runtime's exception family.  Every exception carries a message and an
// optional context object (the object that raised it, or empty).

#include <zel/uno/Type.hxx>

namespace com::qam::vexo::uno {

template <class T>
class Reference;

// The context is kept as a plain owning pointer wrapper so that this header does
// not need Reference; Context behaves like a Reference<XInterface>.
class SALQX_DLLPUBLIC ContextRef {
public:
    ContextRef() noexcept = default;
    ContextRef(XInterface* p) noexcept;
    template <class T>
    ContextRef(const Reference<T>& r) noexcept : ContextRef(static_cast<XInterface*>(r.get())) {}
    ContextRef(const ContextRef& r) noexcept;
    ContextRef& operator=(const ContextRef& r) noexcept;
    ~ContextRef();
    XInterface* get() const noexcept { return p_; }
    bool is() const noexcept { return p_ != nullptr; }

private:
    XInterface* p_ = nullptr;
};

class SALQX_DLLPUBLIC Exception {
public:
    Exception() = default;
    Exception(const OUString& message, const ContextRef& context = ContextRef())
        : Message(message), Context(context) {}
    virtual ~Exception();
    // The dotted type name of the most derived exception.
    virtual const Type& getType() const;
    // Rethrows this exception as its most derived type.
    [[noreturn]] virtual void raise() const { throw *this; }

    OUString Message;
    ContextRef Context;
};

#define ZEL_UNO_EXCEPTION_BODY(Name, Base)                                        \
    Name() = default;                                                             \
    Name(const OUString& message, const ::zel::uno::ContextRef& context = {})     \
        : Base(message, context) {}                                               \
    const ::zel::uno::Type& getType() const override;                             \
    [[noreturn]] void raise() const override { throw *this; }

class SALQX_DLLPUBLIC RuntimeException : public Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(RuntimeException, Exception)
};

class SALQX_DLLPUBLIC DeploymentException : public RuntimeException {
public:
    ZEL_UNO_EXCEPTION_BODY(DeploymentException, RuntimeException)
};

} // namespace com::qam::vexo::uno

// Declares an exception's dotted type name and defines its getType(), at namespace
// scope after the class:
//   ZEL_UNO_EXCEPTION_TYPE(com::qam::vexo::lang::IllegalArgumentException,
//                          "com.qam.vexo.lang.IllegalArgumentException")
#define ZEL_UNO_EXCEPTION_TYPE(T, dotted)                                      \
    ZEL_UNO_DECLARE_TYPE(T, EXCEPTION, dotted)                                 \
    inline const ::zel::uno::Type& T::getType() const { return ::cppu::UnoType<T>::get(); }

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::uno::RuntimeException, "com.qam.vexo.uno.RuntimeException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::uno::DeploymentException, "com.qam.vexo.uno.DeploymentException")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::uno::Exception, EXCEPTION, "com.qam.vexo.uno.Exception")
