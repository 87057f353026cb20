// Proofreading throughput and start-up of the command-line proofreader.
//
// The text is real English that this project did not write: every licence
// under /usr/share/common-licenses (symbolic links skipped), split into
// paragraphs as proofread splits files.  The rules are a generated package of
// 500 rules of the shapes real packages have: literal words and phrases,
// alternations, word classes, about a third with conditions (word lists,
// options, pattern constants, group comparisons, a few spelling questions).
// It is written twice, once with the trigram keys that a rule compiler would
// store and once with every key 0, into two trees; one service object is made
// for each (discovery reads $BRAND_BASE_DIR when it runs), so that both are
// checked with the same locale in the same process.
//
// The English package that the build installs (share/lexivor/en.lxr) is
// measured the same way: as built, and with every trigram key cleared.
//
// Reported: paragraphs and bytes (UTF-8 of the checked paragraphs) per second
// for both packages, the share of rule x paragraph pairs that the pre-check
// skips, and, for proofread as a separate process, the time until it is
// ready to check and its peak resident size.

#include "textmap.hxx"

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <com/qam/vexo/linguistic2/proofreading.hxx>
#include <cppu/servicemanager.hxx>
#include <languagetag/languagetag.hxx>
#include <lxrfile.hxx>
#include <officehost/services.hxx>
#include <osl/module.h>

#include <benchmark/benchmark.h>
#include <unicode/locid.h>
#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <random>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace linguistic2 = com::qam::vexo::linguistic2;
using testsupport::lexivor::PackageBuilder;
using testsupport::lexivor::RuleSpec;
using zel::uno::Reference;

// ---------------------------------------------------------------------------
// The generated package.

// Words of ordinary prose, some of them frequent in licence texts, so that a
// realistic share of rules actually matches and runs its condition.
const char* const commonWords[] = {
    "the", "of", "and", "to", "in", "that", "is", "for", "this", "with", "you", "any", "or", "not", "be",
    "by", "are", "as", "on", "it", "may", "which", "work", "license", "software", "program", "code",
    "source", "under", "such", "terms", "all", "copy", "other", "from", "an", "if", "use", "have",
    "free", "version", "rights", "distribute", "modify", "covered", "each", "without", "must", "these",
    "so", "their", "its", "can", "only", "more", "one", "will", "would", "should", "could", "also",
    "into", "those", "there", "than", "some", "what", "when", "make", "made", "part", "whole", "notice",
    "permission", "provided", "including", "patent", "warranty", "party", "parties", "law", "public",
};
// Words and phrases that real rules look for and that good text rarely has.
const char* const rareWords[] = {
    "alot", "irregardless", "alright", "untill", "recieve", "seperate", "definately", "occured",
    "wich", "thier", "becuase", "accomodate", "arguement", "begining", "beleive", "calender",
    "commited", "concious", "enviroment", "existance", "foriegn", "goverment", "harrass", "independant",
    "liason", "millenium", "neccessary", "noticable", "occurence", "persue", "posession", "prefered",
    "publically", "refered", "relevent", "remeber", "sieze", "supercede", "tommorow", "truely",
    "wierd", "yeild", "acheive", "agressive", "apparantly", "basicly", "bizzare", "carribean",
};
const char* const suffixes[] = {"ly", "ing", "ed", "tion", "ness", "ment", "able", "ful"};

std::string pick(std::mt19937& rng, const char* const* words, std::size_t count) {
    return words[std::uniform_int_distribution<std::size_t>(0, count - 1)(rng)];
}
template <std::size_t N>
std::string pick(std::mt19937& rng, const char* const (&words)[N]) {
    return pick(rng, words, N);
}

// The key of the most selective trigram of a lower-case literal, which every
// match of a rule containing the literal contains.  Each rule shape below names
// its longest literal run; like a rule compiler, the benchmark then keys the rule
// on the trigram that ordinary English text is least likely to contain, judged by
// the letters' frequencies in English (a blank counts as the most frequent).
double letterFrequency(unsigned char c) {
    static const double percent[26] = {8.2, 1.5, 2.8, 4.3, 12.7, 2.2, 2.0, 6.1, 7.0, 0.15, 0.8, 4.0, 2.4,
                                       6.7, 7.5, 1.9, 0.1, 6.0, 6.3, 9.1, 2.8, 1.0, 2.4, 0.15, 2.0, 0.07};
    if (c >= 'a' && c <= 'z') return percent[c - 'a'];
    if (c == ' ') return 18.0;
    return 1.0;
}

