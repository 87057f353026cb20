#pragma once
// The process's component context, as the host sets it up at start.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace comphelper {

// The process context; created empty on first use when nobody has set one.
// The host's core library (libmergedqx) fills it with the office services.
SALQX_DLLPUBLIC ::zel::uno::Reference<::zel::uno::XComponentContext> getProcessComponentContext();
// Replaces the process context (an empty reference drops it).
SALQX_DLLPUBLIC void setProcessComponentContext(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context);

} // namespace comphelper
