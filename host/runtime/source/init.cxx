// Start and end of the runtime in a process.  The arguments are kept for the
// runtime's own use; nothing in the stand-in reads them back yet.

#include <sal/types.h>

#include "strimpl.hxx"

#include <mutex>
#include <string>
#include <vector>

namespace {

std::mutex g_argsMutex;
std::vector<std::string> g_args;

} // namespace

extern "C" {

void sal_detail_initialize(int argc, char** argv) {
    {
        std::lock_guard g(g_argsMutex);
        g_args.clear();
        for (int i = 0; argv != nullptr && i < argc; ++i)
            if (argv[i] != nullptr) g_args.emplace_back(argv[i]);
    }
    salqx::reloadLogSettings();
}

void sal_detail_deinitialize() {
    std::lock_guard g(g_argsMutex);
    std::vector<std::string>().swap(g_args);
}

} // extern "C"
