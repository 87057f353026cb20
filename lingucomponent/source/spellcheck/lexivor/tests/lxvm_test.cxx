#include "VmFixture.hxx"

#include <lxops.hxx>

#include <testsupport/LogCapture.hxx>

#include <unicode/regex.h>

#include <gtest/gtest.h>

namespace lexivor {

void PrintTo(const Value& v, std::ostream* os) {
    switch (v.kind) {
    case Value::Kind::None:
        *os << "None";
        return;
    case Value::Kind::Boolean:
        *os << "Boolean(" << (v.flag ? "true" : "false") << ")";
        return;
    case Value::Kind::Integer:
        *os << "Integer(" << v.number << ")";
        return;
    case Value::Kind::String:
        *os << "String(\"" << v.str << "\")";
        return;
    case Value::Kind::List:
        *os << "List(";
        for (std::size_t i = 0; i < v.items.size(); ++i) *os << (i ? ", \"" : "\"") << v.items[i] << "\"";
        *os << ")";
        return;
    case Value::Kind::Constant:
        *os << "Constant(" << v.number << ")";
        return;
    }
}

} // namespace lexivor

namespace {

using namespace lexivor;
using namespace lexivor::test;
using testsupport::LogCapture;

constexpr char area[] = "lingucomponent.lexivor";

struct Case {
    const char* name;
    const char* code;
    Value expected;
};

void expectAll(Vm& vm, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "\n" + c.code);
        EXPECT_EQ(vm.eval(c.code), c.expected);
    }
}

// ---------------------------------------------------------------------------
// Control flow and malformed code

TEST(VmRun, NoCodeRunsToNone) {
    Vm vm;
    vm.eval("PushInteger 1\nReturn");
    EXPECT_EQ(vm.runRef(0), N());
    const Context ctx{*vm.file, vm.locale, vm.text, vm.options, nullptr, vm.host};
    const unsigned char elsewhere[] = {0x03, 1, 0, 0, 0, 0x00};
    EXPECT_EQ(run(ctx, elsewhere), N());
    EXPECT_EQ(run(ctx, vm.file->codeEnd()), N());
    EXPECT_EQ(run(ctx, vm.file->codeBegin()), I(1));
}

TEST(VmRun, PackageWithoutCodeRunsToNone) {
    Vm vm;
    vm.load(vm.builder);
    EXPECT_EQ(vm.file->codeSize(), 0u);
    const Context ctx{*vm.file, vm.locale, vm.text, vm.options, nullptr, vm.host};
    const unsigned char code[] = {0x03, 1, 0, 0, 0, 0x00};
    EXPECT_EQ(run(ctx, code), N());
    EXPECT_EQ(run(ctx, vm.file->getCode(1)), N());
}

TEST(VmRun, MalformedCodeEndsWithNone) {
    Vm vm;
    expectAll(vm, {
        {"falls off the end with a value on the stack", "PushBoolean 1", N()},
        {"returns the top", "PushBoolean 1\nReturn", B(true)},
        {"returns a copy of the top, not the bottom", "PushInteger 1\nPushInteger 2\nReturn", I(2)},
        {"return on an empty stack", "Return", N()},
        {"operand bytes FF FF FF FF are -1", ".byte 2 0xff 0xff 0xff 0xff 0", I(-1)},
        {"PushString cut off after two operand bytes", "PushInteger 1\n.byte 1 0x01 0x00", N()},
        {"PushInteger cut off after three bytes", ".byte 2 1 0 0", N()},
        {"Jump with no operand at all", "PushInteger 1\n.byte 17", N()},
        {"Call cut off after one byte", "PushInteger 1\n.byte 34 0", N()},
        {"empty stack pops give None", "Pop\nPop\nNot\nReturn", B(true)},
    });
}

TEST(VmRun, UnknownOpcodeIsLoggedAndEndsTheRun) {
    for (unsigned op : {36u, 200u, 255u}) {
        SCOPED_TRACE(op);
        Vm vm;
        LogCapture log(area);
        EXPECT_EQ(vm.evalBytes({0x02, 1, 0, 0, 0, static_cast<unsigned char>(op), 0x00}), N());
        EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"opcode " + std::to_string(op) + " is not implemented"}));
    }
}

TEST(VmRun, JumpTargetsAreMeasuredFromTheExpressionStart) {
    Vm vm;
    // Code before the expression in the section: targets must not count it.
    vm.builder.code("PushInteger 99\nPushInteger 98\nReturn");
    expectAll(vm, {
        {"forward jump over a push", R"(
            PushInteger 1
            Jump done
            PushInteger 2
        done:
            Return)", I(1)},
        {"backward jump", R"(
            Jump second
        first:
            PushInteger 7
            Return
        second:
            Jump first)", I(7)},
    });
}