std::uint32_t keyOf(const std::string& literal) {
    if (literal.size() < 3) return 0;
    std::size_t best = 0;
    double bestScore = 0;
    for (std::size_t i = 0; i + 3 <= literal.size(); ++i) {
        double score = 1;
        for (std::size_t k = 0; k < 3; ++k) score *= letterFrequency(static_cast<unsigned char>(literal[i + k]));
        if (i == 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return lexivor::trigramKey(static_cast<unsigned char>(literal[best]), static_cast<unsigned char>(literal[best + 1]),
                               static_cast<unsigned char>(literal[best + 2]));
}

std::string capitalInitial(const std::string& w) {
    std::string out = "[" + std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])))) +
                      w.substr(0, 1) + "]" + w.substr(1);
    return out;
}

constexpr int shapeCount = 10;
const char* const shapeNames[shapeCount] = {
    "rare word", "rare word", "phrase", "phrase", "alternation", "alternation + word",
    "word + class", "class + suffix", "repeated class", "word + capital",
};

// Every generated rule's shape, in rule order.
std::vector<int> ruleShapes;

std::vector<unsigned char> makeBenchPackage(bool withTrigrams) {
    std::mt19937 rng(20261210);
    ruleShapes.clear();
    PackageBuilder b;
    b.name("Bench").displayName("benchmark rules").description("500 generated rules").languageTag("en-US");
    b.option("style", true);
    b.option("picky", false);
    std::vector<std::string> exceptions;
    for (int i = 0; i < 40; ++i) exceptions.push_back(pick(rng, commonWords));
    const std::uint32_t exceptionList = b.wordList(exceptions);
    const std::uint32_t suffixPattern = b.pattern("(?:ly|ing|ed)$");
    const std::uint32_t capitalPattern = b.pattern("^[A-Z]");

    const std::uint32_t conditions[] = {
        // the group is not one of the accepted words
        b.code("PushGroup 1\nLower\nPushConstant " + std::to_string(exceptionList) + "\nNotIn\nReturn\n"),
        // an option is on
        b.code("PushNone\nPushString \"style\"\nCall 0 2\nReturn\n"),
        // the group does not end like an adverb or participle
        b.code("PushGroup 1\nSearch " + std::to_string(suffixPattern) + "\nNot\nReturn\n"),
        // the group is not capitalised and differs from a fixed word
        b.code("PushGroup 1\nMatch " + std::to_string(capitalPattern) +
               "\nJumpIfTrue no\nPop\nPushGroup 1\nPushString \"the\"\nNotEqual\nReturn\nno:\nNot\nReturn\n"),
    };
    const std::uint32_t spellCondition = b.code("PushNone\nPushGroup 1\nCall 1 2\nNot\nReturn\n");
    const std::uint32_t capitalizeSuggestion = b.code("PushGroup 1\nCapitalize\nReturn\n");

    for (int i = 0; i < 500; ++i) {
        RuleSpec r;
        std::string literal; // the literal that gives the trigram, lower case
        const int shape = i % 10;
        switch (shape) {
        case 0:
        case 1: { // a misspelt or unwanted word
            literal = pick(rng, rareWords);
            r.pattern = "\\b(" + (i % 3 == 0 ? capitalInitial(literal) : literal) + ")\\b";
            r.suggestion = "\\1";
            break;
        }
        case 2:
        case 3: { // a phrase of two or three words
            const std::string a = pick(rng, commonWords), c = pick(rng, commonWords);
            literal = a + " " + c;
            if (shape == 3) literal += " " + pick(rng, rareWords);
            r.pattern = "(?i)\\b(" + literal + ")\\b";
            r.suggestion = "\\1|" + c;
            break;
        }
        case 4: { // alternation of rare words
            r.pattern = "\\b(" + pick(rng, rareWords) + "|" + pick(rng, rareWords) + "|" + pick(rng, rareWords) + ")\\b";
            r.suggestion = "\\1";
            break;
        }
        case 5: { // alternation followed by a literal word
            const std::string w = pick(rng, commonWords);
            literal = " " + w;
            r.pattern = "\\b(" + pick(rng, commonWords) + "|" + pick(rng, commonWords) + ")" + literal + "\\b";
            r.suggestion = "\\1";
            break;
        }
        case 6: { // a word class around a literal
            const std::string w = pick(rng, commonWords);
            literal = w + " ";
            r.pattern = "\\b" + w + " (\\w+)" + pick(rng, suffixes) + "\\b";
            r.suggestion = "\\1";
            break;
        }
        case 7: { // a word class with a literal suffix
            literal = pick(rng, suffixes) + " " + pick(rng, commonWords);
            r.pattern = "\\b(\\w+)" + literal + "\\b";
            r.suggestion = "\\1";
            break;
        }
        case 8: { // doubled or repeated word class
            const std::string w = pick(rng, commonWords);
            literal = " " + w + " ";
            r.pattern = "\\b(\\w{" + std::to_string(3 + i % 5) + ",}) (?:" + w + ") \\1\\b";
            r.suggestion = "\\1";
            break;
        }
        case 9: { // capitalised word after a literal
            const std::string w = pick(rng, commonWords);
            literal = w + " ";
            r.pattern = "\\b" + w + " ([A-Z]\\w+)\\b";
            r.suggestion = "\\1";
            break;
        }
        }
        r.message = "Rule " + std::to_string(i) + ": check \"\\1\".";
        if (i % 3 == 0) r.condition = conditions[(i / 3) % 4];
        // A few rules of rare words ask the spell checker.
        if ((shape == 0 || shape == 1) && i % 50 == 0) r.condition = spellCondition;
        if (i % 7 == 0) r.suggestionCode = capitalizeSuggestion;
        if (withTrigrams) r.trigram = keyOf(literal);
        b.rule(r);
        ruleShapes.push_back(shape);
    }
    return b.build();
}

