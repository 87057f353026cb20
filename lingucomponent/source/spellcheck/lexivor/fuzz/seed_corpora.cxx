// seed_corpora PACKAGE RFILE_DIR VM_DIR
//
// Seeds the fuzzers' corpora from a real rule package: the package itself for
// lxrfile_fuzz, and each piece of its rule code (from one code reference of a
// rule to the next, at most 4096 bytes, the most lxvm_fuzz takes) for
// lxvm_fuzz.  Real inputs reach far deeper into the reader and the machine
// than the fuzzers find from nothing in the same time.
#include <lxrfile.hxx>

#include <osl/file.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

bool writeBytes(const std::filesystem::path& path, const unsigned char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: seed_corpora PACKAGE RFILE_DIR VM_DIR\n");
        return 2;
    }
    const std::filesystem::path package = std::filesystem::absolute(argv[1]);
    const std::filesystem::path rfileDir = argv[2], vmDir = argv[3];
    std::error_code error;
    std::filesystem::create_directories(rfileDir, error);
    std::filesystem::create_directories(vmDir, error);

    std::ifstream in(package, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string stem = package.stem().string();
    if (bytes.empty() || !writeBytes(rfileDir / (stem + ".lxr"), bytes.data(), bytes.size())) {
        std::fprintf(stderr, "seed_corpora: cannot copy %s\n", package.c_str());
        return 1;
    }

    OUString url;
    const OUString path = OUString::fromUtf8(package.string());
    if (osl_getFileURLFromSystemPath(path.pData, &url.pData) != osl_File_E_None) return 1;
    const auto file = lexivor::RuleFile::load(url);
    if (!file) {
        std::fprintf(stderr, "seed_corpora: %s is not a usable rule package\n", package.c_str());
        return 1;
    }
    // Code references are 1 + an offset into the code section.
    std::set<sal_uInt32> starts;
    for (sal_uInt32 i = 0; i < file->ruleCount(); ++i) {
        const lexivor::Rule rule = file->getRule(i);
        for (sal_uInt32 ref : {rule.condition, rule.suggestionCode, rule.messageCode})
            if (ref != 0 && ref - 1 < file->codeSize()) starts.insert(ref - 1);
    }
    constexpr sal_uInt32 maxInput = 4096;
    for (auto it = starts.begin(); it != starts.end(); ++it) {
        const sal_uInt32 end = std::next(it) == starts.end() ? file->codeSize() : *std::next(it);
        const sal_uInt32 size = std::min(end - *it, maxInput);
        const auto name = stem + "-code-" + std::to_string(*it);
        if (!writeBytes(vmDir / name, file->codeBegin() + *it, size)) {
            std::fprintf(stderr, "seed_corpora: cannot write %s\n", (vmDir / name).c_str());
            return 1;
        }
    }
    std::printf("seeded %s with 1 package and %s with %zu pieces of code\n", rfileDir.c_str(), vmDir.c_str(),
                starts.size());
    return 0;
}
