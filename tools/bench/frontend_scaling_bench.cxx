// How proofread's time grows with a paragraph full of findings.
//
// The input is the worst case for mapping findings to lines and columns: one
// line of doubled words ("the the the ..."), where the doubled-word rule of
// the sample package finds an error at nearly every word.  Sizes grow by a
// factor of 4, so that linear time shows as a factor of about 4 from one size
// to the next (and quadratic time as 16).
//
// BM_PositionMap maps every word start of the paragraph, as proofread maps
// every finding; BM_ProofreadDoubledWords runs the built proofread on a file
// with that line, with the sample package of the build tree, output to
// /dev/null.

#include "textmap.hxx"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

std::string doubledWords(std::size_t bytes) {
    std::string line;
    line.reserve(bytes + 4);
    while (line.size() < bytes) line += "the ";
    line.resize(bytes);
    return line;
}

void BM_PositionMap(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const auto paragraphs = proofread::splitParagraphs(*proofread::decodeUtf8(doubledWords(bytes)));
    const proofread::Paragraph& p = paragraphs.front();
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < p.text.size(); i += 4) starts.push_back(i);
    for (auto _ : state) {
        const proofread::PositionMap map(p);
        std::size_t sum = 0;
        for (std::size_t s : starts) sum += map.at(s).column;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["findings"] = static_cast<double>(starts.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_ProofreadDoubledWords(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path input =
        std::filesystem::temp_directory_path() / ("proofread-scaling-" + std::to_string(bytes) + ".txt");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out << doubledWords(bytes) << '\n';
    }
    std::string program = PROOFREAD_EXECUTABLE, lang = "--lang", tag = "en-US", file = input.string();
    char* argv[] = {program.data(), lang.data(), tag.data(), file.data(), nullptr};
    ::setenv("BRAND_BASE_DIR", QX_BUILD_DIR, 1);
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start proofread");
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 1) {
            state.SkipWithError("proofread did not report the doubled words");
            break;
        }
    }
    std::filesystem::remove(input);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

} // namespace

BENCHMARK(BM_PositionMap)->RangeMultiplier(4)->Range(64 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProofreadDoubledWords)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK_MAIN();
