// Rule machine and package lookups on typical rule code.  Every benchmark also
// reports heap allocations per iteration ("allocs"), counted by wrapping malloc.
//
//   build/<dir>/benchmarks/lexivor_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "FakeHost.hxx"

#include <lxrfile.hxx>
#include <lxvm.hxx>

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <benchmark/benchmark.h>

#include <unicode/regex.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::size_t g_allocations = 0;
} // namespace

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t n) {
    ++g_allocations;
    return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t m) {
    ++g_allocations;
    return __libc_calloc(n, m);
}
void* realloc(void* p, std::size_t n) {
    ++g_allocations;
    return __libc_realloc(p, n);
}
}

namespace {

using testsupport::lexivor::PackageBuilder;
using testsupport::lexivor::TempPackage;

std::string word(int i) { return "word" + std::to_string(i * 3); }

// A package with a word list and a word map of 1000 entries each, two options,
// and the expressions the benchmarks run; a text with a matcher on "quick".
struct Setup {
    Setup() {
        std::vector<std::string> words;
        std::vector<std::pair<std::string, std::string>> map;
        for (int i = 0; i < 1000; ++i) {
            words.push_back(word(i));
            map.emplace_back(word(i), "value" + std::to_string(i));
        }
        words.push_back("quick");
        b.wordList(words);
        b.wordMap(map);
        b.option("style", false);
        b.option("typo", true);
        b.rule({.pattern = "\\b(\\w+)\\b"});
        minimal = b.code("PushBoolean 1\nReturn");
        groupOnly = b.code("PushGroup 1\nReturn");
        groupInList = b.code("PushGroup 1\nPushConstant 0\nIn\nReturn");
        optionCall = b.code("PushNone\nPushString \"typo\"\nCall 0 2\nReturn");
        stringOp = b.code("PushGroup 1\nUpper\nPushString \"QUICK\"\nEqual\nReturn");
        condition = b.code(R"(
            PushGroup 1
            PushConstant 0
            In
            JumpIfFalse done
            Pop
            PushNone
            PushString "typo"
            Call 0 2
        done:
            Return)");
        temp = std::make_unique<TempPackage>(b.build());
        file = lexivor::RuleFile::load(temp->url());
        if (!file) std::abort();
        host.setFile(file.get());
        UErrorCode status = U_ZERO_ERROR;
        matcher = std::make_unique<icu::RegexMatcher>(u"\\b(q\\w+)\\b", 0, status);
        input = icu::UnicodeString(text.getStr(), text.getLength());
        matcher->reset(input);
        if (U_FAILURE(status) || !matcher->find()) std::abort();
    }

    lexivor::Value run(std::uint32_t ref) {
        const lexivor::Context ctx{*file, locale, text, options, matcher.get(), host};
        return lexivor::run(ctx, file->getCode(ref));
    }

    PackageBuilder b;
    std::uint32_t minimal = 0, groupOnly = 0, groupInList = 0, optionCall = 0, stringOp = 0, condition = 0;
    std::unique_ptr<TempPackage> temp;
    std::shared_ptr<const lexivor::RuleFile> file;
    lexivor::test::FakeHost host;
    com::qam::vexo::lang::Locale locale{u"en", u"US", u""};
    OUString text = u"the quick brown fox";
    std::vector<bool> options{false, true};
    icu::UnicodeString input;
    std::unique_ptr<icu::RegexMatcher> matcher;
};

Setup& setup() {
    static Setup s;
    return s;
}

void runCode(benchmark::State& state, std::uint32_t Setup::*code, bool expected) {
    Setup& s = setup();
    const std::uint32_t ref = s.*code;
    if (s.run(ref).isTrue() != expected) state.SkipWithError("unexpected result");
    const std::size_t before = g_allocations;
    for (auto _ : state) {
        lexivor::Value v = s.run(ref);
        benchmark::DoNotOptimize(v);
    }
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(g_allocations - before), benchmark::Counter::kAvgIterations);
}

void BM_RunMinimal(benchmark::State& state) { runCode(state, &Setup::minimal, true); }
void BM_RunGroupOnly(benchmark::State& state) { runCode(state, &Setup::groupOnly, true); }
void BM_RunGroupInWordList(benchmark::State& state) { runCode(state, &Setup::groupInList, true); }
void BM_RunOptionCall(benchmark::State& state) { runCode(state, &Setup::optionCall, true); }
void BM_RunShortStringOperation(benchmark::State& state) { runCode(state, &Setup::stringOp, true); }
void BM_RunTypicalCondition(benchmark::State& state) { runCode(state, &Setup::condition, true); }

void lookup(benchmark::State& state, bool map) {
    Setup& s = setup();
    std::vector<std::string> keys;
    for (int i = 0; i < 64; ++i) keys.push_back(word(i * 37 % 1000 + (i % 2 == 0 ? 0 : 1000))); // half miss
    std::size_t found = 0, i = 0;
    const std::size_t before = g_allocations;
    for (auto _ : state) {
        const std::string& k = keys[i++ & 63];
        if (map)
            found += s.file->constantLookup(1, k).has_value();
        else
            found += s.file->constantContains(0, k);
    }
    benchmark::DoNotOptimize(found);
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(g_allocations - before), benchmark::Counter::kAvgIterations);
}

void BM_WordListLookup(benchmark::State& state) { lookup(state, false); }
void BM_WordMapLookup(benchmark::State& state) { lookup(state, true); }

BENCHMARK(BM_RunMinimal);
BENCHMARK(BM_RunGroupOnly);
BENCHMARK(BM_RunGroupInWordList);
BENCHMARK(BM_RunOptionCall);
BENCHMARK(BM_RunShortStringOperation);
BENCHMARK(BM_RunTypicalCondition);
BENCHMARK(BM_WordListLookup);
BENCHMARK(BM_WordMapLookup);

} // namespace

BENCHMARK_MAIN();
