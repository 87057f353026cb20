// Shared libraries through dlopen, and the program directory.
//
// A plain file name is looked up in the program directory (where libsalqx.so
// lives, as all of the suite's libraries do) before the system's search path, so a
// component is found beside the runtime whatever LD_LIBRARY_PATH says.  Libraries are
// bound at once and kept local; dlerror() is left for the caller to read.

#include <osl/module.h>

#include "strimpl.hxx"

#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

std::string computeProgramDirectory() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&computeProgramDirectory), &info) == 0 || info.dli_fname == nullptr)
        return {};
    // The loader's name may be relative or hold "..", e.g. from a RUNPATH of
    // "$ORIGIN/../program"; the canonical path gives clean URLs.
    char* resolved = ::realpath(info.dli_fname, nullptr);
    if (resolved == nullptr) return {};
    std::string file(resolved);
    std::free(resolved);
    std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : file.substr(0, slash);
}

} // namespace

namespace salqx {

const std::string& programDirectoryBytes() {
    static const std::string dir = computeProgramDirectory();
    return dir;
}

} // namespace salqx

extern "C" {

oslModule osl_loadModuleAscii(const char* libraryPath) {
    if (libraryPath == nullptr || *libraryPath == 0) return nullptr;
    std::string path(libraryPath);
    if (path.find('/') == std::string::npos && !salqx::programDirectoryBytes().empty()) {
        std::string beside = salqx::programDirectoryBytes() + "/" + path;
        if (::access(beside.c_str(), F_OK) == 0) path = beside;
    }
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* osl_getAsciiFunctionSymbol(oslModule module, const char* symbol) {
    if (module == nullptr || symbol == nullptr) return nullptr;
    return ::dlsym(module, symbol);
}

void osl_unloadModule(oslModule module) {
    if (module != nullptr) ::dlclose(module);
}

bool osl_getProgramDirectory(rtl_uString** systemPath) {
    const std::string& dir = salqx::programDirectoryBytes();
    std::u16string text;
    if (systemPath == nullptr || dir.empty() || !salqx::decodeUtf8(dir, text, true)) return false;
    salqx::assign(systemPath, text);
    return true;
}

} // extern "C"