// ---------------------------------------------------------------------------
// Texts, trees and services.

struct Corpus {
    std::vector<proofread::Paragraph> paragraphs;
    std::size_t bytes = 0; // UTF-8 bytes of the paragraph texts
};

const Corpus& corpus() {
    static const Corpus c = [] {
        Corpus c;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses"))
            if (entry.is_regular_file() && !entry.is_symlink()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            std::ostringstream s;
            s << in.rdbuf();
            auto text = proofread::decodeUtf8(s.str());
            if (!text) continue;
            for (auto& p : proofread::splitParagraphs(*text)) {
                c.bytes += proofread::encodeUtf8(p.text).size();
                c.paragraphs.push_back(std::move(p));
            }
        }
        return c;
    }();
    return c;
}

// The installed English package as bytes, and a copy without trigram keys.
std::vector<unsigned char> readEnglishPackage() {
    std::ifstream in(QX_EN_PACKAGE_FILE, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        std::cerr << "cannot read " << QX_EN_PACKAGE_FILE << "\n";
        std::exit(1);
    }
    return bytes;
}

std::vector<unsigned char> withoutTrigrams(std::vector<unsigned char> package) {
    const std::uint32_t ruleCount = testsupport::lexivor::getU32(package, testsupport::lexivor::header::ruleCount);
    const std::uint32_t ruleOffset = testsupport::lexivor::getU32(package, testsupport::lexivor::header::ruleOffset);
    for (std::uint32_t i = 0; i < ruleCount; ++i)
        testsupport::lexivor::putU32(package, ruleOffset + i * lexivor::ruleRecordSize + 8, 0);
    return package;
}

fs::path makeTree(const std::string& name, const std::vector<unsigned char>& package) {
    const fs::path root = fs::temp_directory_path() / ("proofread-bench-" + std::to_string(::getpid())) / name;
    fs::create_directories(root / "share/lexivor");
    std::ofstream out(root / "share/lexivor/bench.lxr", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(package.data()), static_cast<std::streamsize>(package.size()));
    return root;
}

std::string programDirectory() {
    OUString dir;
    if (!osl_getProgramDirectory(&dir.pData)) return {};
    return proofread::encodeUtf8(dir.view());
}

