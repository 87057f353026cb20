// How the translation routine's time grows with the alternatives of one group.
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

namespace {

OUString urlOf(const std::filesystem::path& path) {
    OUString url;
    osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(path.string()), url);
    return url;
}

void BM_TranslateOneLargeGroup(benchmark::State& state) {
    const auto alternatives = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::filesystem::path in = dir / ("relocale-bench-" + std::to_string(alternatives) + ".txt");
    const std::filesystem::path out = dir / ("relocale-bench-" + std::to_string(alternatives) + ".out");
    std::string document;
    for (std::size_t i = 0; i < alternatives; ++i) document += "[[lang=zz-t" + std::to_string(i) + "]]" + std::to_string(i);
    document += "[[/lang]]\n";
    std::ofstream(in, std::ios::binary | std::ios::trunc) << document;
    const OUString inUrl = urlOf(in), outUrl = urlOf(out);
    const OUString language = OUString::fromUtf8("zz-t" + std::to_string(alternatives - 1));
    for (auto _ : state) {
        if (desktop::l10n::translateDocument(inUrl, outUrl, language) != 0) {
            state.SkipWithError("the document was not translated");
            break;
        }
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    state.counters["bytes"] = static_cast<double>(document.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

} // namespace

BENCHMARK(BM_TranslateOneLargeGroup)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
