#pragma once
// Fixed-size types and the export macro of the host runtime.

#include <cstddef>
#include <cstdint>

using sal_Bool = bool;
using sal_Int8 = std::int8_t;
using sal_uInt8 = std::uint8_t;
using sal_Int16 = std::int16_t;
using sal_uInt16 = std::uint16_t;
using sal_Int32 = std::int32_t;
using sal_uInt32 = std::uint32_t;
using sal_Int64 = std::int64_t;
using sal_uInt64 = std::uint64_t;
using sal_Unicode = char16_t;
using sal_Size = std::size_t;

#define SAL_DLLPUBLIC_EXPORT __attribute__((visibility("default")))
#define SAL_DLLPUBLIC_IMPORT __attribute__((visibility("default")))

// Each library defines its own QX_BUILDING_<LIB> and exports through this.
#define SALQX_DLLPUBLIC SAL_DLLPUBLIC_EXPORT

#define SAL_N_ELEMENTS(arr) (sizeof(arr) / sizeof((arr)[0]))

// Runtime start and end of a process that uses the host's runtime.
extern "C" {
SALQX_DLLPUBLIC void sal_detail_initialize(int argc, char** argv);
SALQX_DLLPUBLIC void sal_detail_deinitialize();
}