TEST(VmRun, JumpTargetAtTheEndOfTheSectionEndsTheRun) {
    // PushInteger (5 bytes) + Jump (5 bytes) + Return (1 byte): 11 bytes to the end.
    Vm vm;
    expectAll(vm, {
        {"target = distance to the end", "PushInteger 5\nJump 11\nReturn", N()},
        {"target one below continues at the last byte", "PushInteger 5\nJump 10\nReturn", I(5)},
        {"far beyond", "PushInteger 5\nJump 0xFFFFFFFF\nReturn", N()},
    });
}

TEST(VmRun, ConditionalJumpsLookAtTheTopWithoutPopping) {
    Vm vm;
    expectAll(vm, {
        {"JumpIfFalse on an empty stack does not jump", "JumpIfFalse 200\nPushInteger 1\nReturn", I(1)},
        {"JumpIfTrue on an empty stack does not jump", "JumpIfTrue 200\nPushInteger 1\nReturn", I(1)},
        {"JumpIfFalse jumps on false and keeps it", R"(
            PushBoolean 0
            JumpIfFalse out
            PushInteger 1
        out:
            Return)", B(false)},
        {"JumpIfFalse falls through on true", R"(
            PushString "x"
            JumpIfFalse out
            PushInteger 1
        out:
            Return)", I(1)},
        {"JumpIfTrue jumps on a truthy Constant", R"(
            PushConstant 77
            JumpIfTrue out
            PushInteger 1
        out:
            Return)", C(77)},
        {"JumpIfTrue falls through on None", R"(
            PushNone
            JumpIfTrue out
            PushInteger 1
        out:
            Return)", I(1)},
        {"an untaken jump is not checked", "PushBoolean 1\nJumpIfFalse 5000\nReturn", B(true)},
    });
}

TEST(VmRun, EndlessLoopIsCutOffWithAWarning) {
    Vm vm;
    LogCapture log(area);
    EXPECT_EQ(vm.eval("loop:\nPushInteger 1\nPop\nJump loop"), N());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"rule code stopped after 1000000 instructions"}));
}

TEST(VmRun, InstructionBoundCountsExecutedInstructions) {
    Vm vm;
    std::string code;
    for (int i = 0; i < 9; ++i) code += "PushInteger " + std::to_string(i) + "\n";
    code += "Return";
    vm.eval(code);
    const Context ctx{*vm.file, vm.locale, vm.text, vm.options, nullptr, vm.host};
    LogCapture log(area);
    // Ten instructions: a bound of ten lets Return run, nine stops just before it.
    EXPECT_EQ(run(ctx, vm.file->codeBegin(), RunLimits{10, maxWork}), I(8));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(run(ctx, vm.file->codeBegin(), RunLimits{9, maxWork}), N());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"rule code stopped after 9 instructions"}));
}

TEST(VmRun, WorkBoundCountsTheUnitsOfStringOperations) {
    Vm vm;
    vm.text = u"abcd";
    vm.eval("PushText\nUpper\nReturn");
    const Context ctx{*vm.file, vm.locale, vm.text, vm.options, nullptr, vm.host};
    LogCapture log(area);
    // Upper reads four units and produces four.
    EXPECT_EQ(run(ctx, vm.file->codeBegin(), RunLimits{maxInstructions, 8}), S(u"ABCD"));
    EXPECT_EQ(run(ctx, vm.file->codeBegin(), RunLimits{maxInstructions, 7}), N());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"rule code stopped: it used more than 7 units of work"}));
}

TEST(VmRun, LoopThatGrowsAStringIsCutOffWithAWarning) {
    Vm vm;
    vm.text = OUString(std::u16string(4096, u'a'));
    LogCapture log(area);
    EXPECT_EQ(vm.eval("PushText\nloop:\nPushText\nConcat\nJump loop"), N());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"rule code stopped: it used more than 67108864 units of work"}));
}

