#pragma once
// The basic interfaces of module com.qam.vexo.lang.

#include <com/qam/vexo/lang/exceptions.hxx>
#include <zel/uno/Any.hxx>
#include <zel/uno/Reference.hxx>
#include <zel/uno/Sequence.hxx>

namespace com::qam::vexo::uno {
class XComponentContext;
}

namespace com::qam::vexo::lang {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class ZEL_UNO_INTERFACE_CLASS XServiceInfo : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XServiceInfo, "com.qam.vexo.lang.XServiceInfo")
    virtual OUString getImplementationName() = 0;
    virtual bool supportsService(const OUString& serviceName) = 0;
    virtual Sequence<OUString> getSupportedServiceNames() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTypeProvider : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTypeProvider, "com.qam.vexo.lang.XTypeProvider")
    virtual Sequence<::zel::uno::Type> getTypes() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XMultiServiceFactory : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XMultiServiceFactory, "com.qam.vexo.lang.XMultiServiceFactory")
    virtual Reference<::zel::uno::XInterface> createInstance(const OUString& serviceName) = 0;
    virtual Reference<::zel::uno::XInterface> createInstanceWithArguments(const OUString& serviceName,
                                                                          const Sequence<Any>& arguments) = 0;
    virtual Sequence<OUString> getAvailableServiceNames() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XMultiComponentFactory : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XMultiComponentFactory, "com.qam.vexo.lang.XMultiComponentFactory")
    virtual Reference<::zel::uno::XInterface> createInstanceWithContext(
        const OUString& serviceName, const Reference<::zel::uno::XComponentContext>& context) = 0;
    virtual Reference<::zel::uno::XInterface> createInstanceWithArgumentsAndContext(
        const OUString& serviceName, const Sequence<Any>& arguments,
        const Reference<::zel::uno::XComponentContext>& context) = 0;
    virtual Sequence<OUString> getAvailableServiceNames() = 0;
};

struct EventObject {
    Reference<::zel::uno::XInterface> Source;
};

class ZEL_UNO_INTERFACE_CLASS XEventListener : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XEventListener, "com.qam.vexo.lang.XEventListener")
    virtual void disposing(const EventObject& source) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XComponent : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XComponent, "com.qam.vexo.lang.XComponent")
    virtual void dispose() = 0;
    virtual void addEventListener(const Reference<XEventListener>& listener) = 0;
    virtual void removeEventListener(const Reference<XEventListener>& listener) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XInitialization : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XInitialization, "com.qam.vexo.lang.XInitialization")
    virtual void initialize(const Sequence<Any>& arguments) = 0;
};

} // namespace com::qam::vexo::lang

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::lang::EventObject, STRUCT, "com.qam.vexo.lang.EventObject")

namespace com::qam::vexo::uno {

class ZEL_UNO_INTERFACE_CLASS XComponentContext : public virtual XInterface {
public:
    ZEL_UNO_INTERFACE(XComponentContext, "com.qam.vexo.uno.XComponentContext")
    // A context value; singletons are "/singletons/<name>".  Void when unknown.
    virtual Any getValueByName(const OUString& name) = 0;
    virtual Reference<::com::qam::vexo::lang::XMultiComponentFactory> getServiceManager() = 0;
};

} // namespace com::qam::vexo::uno
