#pragma once
// Loading shared libraries.
#include <rtl/ustring.h>

extern "C" {
using oslModule = void*;
// libraryPath: a system path (absolute, or a file name looked up beside libsalqx.so).
SALQX_DLLPUBLIC oslModule osl_loadModuleAscii(const char* libraryPath);
SALQX_DLLPUBLIC void* osl_getAsciiFunctionSymbol(oslModule module, const char* symbol);
SALQX_DLLPUBLIC void osl_unloadModule(oslModule module);
// The system path of the directory holding libsalqx.so (the program directory).
SALQX_DLLPUBLIC bool osl_getProgramDirectory(rtl_uString** systemPath);
}
