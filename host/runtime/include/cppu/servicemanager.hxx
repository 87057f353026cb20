#pragma once
// The component context and service manager of the runtime.
//
// A context holds named values (singletons as "/singletons/<name>") and a
// service manager that creates services by name with the context.  Services
// are registered as constructors, or as a component library and the name of
// its exported constructor function, which is loaded on first use as the
// host's service manager does:
//
//   extern "C" zel::uno::XInterface* NAME(zel::uno::XComponentContext*,
//                                         zel::uno::Sequence<zel::uno::Any> const&);
//
// The function returns a new object with one reference for the caller.

#include <com/qam/vexo/lang/interfaces.hxx>

#include <functional>

namespace cppu {

using ServiceConstructor = std::function<::zel::uno::Reference<::zel::uno::XInterface>(
    const ::zel::uno::Reference<::zel::uno::XComponentContext>&, const ::zel::uno::Sequence<::zel::uno::Any>&)>;

// The C signature of a component library's exported constructor function.
using ComponentConstructorFunction = ::zel::uno::XInterface* (*)(::zel::uno::XComponentContext*,
                                                                 const ::zel::uno::Sequence<::zel::uno::Any>&);

// A new, empty context with its own service manager.
SALQX_DLLPUBLIC ::zel::uno::Reference<::zel::uno::XComponentContext> createComponentContext();

// Registers (or replaces) a service of the context's service manager.
SALQX_DLLPUBLIC void registerService(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context,
                                     const OUString& serviceName, ServiceConstructor constructor);
// libraryFile is a file name resolved in the runtime's program directory, or an absolute path.
SALQX_DLLPUBLIC void registerComponentLibrary(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context,
                                              const OUString& serviceName, const OString& libraryFile,
                                              const OString& constructorSymbol);
SALQX_DLLPUBLIC void revokeService(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context,
                                   const OUString& serviceName);
// Sets a context value ("/singletons/..." for singletons); a void value removes it.
SALQX_DLLPUBLIC void setContextValue(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context,
                                     const OUString& name, const ::zel::uno::Any& value);
// Drops every service, value and singleton of the context (breaking references
// from singletons back to the context), so that the context can go.
SALQX_DLLPUBLIC void disposeComponentContext(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context);

// Loads a component library (dlopen) and returns its exported function, or nullptr;
// *error receives the loader's message on failure.
SALQX_DLLPUBLIC ComponentConstructorFunction loadComponentConstructor(const OString& libraryFile,
                                                                      const OString& constructorSymbol,
                                                                      OString* error = nullptr);

} // namespace cppu
