#pragma once
#include <com/qam/vexo/lang/interfaces.hxx>

namespace cppu {
// Whether name is one of the implementation's supported service names.
SALQX_DLLPUBLIC bool supportsService(::com::qam::vexo::lang::XServiceInfo* implementation, const OUString& name);
} // namespace cppu
