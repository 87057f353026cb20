#pragma once
// Optional results of the scripting model: a presence flag with a value.

#include <com/qam/vexo/beans/values.hxx>

namespace corvane {

template <class T>
using Optional = ::com::qam::vexo::beans::Optional<T>;

} // namespace corvane
