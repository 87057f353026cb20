// The literal that every match of an expression contains, and that it is never wrong.

#include "lxliteral.hxx"

#include <unicode/regex.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(RequiredLiteral, NamesTheTextsThatEveryMatchContains) {
    struct Case {
        const char16_t* pattern;
        sal_uInt32 flags;
        std::vector<OUString> texts;
    };
    const Case cases[] = {
        {u"\\b(could|would) of\\b", 0, {u"could", u"would"}},
        {u"\\b(\\w+)ly of\\b", 0, {u"ly of"}},
        {u"\\b(\\w{3,}) (?:the) \\1\\b", 0, {u"the"}},
        {u"\\bcolou?r\\b", 0, {u"colo"}},
        {u"\\ba+rgh\\b", 0, {u"rgh"}},
        {u"(?:abc)+x", 0, {u"abc"}},
        {u"(?:abc)?xy", 0, {u"xy"}},
        {u"(?:abc){0,3}", 0, {}},
        {u"(?<!a)bcd(?=efg)", 0, {u"bcd"}},
        {u"(?<name>def)ghij", 0, {u"ghij"}},
        {u"e\\.g\\.", 0, {u"e.g."}},
        {u"[abc]de[f-h]", 0, {u"de"}},
        {u"[[:alpha:]&&[^x]]yz", 0, {u"yz"}},
        {u"\\p{L}+ing\\b", 0, {u"ing"}},
        {u"a|bc", 0, {}},             // an alternative without a literal
        {u"\\b(colour|color|tint)s?\\b", 0, {u"colour", u"color", u"tint"}},
        {u"\\b(?:an|a) (ab|c)", 0, {}},
        {u"(?:an|the)+ (?:big|small) apple", 0, {u" apple"}},
        {u"(?:an|the)? (?:biggest|smallest) pie", 0, {u"biggest", u"smallest"}},
        {u"(?i)the end", 0, {}},      // inline flags
        {u"the end", UREGEX_CASE_INSENSITIVE, {}},
        {u"the # end", UREGEX_COMMENTS, {}},
        {u"\\Qa.b\\E", 0, {}},
        {u"ab(", 0, {}},              // malformed
        {u"ab)", 0, {}},
        {u"a{x}bc", 0, {}},
        {u"x", 0, {}},                // too short to pay off
        {u"a.b", UREGEX_LITERAL, {u"a.b"}},
        {u"\U0001F600?ab", 0, {u"ab"}}, // an optional astral character is dropped whole
        {u"\U0001F600ab", 0, {u"\U0001F600ab"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.pattern).toUtf8().getStr());
        EXPECT_EQ(lexivor::requiredText(OUString(c.pattern), c.flags), c.texts);
    }
}

// For every expression and text: a text with a match always contains the literal.
TEST(RequiredLiteral, NeverRejectsATextThatMatches) {
    const char16_t* patterns[] = {
        u"\\b(\\w+)ly of\\b", u"\\bcolou?r\\b", u"(?:ab)+c", u"(?<=x)yz+", u"a(?:bc|d)e", u"\\bnot\\s+only\\b",
        u"e\\.g\\. ", u"[,;] but\\b", u"(\\w+) \\1", u"\\d{2,}%", u"\\bi\\.e\\b", u"\\b(colou?r|hue)s?\\b",
        u"(?:ab|cd)+e",
    };
    const char16_t* texts[] = {
        u"badly of course", u"color and colour", u"ababc", u"xyzzz", u"abce ade", u"not  only that",
        u"e.g. this", u"yes, but no", u"the the", u"42% off", u"i.e here", u"", u"nothing at all",
    };
    for (const char16_t* p : patterns) {
        const OUString pattern(p);
        const std::vector<OUString> required = lexivor::requiredText(pattern, 0);
        UErrorCode status = U_ZERO_ERROR;
        UParseError parseError{};
        std::unique_ptr<icu::RegexPattern> regex(
            icu::RegexPattern::compile(icu::UnicodeString(pattern.getStr(), pattern.getLength()), 0, parseError, status));
        ASSERT_TRUE(U_SUCCESS(status));
        for (const char16_t* t : texts) {
            SCOPED_TRACE(pattern.toUtf8().getStr() + std::string(" on ") + OUString(t).toUtf8().getStr());
            const icu::UnicodeString text(t);
            std::unique_ptr<icu::RegexMatcher> m(regex->matcher(text, status));
            const bool matches = m->find(status);
            if (matches && !required.empty()) {
                EXPECT_TRUE(std::any_of(required.begin(), required.end(),
                                        [t](const OUString& r) { return OUString(t).indexOf(r) >= 0; }));
            }
        }
    }
}

} // namespace
