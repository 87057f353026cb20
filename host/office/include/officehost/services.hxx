#pragma once
// Start-up of the host stand-in: the office services in the process context.
//
// Each area of libmergedqx (desktop, text, linguistic, configuration, ...)
// registers its services with a ServiceRegistration object at namespace scope
// in one of its source files:
//
//   static officehost::ServiceRegistration registration(&registerDesktopServices);
//
// and initProcessContext() (what the host does at start) runs all of them on
// the process component context.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace officehost {

using RegisterFunction = void (*)(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context);

struct SAL_DLLPUBLIC_EXPORT ServiceRegistration {
    explicit ServiceRegistration(RegisterFunction fn);
};

// Registers every area's services into context.
SAL_DLLPUBLIC_EXPORT void registerServices(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context);

// Makes a new process component context with all office services and installs it
// (comphelper::setProcessComponentContext); returns it.  Calling it again replaces
// the context with a fresh one, which gives tests a clean host.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::zel::uno::XComponentContext> initProcessContext();
// Disposes the process context and removes it, so that nothing of the host outlives it.
SAL_DLLPUBLIC_EXPORT void shutdownProcessContext();

} // namespace officehost
