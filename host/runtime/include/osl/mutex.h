#pragma once
// Recursive mutexes.
#include <sal/types.h>

extern "C" {
using oslMutex = struct oslMutexImpl*;
SALQX_DLLPUBLIC oslMutex osl_createMutex();
SALQX_DLLPUBLIC void osl_destroyMutex(oslMutex m);
SALQX_DLLPUBLIC bool osl_acquireMutex(oslMutex m);
SALQX_DLLPUBLIC bool osl_tryToAcquireMutex(oslMutex m);
SALQX_DLLPUBLIC bool osl_releaseMutex(oslMutex m);
}