// A proofreading service that discovered the packages of one tree.
Reference<linguistic2::XProofreader> makeService(const fs::path& tree) {
    static const cppu::ComponentConstructorFunction create =
        cppu::loadComponentConstructor(OString((programDirectory() + "/liblexivor.so").c_str()),
                                       OString("lingucomponent_Lexivor_get_implementation"));
    if (create == nullptr) {
        std::cerr << "cannot load liblexivor.so\n";
        std::exit(1);
    }
    ::setenv("BRAND_BASE_DIR", tree.c_str(), 1);
    Reference<zel::uno::XInterface> component(create(nullptr, {}), zel::uno::SAL_NO_ACQUIRE);
    Reference<linguistic2::XProofreader> service(component, zel::uno::UNO_QUERY);
    // Discovery runs now, while the variable names this tree.
    if (!service || !service->hasLocale(LanguageTag::convertToLocale(u"en-US"))) {
        std::cerr << "no en-US package in " << tree << "\n";
        std::exit(1);
    }
    return service;
}

std::size_t checkAll(const Reference<linguistic2::XProofreader>& service) {
    static const com::qam::vexo::lang::Locale locale = LanguageTag::convertToLocale(u"en-US");
    std::size_t errors = 0;
    for (const auto& p : corpus().paragraphs) {
        const OUString text(std::u16string_view(p.text));
        errors += static_cast<std::size_t>(
            service->doProofreading(u"bench", text, locale, 0, text.getLength(), {}).aErrors.getLength());
    }
    return errors;
}

// The share of rule x paragraph pairs whose trigram the paragraph lacks,
// computed here the way the checker's pre-check decides.
double skippedShare(const std::vector<unsigned char>& package) {
    std::vector<std::uint32_t> keys;
    const std::uint32_t ruleCount = testsupport::lexivor::getU32(package, testsupport::lexivor::header::ruleCount);
    const std::uint32_t ruleOffset = testsupport::lexivor::getU32(package, testsupport::lexivor::header::ruleOffset);
    for (std::uint32_t i = 0; i < ruleCount; ++i)
        keys.push_back(testsupport::lexivor::getU32(package, ruleOffset + i * lexivor::ruleRecordSize + 8));
    std::size_t skipped = 0, pairs = 0;
    for (const auto& p : corpus().paragraphs) {
        icu::UnicodeString lowered(false, p.text.data(), static_cast<int32_t>(p.text.size()));
        lowered.toLower(icu::Locale::getRoot());
        std::bitset<8192> present;
        for (int32_t i = 0; i + 2 < lowered.length(); ++i)
            present.set(lexivor::trigramKey(lowered[i], lowered[i + 1], lowered[i + 2]));
        for (std::uint32_t k : keys) {
            ++pairs;
            if (k != 0 && !present.test(k)) ++skipped;
        }
    }
    return pairs == 0 ? 0.0 : double(skipped) / double(pairs);
}

struct Setup {
    explicit Setup(bool english = false)
        : withKeys(english ? readEnglishPackage() : makeBenchPackage(true)),
          withoutKeys(english ? withoutTrigrams(withKeys) : makeBenchPackage(false)),
          treeWith(makeTree(english ? "en-with" : "with", withKeys)),
          treeWithout(makeTree(english ? "en-without" : "without", withoutKeys)), skipShare(skippedShare(withKeys)) {
        run();
    }
    std::vector<unsigned char> withKeys;
    std::vector<unsigned char> withoutKeys;
    fs::path treeWith;
    fs::path treeWithout;
    Reference<linguistic2::XProofreader> precheck;
    Reference<linguistic2::XProofreader> noPrecheck;
    double skipShare = 0;
    double coldSeconds = 0; // the first pass: loading and compiling the rules
    std::size_t errorsWith = 0, errorsWithout = 0;

