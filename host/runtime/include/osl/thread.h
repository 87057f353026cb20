#pragma once
#include <rtl/textenc.h>

extern "C" {
// The text encoding of the process's locale (UTF-8 unless the locale says otherwise).
SALQX_DLLPUBLIC rtl_TextEncoding osl_getThreadTextEncoding();
}
