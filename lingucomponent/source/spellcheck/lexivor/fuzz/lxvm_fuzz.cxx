// Runs arbitrary bytes as rule code on a package with one constant of every
// kind and a few options, with a matcher positioned on a match, and with a
// host that answers like a real one.  Every suffix of the code section is also
// a valid expression start, so the input is run from a few starting points.
#include "FakeHost.hxx"

#include <lxrfile.hxx>
#include <lxvm.hxx>

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <unicode/regex.h>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) return 0;
    testsupport::lexivor::PackageBuilder b;
    b.rule({.pattern = "(\\w+) (\\w+)?"});
    b.option("typo", true);
    b.option("style", false);
    b.wordList({"a", "colour", "foo bar", "x"});
    b.wordMap({{"a", "b"}, {"colour", "color"}});
    b.pattern("([a-z]+)");
    b.pattern("(");
    b.rawConstant({9, 1, 0, 0});
    const std::uint32_t ref = b.rawCode(std::vector<unsigned char>(data, data + size));
    const testsupport::lexivor::TempPackage temp(b.build());
    const auto file = lexivor::RuleFile::load(temp.url());
    if (!file) __builtin_trap();

    lexivor::test::FakeHost host(file.get());
    host.correctWords = {"a"};
    host.answer = u"st:x";
    host.listAnswer = {u"one", u"two"};
    const com::qam::vexo::lang::Locale locale{u"en", u"US", u""};
    const OUString text = u"Teh quick fox jumps";
    const std::vector<bool> options = {true, false};
    UErrorCode status = U_ZERO_ERROR;
    icu::RegexMatcher matcher(u"(\\w+) (\\w+)?", 0, status);
    const icu::UnicodeString input(text.getStr(), text.getLength());
    matcher.reset(input);
    matcher.find(status);
    const lexivor::Context ctx{*file, locale, text, options, &matcher, host};

    std::size_t sink = 0;
    for (std::size_t start : {std::size_t(0), size / 2, size - 1}) {
        // Smaller bounds than the checker's keep the fuzzer fast; the bounded
        // paths are the same.
        const lexivor::Value v = lexivor::run(ctx, file->getCode(ref + static_cast<std::uint32_t>(start)),
                                              lexivor::RunLimits{20000, 1u << 20});
        sink += v.isTrue();
        host.calls.clear();
    }
    return sink == 99 ? 1 : 0;
}