    void run() {
        // One host for the whole process, shut down after the last setup.
        static const struct Host {
            Host() { officehost::initProcessContext(); }
            ~Host() { officehost::shutdownProcessContext(); }
        } host;
        precheck = makeService(treeWith);
        noPrecheck = makeService(treeWithout);
        const auto start = std::chrono::steady_clock::now();
        errorsWith = checkAll(precheck);
        coldSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        errorsWithout = checkAll(noPrecheck);
        if (errorsWith != errorsWithout) {
            std::cerr << "the pre-check changed the result: " << errorsWith << " errors with it, " << errorsWithout
                      << " without\n";
            std::exit(1);
        }
    }
    ~Setup() {
        precheck.clear();
        noPrecheck.clear();
        std::error_code ignored;
        fs::remove_all(treeWith.parent_path(), ignored);
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

Setup& englishSetup() {
    static Setup s(true);
    return s;
}

// Where the time goes: each rule's expression alone, with ICU, on the
// paragraphs that the pre-check lets through, summed by rule shape.
void BM_RegexTimeByShape(benchmark::State& state) {
    const int shape = static_cast<int>(state.range(0));
    Setup& s = setup();
    struct Compiled {
        std::unique_ptr<icu::RegexMatcher> matcher;
        std::uint32_t key;
    };
    std::vector<Compiled> rules;
    const std::uint32_t ruleCount = testsupport::lexivor::getU32(s.withKeys, testsupport::lexivor::header::ruleCount);
    const std::uint32_t ruleOffset = testsupport::lexivor::getU32(s.withKeys, testsupport::lexivor::header::ruleOffset);
    const std::uint32_t poolOffset =
        testsupport::lexivor::getU32(s.withKeys, testsupport::lexivor::header::stringPoolOffset);
    for (std::uint32_t i = 0; i < ruleCount; ++i) {
        if (ruleShapes[i] != shape) continue;
        const std::size_t record = ruleOffset + i * lexivor::ruleRecordSize;
        const char* pattern =
            reinterpret_cast<const char*>(s.withKeys.data()) + poolOffset + testsupport::lexivor::getU32(s.withKeys, record);
        UErrorCode status = U_ZERO_ERROR;
        auto m = std::make_unique<icu::RegexMatcher>(icu::UnicodeString::fromUTF8(pattern), 0, status);
        if (U_FAILURE(status)) continue;
        rules.push_back({std::move(m), testsupport::lexivor::getU32(s.withKeys, record + 8)});
    }
    std::vector<std::bitset<8192>> present;
    for (const auto& p : corpus().paragraphs) {
        icu::UnicodeString lowered(false, p.text.data(), static_cast<int32_t>(p.text.size()));
        lowered.toLower(icu::Locale::getRoot());
        std::bitset<8192> bits;
        for (int32_t i = 0; i + 2 < lowered.length(); ++i)
            bits.set(lexivor::trigramKey(lowered[i], lowered[i + 1], lowered[i + 2]));
        present.push_back(bits);
    }
    std::size_t matches = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < corpus().paragraphs.size(); ++k) {
            const auto& p = corpus().paragraphs[k];
            const icu::UnicodeString text(false, p.text.data(), static_cast<int32_t>(p.text.size()));
            for (auto& r : rules) {
                if (r.key != 0 && !present[k].test(r.key)) continue;
                r.matcher->reset(text);
                UErrorCode status = U_ZERO_ERROR;
                while (r.matcher->find(status) && U_SUCCESS(status)) ++matches;
            }
        }
    }
    benchmark::DoNotOptimize(matches);
    state.counters["rules"] = static_cast<double>(rules.size());
    state.counters["matches_per_pass"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
    state.SetLabel(shapeNames[shape]);
}

void reportThroughput(benchmark::State& state, std::size_t errors, const Setup& s = setup()) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * corpus().paragraphs.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus().bytes));
    state.counters["paragraphs"] = static_cast<double>(corpus().paragraphs.size());
    state.counters["errors"] = static_cast<double>(errors);
    state.counters["skipped_share"] = s.skipShare;
    state.counters["cold_first_pass_ms"] = s.coldSeconds * 1000.0;
}

void BM_CheckLicences_WithPrecheck(benchmark::State& state) {
    Setup& s = setup();
    std::size_t errors = 0;
    for (auto _ : state) benchmark::DoNotOptimize(errors = checkAll(s.precheck));
    reportThroughput(state, errors);
}

void BM_CheckLicences_WithoutPrecheck(benchmark::State& state) {
    Setup& s = setup();
    std::size_t errors = 0;
    for (auto _ : state) benchmark::DoNotOptimize(errors = checkAll(s.noPrecheck));
    reportThroughput(state, errors);
}

// The English package as built (trigram keys derived by the rule compiler)
// and with its keys cleared.
void BM_CheckLicences_English_WithPrecheck(benchmark::State& state) {
    Setup& s = englishSetup();
    std::size_t errors = 0;
    for (auto _ : state) benchmark::DoNotOptimize(errors = checkAll(s.precheck));
    reportThroughput(state, errors, s);
}

