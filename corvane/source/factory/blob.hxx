#pragma once
// Blob construction, for the factory and the units that hand image data on.

#include <corvane/XBlob.hxx>

namespace corvane::detail {

// A new blob holding the arguments exactly as given (the byte sequence shared).
::zel::uno::Reference<XBlob> createBlob(const ::zel::uno::Sequence<signed char>& bytes,
                                        const ::com::qam::vexo::beans::Optional<OUString>& contentType,
                                        const ::com::qam::vexo::beans::Optional<OUString>& name);

} // namespace corvane::detail
