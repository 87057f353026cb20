#pragma once
#include <osl/file.h>

extern "C" {
enum oslProcessError { osl_Process_E_None, osl_Process_E_Unknown };
// The working directory as a file URL.
SALQX_DLLPUBLIC oslProcessError osl_getProcessWorkingDir(rtl_uString** workingDirURL);
}