void BM_CheckLicences_English_WithoutPrecheck(benchmark::State& state) {
    Setup& s = englishSetup();
    std::size_t errors = 0;
    for (auto _ : state) benchmark::DoNotOptimize(errors = checkAll(s.noPrecheck));
    reportThroughput(state, errors, s);
}

// ---------------------------------------------------------------------------
// proofread as a process.

struct ProcessRun {
    double seconds = 0;
    double cpuSeconds = 0; // user + system time of the child
    double maxResidentMiB = 0;
    int status = -1;
};

// Runs proofread through rss_probe (see there why) and reads back what the
// probe saw; wall time is measured here and includes the probe's own start.
ProcessRun runProofread(const std::vector<std::string>& args, const fs::path& input, const fs::path& brandBase) {
    static const fs::path report = fs::temp_directory_path() / ("proofread-bench-probe-" + std::to_string(::getpid()));
    std::vector<std::string> argStrings{RSS_PROBE_EXECUTABLE, report.string(), PROOFREAD_EXECUTABLE};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string_view(*e).rfind("BRAND_BASE_DIR=", 0) != 0) envStrings.emplace_back(*e);
    if (!brandBase.empty()) envStrings.push_back("BRAND_BASE_DIR=" + brandBase.string());
    std::vector<char*> envp;
    for (auto& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long maxResidentKiB = 0, cpuMicroseconds = 0;
    std::ifstream in(report);
    if (!(in >> maxResidentKiB >> cpuMicroseconds >> run.status)) run.status = -1;
    run.maxResidentMiB = static_cast<double>(maxResidentKiB) / 1024.0;
    run.cpuSeconds = static_cast<double>(cpuMicroseconds) / 1e6;
    return run;
}

fs::path shortInput() {
    // One paragraph that loads the package and runs every rule, but asks no
    // spelling question: no hyphenated word for the spelling rule to test.
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / ("proofread-bench-input-" + std::to_string(::getpid()));
        std::ofstream(p) << "We could of gone there in a hour.\n";
        return p;
    }();
    return path;
}

// Start to exit of `proofread --lang en-US` on one short paragraph with the
// English package: host start, component load, package discovery and load,
// one check.  An upper bound of the time until it is ready to check.
void BM_ProofreadReadyToCheck(benchmark::State& state) {
    ProcessRun last;
    double cpu = 0;
    for (auto _ : state) {
        last = runProofread({"--lang", "en-US"}, shortInput(), {});
        if (last.status != 1) state.SkipWithError("proofread did not report the error in the short input");
        state.SetIterationTime(last.seconds);
        cpu += last.cpuSeconds;
    }
    state.counters["max_rss_MiB"] = last.maxResidentMiB;
    // Wall time includes waiting for a core on a busy machine; this does not.
    state.counters["child_cpu_ms"] = cpu * 1000.0 / static_cast<double>(state.iterations());
}

// proofread on every licence text at once, with the English package of the
// build tree or with the 500-rule package.
void BM_ProofreadAllLicences(benchmark::State& state) {
    const bool generated = state.range(0) != 0;
    std::vector<std::string> args{"--lang", "en-US"};
    for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses"))
        if (entry.is_regular_file() && !entry.is_symlink()) args.push_back(entry.path().string());
    ProcessRun last;
    for (auto _ : state) {
        last = runProofread(args, "/dev/null", generated ? setup().treeWith : fs::path());
        if (last.status != 0 && last.status != 1) state.SkipWithError("proofread failed");
        state.SetIterationTime(last.seconds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus().bytes));
    state.counters["max_rss_MiB"] = last.maxResidentMiB;
    state.counters["child_cpu_ms"] = last.cpuSeconds * 1000.0;
    state.SetLabel(generated ? "500 generated rules" : "English package");
}

BENCHMARK(BM_CheckLicences_WithPrecheck)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckLicences_WithoutPrecheck)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckLicences_English_WithPrecheck)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckLicences_English_WithoutPrecheck)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RegexTimeByShape)->DenseRange(0, shapeCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProofreadReadyToCheck)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ProofreadAllLicences)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
