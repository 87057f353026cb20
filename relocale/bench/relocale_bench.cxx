// How the translation routine's time grows with the alternatives of a group.
//
// One group of N alternatives, each with a tag of its own ("zz-t0", "zz-t1",
// ...), about 18 bytes each; resolved for the last tag, so that every
// alternative is parsed, checked against the others for a repeated tag, and
// searched.  Sizes grow by a factor of 4: linear time shows as a factor of
// about 4 from one size to the next, quadratic time as 16.

#include <desktop/l10n.hxx>

#include <osl/file.hxx>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

OUString urlOf(const std::filesystem::path& path) {
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(path.string()), url);
    return url;
}

// Translates `document` for `language` in a loop.
void translateRepeatedly(benchmark::State& state, const std::string& document, const std::string& language) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string stem = "relocale-bench-" + std::to_string(::getpid());
    const std::filesystem::path in = dir / (stem + ".txt"), out = dir / (stem + ".out");
    std::ofstream(in, std::ios::binary | std::ios::trunc) << document;
    const OUString inUrl = urlOf(in), outUrl = urlOf(out);
    const OUString tag = OUString::fromUtf8(language);
    for (auto _ : state) {
        if (desktop::l10n::translateDocument(inUrl, outUrl, tag) != 0) {
            state.SkipWithError("the document was not translated");
            break;
        }
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    state.counters["bytes"] = static_cast<double>(document.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

void BM_TranslateOneLargeGroup(benchmark::State& state) {
    const auto alternatives = static_cast<std::size_t>(state.range(0));
    std::string document;
    for (std::size_t i = 0; i < alternatives; ++i) document += "[[lang=zz-t" + std::to_string(i) + "]]" + std::to_string(i);
    document += "[[/lang]]\n";
    translateRepeatedly(state, document, "zz-t" + std::to_string(alternatives - 1));
}

// One large group, then as many small ones: what one group leaves behind must
// not slow down the others.
void BM_TranslateLargeGroupThenSmallOnes(benchmark::State& state) {
    const auto alternatives = static_cast<std::size_t>(state.range(0));
    std::string document;
    for (std::size_t i = 0; i < alternatives; ++i) document += "[[lang=zz-t" + std::to_string(i) + "]]" + std::to_string(i);
    document += "[[/lang]]\n";
    for (std::size_t i = 0; i < alternatives; ++i) document += "[[lang=en]]yes[[lang=de]]ja[[/lang]]\n";
    translateRepeatedly(state, document, "de");
}

} // namespace

BENCHMARK(BM_TranslateLargeGroupThenSmallOnes)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TranslateOneLargeGroup)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