TEST(VmRun, ReplaceThatWouldGrowWithoutEndIsCutOff) {
    Vm vm;
    LogCapture log(area);
    EXPECT_EQ(vm.eval(R"(
        PushString "a"
        PushString "a"
        PushString "aa"
        PushInteger 2147483647
        Replace
        Return)"), N());
    EXPECT_EQ(log.texts(SALQX_LOG_WARN),
              (std::vector<std::string>{"rule code stopped: it used more than 67108864 units of work"}));
}

TEST(VmRun, DeepStackMovesToTheHeapAndKeepsItsValues) {
    Vm vm;
    std::string code;
    for (int i = 0; i < 40; ++i) code += "PushInteger " + std::to_string(i) + "\n";
    for (int i = 0; i < 39; ++i) code += "Pop\n";
    code += "Return";
    EXPECT_EQ(vm.eval(code), I(0));
}

// ---------------------------------------------------------------------------
// Values

TEST(VmValue, Truthiness) {
    Vm vm;
    vm.host.listAnswer = {u"x"};
    struct T {
        const char* push;
        bool truthy;
    };
    const T cases[] = {
        {"PushNone", false},
        {"PushNoneAlt", false},
        {"PushBoolean 0", false},
        {"PushBoolean 2", true},
        {"PushInteger 0", false},
        {"PushInteger -1", true},
        {"PushString \"\"", false},
        {"PushString \"0\"", true},
        {"PushConstant 0", true},
        {"PushConstant 4000000000", true},
        {"PushNone\nPushString \"w\"\nCall 4 2", true}, // a List with one item
    };
    for (const T& c : cases) {
        SCOPED_TRACE(c.push);
        EXPECT_EQ(vm.eval(std::string(c.push) + "\nBool\nReturn"), B(c.truthy));
        EXPECT_EQ(vm.eval(std::string(c.push) + "\nNot\nReturn"), B(!c.truthy));
    }
    vm.host.listAnswer = {};
    EXPECT_EQ(vm.eval("PushNone\nPushString \"w\"\nCall 4 2\nBool\nReturn"), B(false));
    EXPECT_FALSE(Value().isTrue());
    EXPECT_TRUE(Value::constant(0).isTrue());
    EXPECT_FALSE(Value::list({}).isTrue());
}

TEST(VmValue, PushInstructions) {
    Vm vm;
    vm.text = u"Teh cat";
    vm.locale = {u"pt", u"BR", u"x"};
    expectAll(vm, {
        {"PushString", "PushString \"caf\xC3\xA9\"\nReturn", S(u"café")},
        {"PushString of an out-of-range reference", "PushString 0xFFFFFFFF\nReturn", S(u"")},
        {"PushInteger", "PushInteger -2147483648\nReturn", I(-2147483647 - 1)},
        {"PushBoolean", "PushBoolean 0\nReturn", B(false)},
        {"PushNone", "PushNone\nReturn", N()},
        {"PushConstant is not checked", "PushConstant 123456\nReturn", C(123456)},
        {"PushText", "PushText\nReturn", S(u"Teh cat")},
        {"PushTextAlt", "PushTextAlt\nReturn", S(u"Teh cat")},
        {"PushLanguage", "PushLanguage\nReturn", S(u"pt")},
        {"PushCountry", "PushCountry\nReturn", S(u"BR")},
    });
}

TEST(VmValue, GroupsOfTheCurrentMatch) {
    Vm vm;
    vm.text = u"the quick fox";
    UErrorCode status = U_ZERO_ERROR;
    icu::RegexMatcher m(u"(qu)(x)?(ick)", 0, status);
    ASSERT_TRUE(U_SUCCESS(status));
    const icu::UnicodeString input(vm.text.getStr(), vm.text.getLength());
    m.reset(input);
    vm.matcher = &m;
    expectAll(vm, {
        {"before any find there is no match", "PushGroup 0\nReturn", N()},
        {"start before any find", "PushGroupStart 0\nReturn", I(-1)},
    });
    ASSERT_TRUE(m.find());
    expectAll(vm, {
        {"whole match", "PushGroup 0\nReturn", S(u"quick")},
        {"group 1", "PushGroup 1\nReturn", S(u"qu")},
        {"group that did not take part", "PushGroup 2\nReturn", N()},
        {"group beyond the pattern", "PushGroup 4\nReturn", N()},
        {"group number read as negative", "PushGroup 0xFFFFFFFF\nReturn", N()},
        {"start", "PushGroupStart 1\nReturn", I(4)},
        {"end", "PushGroupEnd 3\nReturn", I(9)},
        {"start of a group that did not take part", "PushGroupStart 2\nReturn", I(-1)},
        {"end of a group that did not take part", "PushGroupEnd 2\nReturn", I(-1)},
        {"end beyond the pattern", "PushGroupEnd 4\nReturn", I(-1)},
    });
    vm.matcher = nullptr;
    expectAll(vm, {
        {"no matcher", "PushGroup 0\nReturn", N()},
        {"no matcher start", "PushGroupStart 0\nReturn", I(-1)},
        {"no matcher end", "PushGroupEnd 0\nReturn", I(-1)},
    });
}

// ---------------------------------------------------------------------------
// Comparison and membership

TEST(VmOps, Equality) {
    Vm vm;
    vm.host.listAnswer = {u"x"};
    expectAll(vm, {
        {"strings compare exactly", "PushString \"a\"\nPushString \"a\"\nEqual\nReturn", B(true)},
        {"case matters", "PushString \"a\"\nPushString \"A\"\nEqual\nReturn", B(false)},
        {"Integer 0 and Boolean false are different kinds", "PushInteger 0\nPushBoolean 0\nEqual\nReturn", B(false)},
        {"String 1 never equals Integer 1", "PushString \"1\"\nPushInteger 1\nEqual\nReturn", B(false)},
        {"two None values", "PushNone\nPushNoneAlt\nEqual\nReturn", B(true)},
        {"two empty pops", "Equal\nReturn", B(true)},
        {"Integers", "PushInteger 3\nPushInteger 3\nEqual\nReturn", B(true)},
        {"different Integers", "PushInteger 3\nPushInteger -3\nEqual\nReturn", B(false)},
        {"Constants by index", "PushConstant 1\nPushConstant 1\nEqual\nReturn", B(true)},
        {"different Constants", "PushConstant 1\nPushConstant 2\nEqual\nReturn", B(false)},
        {"Constant and Integer", "PushConstant 1\nPushInteger 1\nEqual\nReturn", B(false)},
        {"true and false differ", "PushBoolean 1\nPushBoolean 0\nEqual\nReturn", B(false)},
        {"true and true", "PushBoolean 1\nPushBoolean 5\nEqual\nReturn", B(true)},
        {"empty String and None differ", "PushString \"\"\nPushNone\nEqual\nReturn", B(false)},
        {"Lists with the same items", "PushNone\nPushNone\nCall 4 2\nPushNone\nPushNone\nCall 4 2\nEqual\nReturn",
         B(true)},
        {"NotEqual negates", "PushString \"a\"\nPushString \"A\"\nNotEqual\nReturn", B(true)},
        {"NotEqual of equal values", "PushInteger 0\nPushInteger 0\nNotEqual\nReturn", B(false)},
        {"NotEqual of different kinds", "PushInteger 0\nPushBoolean 0\nNotEqual\nReturn", B(true)},
    });
}

TEST(VmOps, ListsWithDifferentItemsDiffer) {
    Vm vm;
    vm.host.listAnswer = {u"x"};
    // The first list is made with one answer, the second with another.
    const Value a = vm.eval("PushNone\nPushString \"w\"\nCall 4 2\nReturn");
    EXPECT_EQ(a, L({u"x"}));
    vm.host.listAnswer = {u"y"};
    EXPECT_EQ(vm.eval("PushNone\nPushString \"w\"\nCall 4 2\nReturn"), L({u"y"}));
}

TEST(VmOps, Membership) {
    Vm vm;
    vm.builder.wordList({"colour", "caf\xC3\xA9", "\xF0\x9F\x98\x80"});
    vm.builder.wordMap({{"key", "value"}});
    vm.builder.pattern("key");
    vm.host.listAnswer = {u"x"};
    expectAll(vm, {
        {"substring", "PushString \"b\"\nPushString \"abc\"\nIn\nReturn", B(true)},
        {"empty substring", "PushString \"\"\nPushString \"abc\"\nIn\nReturn", B(true)},
        {"not a substring", "PushString \"d\"\nPushString \"abc\"\nIn\nReturn", B(false)},
        {"Lists are never searched", "PushString \"x\"\nPushNone\nPushNone\nCall 4 2\nIn\nReturn", B(false)},
        {"NotIn of the List case", "PushString \"x\"\nPushNone\nPushNone\nCall 4 2\nNotIn\nReturn", B(true)},
        {"word list key", "PushString \"colour\"\nPushConstant 0\nIn\nReturn", B(true)},
        {"word list key with non-ASCII", "PushString \"caf\xC3\xA9\"\nPushConstant 0\nIn\nReturn", B(true)},
        {"word list key outside the BMP", "PushString \"\xF0\x9F\x98\x80\"\nPushConstant 0\nIn\nReturn", B(true)},
        {"word list, not a key", "PushString \"color\"\nPushConstant 0\nIn\nReturn", B(false)},
        {"word map key", "PushString \"key\"\nPushConstant 1\nIn\nReturn", B(true)},
        {"word map value is not a key", "PushString \"value\"\nPushConstant 1\nIn\nReturn", B(false)},
        {"pattern constant", "PushString \"key\"\nPushConstant 2\nIn\nReturn", B(false)},
        {"constant out of range", "PushString \"key\"\nPushConstant 3\nIn\nReturn", B(false)},
        {"NotIn of a constant out of range", "PushString \"key\"\nPushConstant 3\nNotIn\nReturn", B(true)},
        {"an Integer item reads as empty", "PushInteger 1\nPushString \"1\"\nIn\nReturn", B(false)},
        {"String item in an Integer", "PushString \"1\"\nPushInteger 1\nIn\nReturn", B(false)},
        {"NotIn of a substring", "PushString \"b\"\nPushString \"abc\"\nNotIn\nReturn", B(false)},
    });
}

TEST(VmOps, MembershipWithAnUnpairedSurrogateUsesTheRuntimeConversion) {
    Vm vm;
    const OUString lone(u'\xD800');
    const OString bytes = lone.toUtf8();
    vm.builder.wordList({std::string(bytes.view())});
    vm.text = lone;
    EXPECT_EQ(vm.eval("PushText\nPushConstant 0\nIn\nReturn"), B(true));
}

// ---------------------------------------------------------------------------
// String operations

TEST(VmOps, ConcatAndCase) {
    Vm vm;
    expectAll(vm, {
        {"concat", "PushString \"ab\"\nPushString \"cd\"\nConcat\nReturn", S(u"abcd")},
        {"concat reads str of any kind", "PushInteger 4\nPushString \"cd\"\nConcat\nReturn", S(u"cd")},
        {"concat of two pops", "Concat\nReturn", S(u"")},
        {"lower", "PushString \"HeLLo\"\nLower\nReturn", S(u"hello")},
        {"lower uses full mapping", "PushString \"\xC4\xB0\"\nLower\nReturn", S(u"i\u0307")},
        {"upper uses full mapping", "PushString \"stra\xC3\x9F" "e\"\nUpper\nReturn", S(u"STRASSE")},
        {"upper ignores the locale", "PushString \"i\"\nUpper\nReturn", S(u"I")},
        {"upper of None", "PushNone\nUpper\nReturn", S(u"")},
        {"upper leaves a shared string alone", "PushText\nUpper\nPop\nPushText\nReturn", S(u"the paragraph")},
        {"capitalize", "PushString \"hELLO\"\nCapitalize\nReturn", S(u"Hello")},
        {"capitalize empty", "PushString \"\"\nCapitalize\nReturn", S(u"")},
        {"capitalize one unit", "PushString \"x\"\nCapitalize\nReturn", S(u"X")},
        {"capitalize maps the first unit fully", "PushString \"\xC3\x9F" "A\"\nCapitalize\nReturn", S(u"SSa")},
    });
}

TEST(VmOps, Replace) {
    Vm vm;
    const auto replace = [](const char* text, const char* old, const char* repl, const char* count) {
        return std::string("PushString \"") + text + "\"\nPushString \"" + old + "\"\nPushString \"" + repl + "\"\n"
               + count + "\nReplace\nReturn";
    };
    const std::string cases[][2] = {
        {replace("aaa", "a", "b", "PushInteger 2"), "bba"},
        {replace("aaa", "a", "b", "PushInteger 0"), "aaa"},
        {replace("aaa", "a", "b", "PushInteger -1"), "aaa"},
        {replace("aaa", "a", "b", "PushNone"), "bbb"},
        {replace("aaa", "a", "b", "PushString \"2\""), "bbb"},
        {replace("ab", "a", "aa", "PushInteger 2"), "aaab"},
        {replace("ab", "a", "aa", "PushNone"), "aab"},
        {replace("abab", "ab", "", "PushNone"), ""},
        {replace("xyz", "a", "b", "PushInteger 5"), "xyz"},
        {replace("xyz", "", "b", "PushInteger 5"), "xyz"},
        {replace("xyz", "", "b", "PushNone"), "xyz"},
        {replace("aXbXc", "X", "--", "PushInteger 1"), "a--bXc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(vm.eval(c[0]), Value::string(OUString::fromUtf8(c[1])));
    }
}

TEST(VmOps, ReplaceWithLongNeedles) {
    Vm vm;
    const std::string needle(40, 'n');
    const std::string text = "a" + needle + "b" + needle + needle;
    EXPECT_EQ(vm.eval("PushString \"" + text + "\"\nPushString \"" + needle + "\"\nPushString \"-\"\nPushNone\nReplace\nReturn"),
              S(u"a-b--"));
    EXPECT_EQ(vm.eval("PushString \"" + needle + "\"\nPushString \"" + text + "\"\nIn\nReturn"), B(true));
    EXPECT_EQ(vm.eval("PushString \"" + needle + "x\"\nPushString \"" + text + "\"\nIn\nReturn"), B(false));
}

TEST(VmOps, Translate) {
    Vm vm;
    const std::string longFrom = std::string(70, 'q') + "abca";
    expectAll(vm, {
        {"to shorter than from keeps the rest", "PushString \"abc\"\nPushString \"ab\"\nPushString \"x\"\nTranslate\nReturn",
         S(u"xbc")},
        {"first occurrence in from counts", "PushString \"abc\"\nPushString \"aa\"\nPushString \"xy\"\nTranslate\nReturn",
         S(u"xbc")},
        {"full mapping", "PushString \"abc\"\nPushString \"cba\"\nPushString \"123\"\nTranslate\nReturn", S(u"321")},
        {"empty from", "PushString \"abc\"\nPushString \"\"\nPushString \"xyz\"\nTranslate\nReturn", S(u"abc")},
        {"non-string text", "PushInteger 1\nPushString \"a\"\nPushString \"b\"\nTranslate\nReturn", S(u"")},
    });
    // A long `from` takes the indexed path: 'a' first occurs at 70, 'q' at 0.
    const std::string to = "Q" + std::string(69, '.') + "ABC";
    EXPECT_EQ(vm.eval("PushString \"aqcbz\"\nPushString \"" + longFrom + "\"\nPushString \"" + to + "\"\nTranslate\nReturn"),
              S(u"AQCBz"));
}

TEST(VmOps, Slice) {
    Vm vm;
    expectAll(vm, {
        {"negative start, stop None", "PushString \"hello\"\nPushInteger -3\nPushNone\nSlice\nReturn", S(u"llo")},
        {"start after stop", "PushString \"hello\"\nPushInteger 4\nPushInteger 2\nSlice\nReturn", S(u"")},
        {"of an Integer", "PushInteger 5\nPushInteger 0\nPushInteger 2\nSlice\nReturn", N()},
        {"both None", "PushString \"hello\"\nPushNone\nPushNone\nSlice\nReturn", S(u"hello")},
        {"negative stop", "PushString \"hello\"\nPushInteger 1\nPushInteger -1\nSlice\nReturn", S(u"ell")},
        {"start far below", "PushString \"hello\"\nPushInteger -100\nPushInteger 2\nSlice\nReturn", S(u"he")},
        {"stop far beyond", "PushString \"hello\"\nPushInteger 3\nPushInteger 100\nSlice\nReturn", S(u"lo")},
        {"extreme integers", "PushString \"hello\"\nPushInteger -2147483648\nPushInteger 2147483647\nSlice\nReturn",
         S(u"hello")},
        {"non-Integer start reads as 0", "PushString \"hello\"\nPushString \"3\"\nPushInteger 2\nSlice\nReturn", S(u"he")},
        {"empty string", "PushString \"\"\nPushInteger 0\nPushInteger 1\nSlice\nReturn", S(u"")},
    });
}

TEST(VmOps, Index) {
    Vm vm;
    vm.builder.wordMap({{"colour", "color"}});
    vm.builder.wordList({"colour"});
    vm.builder.pattern("colour");
    vm.host.listAnswer = {u"one", u"two", u"three"};
    const char* list = "PushNone\nPushNone\nCall 4 2\n";
    expectAll(vm, {
        {"last unit", "PushString \"hello\"\nPushInteger -1\nIndex\nReturn", S(u"o")},
        {"first unit", "PushString \"hello\"\nPushInteger 0\nIndex\nReturn", S(u"h")},
        {"index at the length", "PushString \"hello\"\nPushInteger 5\nIndex\nReturn", N()},
        {"index far below", "PushString \"hello\"\nPushInteger -6\nIndex\nReturn", N()},
        {"string with a non-Integer index", "PushString \"hello\"\nPushString \"1\"\nIndex\nReturn", N()},
        {"list item", (std::string(list) + "PushInteger 1\nIndex\nReturn").c_str(), S(u"two")},
        {"list from the end", (std::string(list) + "PushInteger -3\nIndex\nReturn").c_str(), S(u"one")},
        {"list -4 of three", (std::string(list) + "PushInteger -4\nIndex\nReturn").c_str(), N()},
        {"list 3 of three", (std::string(list) + "PushInteger 3\nIndex\nReturn").c_str(), N()},
        {"word map value", "PushConstant 0\nPushString \"colour\"\nIndex\nReturn", S(u"color")},
        {"word map missing key", "PushConstant 0\nPushString \"color\"\nIndex\nReturn", N()},
        {"word list finds nothing", "PushConstant 1\nPushString \"colour\"\nIndex\nReturn", N()},
        {"pattern finds nothing", "PushConstant 2\nPushString \"colour\"\nIndex\nReturn", N()},
        {"constant out of range", "PushConstant 3\nPushString \"colour\"\nIndex\nReturn", N()},
        {"Integer indexed", "PushInteger 5\nPushInteger 0\nIndex\nReturn", N()},
        {"None indexed", "PushNone\nPushInteger 0\nIndex\nReturn", N()},
    });
}

// ---------------------------------------------------------------------------
// Pattern instructions

TEST(VmOps, PatternInstructions) {
    Vm vm;
    vm.builder.pattern("([0-9]+)");
    vm.builder.pattern("ab", 2); // case-insensitive: all flag bits are used
    vm.builder.wordList({"ab"});
    vm.builder.pattern("(");   // does not compile
    expectAll(vm, {
        {"search finds inside", "PushString \"no 42 here\"\nSearch 0\nReturn", B(true)},
        {"search finds nothing", "PushString \"none\"\nSearch 0\nReturn", B(false)},
        {"match only at the start", "PushString \"no 42\"\nMatch 0\nReturn", B(false)},
        {"match need not reach the end", "PushString \"42 no\"\nMatch 0\nReturn", B(true)},
        {"flags of the constant", "PushString \"xAB\"\nSearch 1\nReturn", B(true)},
        {"word list is no pattern", "PushString \"ab\"\nSearch 2\nReturn", B(false)},
        {"pattern that does not compile", "PushString \"(\"\nMatch 3\nReturn", B(false)},
        {"missing constant", "PushString \"ab\"\nSearch 9\nReturn", B(false)},
        {"substitute with a group reference", "PushString \"a1b22\"\nPushString \"<$1>\"\nSubstitute 0\nReturn",
         S(u"a<1>b<22>")},
        {"substitute escapes", "PushString \"a1\"\nPushString \"\\\\$\"\nSubstitute 0\nReturn", S(u"a$")},
        {"substitute without match", "PushString \"abc\"\nPushString \"#\"\nSubstitute 0\nReturn", S(u"abc")},
        {"substitute with a bad group keeps the text", "PushString \"a1\"\nPushString \"$9\"\nSubstitute 0\nReturn",
         S(u"a1")},
        {"substitute without pattern keeps the text", "PushString \"ab\"\nPushString \"x\"\nSubstitute 2\nReturn",
         S(u"ab")},
        {"substitute on None", "PushNone\nPushString \"x\"\nSubstitute 0\nReturn", S(u"")},
    });
}

TEST(VmOps, PatternMatcherIsReleasedAfterUse) {
    Vm vm;
    vm.builder.pattern("b+");
    EXPECT_EQ(vm.eval("PushString \"abbbc\"\nSearch 0\nReturn"), B(true));
    icu::RegexMatcher* m = vm.host.getConstantMatcher(0);
    ASSERT_NE(m, nullptr);
    // The run's string is gone; the matcher holds nothing of it.
    EXPECT_EQ(m->input().length(), 0);
}

// ---------------------------------------------------------------------------
// Host functions

TEST(VmCall, Options) {
    Vm vm;
    vm.builder.option("typo", true);
    vm.builder.option("style", false);
    vm.builder.option("extra", true);
    vm.options = {true, false}; // fewer values than options
    expectAll(vm, {
        {"option on", "PushNone\nPushString \"typo\"\nCall 0 2\nReturn", B(true)},
        {"option off", "PushNone\nPushString \"style\"\nCall 0 2\nReturn", B(false)},
        {"option without a value", "PushNone\nPushString \"extra\"\nCall 0 2\nReturn", B(false)},
        {"unknown option", "PushNone\nPushString \"nothing\"\nCall 0 2\nReturn", B(false)},
        {"one argument", "PushString \"typo\"\nCall 0 1\nReturn", B(false)},
        {"three arguments", "PushNone\nPushString \"typo\"\nPushNone\nCall 0 3\nReturn", B(false)},
        {"two arguments on a one-value stack", "PushString \"typo\"\nCall 0 2\nReturn", B(true)},
        {"arguments are popped", "PushInteger 9\nPushNone\nPushString \"typo\"\nCall 0 2\nPop\nReturn", I(9)},
    });
}

TEST(VmCall, MorphologyAndSpellingGoToTheHost) {
    Vm vm;
    vm.host.correctWords = {"good"};
    vm.host.answer = u"st:go";
    vm.host.listAnswer = {u"go", u"went"};
    struct T {
        const char* code;
        Value expected;
        std::vector<std::string> calls;
    };
    const T cases[] = {
        {"PushNone\nPushString \"good\"\nCall 1 2\nReturn", B(true), {"spell(en|good)"}},
        {"PushNone\nPushString \"bad\"\nCall 1 2\nReturn", B(false), {"spell(en|bad)"}},
        {"Call 1 0\nReturn", B(false), {"spell(en|)"}},
        {"PushNone\nPushString \"goes\"\nPushString \"st:\"\nCall 2 3\nReturn", S(u"st:go"),
         {"morph(en|goes|st:|all|every)"}},
        {"PushNone\nPushString \"goes\"\nPushString \"st:\"\nPushBoolean 0\nCall 2 4\nReturn", S(u"st:go"),
         {"morph(en|goes|st:|any|every)"}},
        {"PushNone\nPushString \"goes\"\nPushString \"po:\"\nPushInteger 1\nCall 3 4\nReturn", S(u"st:go"),
         {"morph(en|goes|po:|all|last)"}},
        {"PushNone\nPushString \"went\"\nCall 4 2\nReturn", L({u"go", u"went"}), {"stem(en|went)"}},
        {"PushNone\nPushString \"go\"\nPushString \"walked\"\nCall 5 3\nReturn", L({u"go", u"went"}),
         {"generate(en|go|walked)"}},
        {"PushNone\nPushString \"teh\"\nCall 6 2\nReturn", S(u"st:go"), {"suggest(en|teh)"}},
    };
    for (const T& c : cases) {
        SCOPED_TRACE(c.code);
        vm.host.calls.clear();
        EXPECT_EQ(vm.eval(c.code), c.expected);
        EXPECT_EQ(vm.host.calls, c.calls);
    }
    vm.host.answer = u"";
    EXPECT_EQ(vm.eval("PushNone\nPushString \"x\"\nPushString \"y\"\nCall 2 3\nReturn"), N());
    EXPECT_EQ(vm.eval("PushNone\nPushString \"x\"\nPushString \"y\"\nCall 3 3\nReturn"), N());
    EXPECT_EQ(vm.eval("PushNone\nPushString \"x\"\nCall 6 2\nReturn"), S(u""));
}

TEST(VmCall, WordsAroundAPosition) {
    Vm vm;
    const auto call = [](int f, const char* text, const char* n) {
        return std::string("PushString \"") + text + "\"\n" + n + "\nCall " + std::to_string(f) + " 2\nReturn";
    };
    const std::pair<std::string, const char16_t*> cases[] = {
        {call(7, " foo bar", "PushInteger 2"), u"bar"},
        {call(7, " foo bar", "PushInteger 1"), u"foo"},
        {call(7, " foo bar", "PushNone"), u"foo"},
        {call(7, " foo, bar", "PushInteger 2"), u""},
        {call(7, "foo", "PushInteger 1"), u""},
        {call(7, " foo  bar", "PushInteger 2"), u""},
        {call(7, " foo bar", "PushInteger 3"), u""},
        {call(7, " foo", "PushInteger 0"), u""},
        {call(7, " 50% x_y.z-w", "PushInteger 2"), u"x_y.z-w"},
        {call(7, " ", "PushInteger 1"), u""},
        {call(8, "foo bar ", "PushInteger 1"), u"bar"},
        {call(8, "foo bar ", "PushInteger 2"), u"foo"},
        {call(8, "x-ray ", "PushInteger 1"), u"x-ray"},
        {call(8, "foo bar", "PushInteger 1"), u""},
        {call(8, "foo,bar ", "PushInteger 2"), u""},
        {call(8, "foo bar ", "PushInteger 3"), u""},
        {call(8, "foo bar ", "PushInteger -1"), u""},
        {call(8, " ", "PushInteger 1"), u""},
        {call(8, "\xC3\xA9t\xC3\xA9 ", "PushString \"1\""), u"été"},
        {"PushString \" a\"\nCall 7 1\nReturn", u"a"},
        {"Call 8 0\nReturn", u""},
    };
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(vm.eval(code), S(expected));
    }
}

TEST(VmCall, NumberTextAndMeasurement) {
    Vm vm;
    vm.host.answer = u"twenty-one";
    struct T {
        const char* code;
        Value expected;
        std::vector<std::string> calls;
    };
    const T cases[] = {
        {"PushString \"NUMBERTEXT\"\nPushString \"21\"\nPushString \"en-US\"\nCall 9 3\nReturn", S(u"twenty-one"),
         {"numberText(21|en-US)"}},
        {"PushString \"numbertext\"\nPushString \"21\"\nPushString \"en-US\"\nCall 9 3\nReturn", N(), {}},
        {"PushString \"2\"\nPushString \"km\"\nPushString \"m\"\nPushString \" m\"\nCall 10 4\nReturn",
         S(u"twenty-one"), {"measurement(2|km|m| m|,||plain)"}},
        {"PushString \"2\"\nPushString \"km\"\nPushString \"m\"\nPushString \" m\"\nPushString \";\"\nCall 10 5\nReturn",
         S(u"twenty-one"), {"measurement(2|km|m| m|,||plain)"}},
        {"PushString \"2\"\nPushString \"ft\"\nPushString \"m\"\nPushString \" m\"\nPushString \",\"\nPushString "
         "\".\"\nCall 10 6\nReturn",
         S(u"twenty-one"), {"measurement(2|ft|m| m|,|.|fractions)"}},
    };
    for (const T& c : cases) {
        SCOPED_TRACE(c.code);
        vm.host.calls.clear();
        EXPECT_EQ(vm.eval(c.code), c.expected);
        EXPECT_EQ(vm.host.calls, c.calls);
    }
}

TEST(VmCall, SuggestForeign) {
    Vm vm;
    vm.builder.wordList({"cafe caf\xC3\xA9", "cafe caff\xC3\xA8", "cafes caf\xC3\xA9s", "cafe", "naive na\xC3\xAFve"});
    vm.builder.wordMap({{"cafe", "x"}});
    expectAll(vm, {
        {"every matching entry, in table (byte) order", "PushString \"cafe\"\nPushConstant 0\nCall 11 2\nReturn",
         S(u"cafe\ncafe caffè\ncafe café")},
        {"one entry", "PushString \"naive\"\nPushConstant 0\nCall 11 2\nReturn", S(u"naive naïve")},
        {"no entry", "PushString \"caf\"\nPushConstant 0\nCall 11 2\nReturn", S(u"")},
        {"empty word", "PushString \"\"\nPushConstant 0\nCall 11 2\nReturn", S(u"")},
        {"not a Constant", "PushString \"cafe\"\nPushInteger 0\nCall 11 2\nReturn", S(u"")},
        {"a word map has no entries", "PushString \"cafe\"\nPushConstant 1\nCall 11 2\nReturn", S(u"")},
        {"one argument", "PushConstant 0\nCall 11 1\nReturn", S(u"")},
    });
}

TEST(VmCall, UnknownFunctionIsLoggedAndContinues) {
    Vm vm;
    LogCapture log(area);
    EXPECT_EQ(vm.eval("PushInteger 1\nCall 200 0\nReturn"), N());
    EXPECT_EQ(vm.eval("PushInteger 1\nCall 12 1\nPop\nPushInteger 2\nReturn"), I(2));
    EXPECT_EQ(log.texts(SALQX_LOG_WARN), (std::vector<std::string>{"host function 200 is not implemented", "host function 12 is not implemented"}));
    EXPECT_TRUE(vm.host.calls.empty());
}

TEST(VmCall, MissingArgumentsAreTheDeepestOnes) {
    Vm vm;
    vm.host.answer = u"r";
    // Only one value for two arguments: it is argument 1, the word.
    EXPECT_EQ(vm.eval("PushString \"word\"\nCall 6 2\nReturn"), S(u"r"));
    EXPECT_EQ(vm.host.calls, (std::vector<std::string>{"suggest(en|word)"}));
}

} // namespace
