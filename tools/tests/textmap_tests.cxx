// The text side of proofread: paragraphs, positions, UTF-8 and output formats.

#include "textmap.hxx"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using proofread::Finding;
using proofread::Paragraph;
using proofread::Position;

struct PieceView {
    std::size_t offset, length, line, column;
    friend bool operator==(const PieceView&, const PieceView&) = default;
};

std::vector<PieceView> piecesOf(const Paragraph& p) {
    std::vector<PieceView> out;
    for (const auto& piece : p.pieces) out.push_back({piece.offset, piece.length, piece.line, piece.column});
    return out;
}

TEST(ParagraphSplitting, JoinsNonBlankLinesWithSingleSpacesAndRemembersWhereEachLineStarts) {
    // Lines 1-2 form one paragraph; 3 is blank; 4 holds only white space and
    // is blank too; 5-6 form the second paragraph; 7-8 are blank.
    const auto paragraphs = proofread::splitParagraphs(u"  It was\tthe\r\nbest  of times.\n\n \t\r\n\tIt was\nthe worst.\n\n\n");
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0].text, u"It was\tthe best  of times.");
    EXPECT_EQ(piecesOf(paragraphs[0]), (std::vector<PieceView>{{0, 10, 1, 3}, {11, 15, 2, 1}}));
    EXPECT_EQ(paragraphs[1].text, u"It was the worst.");
    EXPECT_EQ(piecesOf(paragraphs[1]), (std::vector<PieceView>{{0, 6, 5, 2}, {7, 10, 6, 1}}));
}

TEST(ParagraphSplitting, LastLineWithoutLineFeedAndEmptyInput) {
    const auto paragraphs = proofread::splitParagraphs(u"one\n\ntwo");
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[1].text, u"two");
    EXPECT_EQ(piecesOf(paragraphs[1]), (std::vector<PieceView>{{0, 3, 3, 1}}));
    EXPECT_TRUE(proofread::splitParagraphs(u"").empty());
    EXPECT_TRUE(proofread::splitParagraphs(u"\n \n\t\n").empty());
}

TEST(ParagraphSplitting, SplitterHandsOutParagraphsAsBlankLinesArrive) {
    proofread::ParagraphSplitter splitter;
    EXPECT_FALSE(splitter.addLine(u"first"));
    EXPECT_FALSE(splitter.addLine(u"line"));
    auto done = splitter.addLine(u"");
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text, u"first line");
    EXPECT_FALSE(splitter.addLine(u""));
    EXPECT_FALSE(splitter.addLine(u"later"));
    done = splitter.finish();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text, u"later");
    EXPECT_EQ(done->pieces.front().line, 5u);
    EXPECT_FALSE(splitter.finish());
}

TEST(PositionMapping, OffsetsMapToTheFilesLinesAndColumnsInCharacters) {
    // Line 1: "  Caf\u00e9 au" (indented by two), line 2: "\U0001F600 x y" (an
    // emoji: two UTF-16 units, one column), line 3: "end".
    const auto paragraphs = proofread::splitParagraphs(u"  Caf\u00e9 au\n\U0001F600 x y\nend\n");
    ASSERT_EQ(paragraphs.size(), 1u);
    const Paragraph& p = paragraphs[0];
    ASSERT_EQ(p.text, u"Caf\u00e9 au \U0001F600 x y end");
    struct Case {
        std::size_t offset;
        Position expected;
    };
    const Case cases[] = {
        {0, {1, 3}},   // "C"
        {3, {1, 6}},   // the e with acute accent: one unit, one column
        {5, {1, 8}},   // "au"
        {7, {1, 10}},  // the joining space: just behind "au"
        {8, {2, 1}},   // the emoji
        {9, {2, 1}},   // inside the emoji's surrogate pair: not yet past it
        {10, {2, 2}},  // the blank behind the emoji
        {11, {2, 3}},  // "x": two units after the line start, two columns
        {13, {2, 5}},  // "y"
        {15, {3, 1}},  // "end"
        {18, {3, 4}},  // the end of the text
        {99, {3, 4}},  // beyond the end: clamped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("offset " + std::to_string(c.offset));
        EXPECT_EQ(proofread::positionOf(p, c.offset), c.expected);
    }
}

// The position of an offset worked out the slow, obvious way: walk the lines
// and count characters from the start of the offset's line.
Position naivePosition(const Paragraph& p, std::size_t offset) {
    offset = std::min(offset, p.text.size());
    const Paragraph::Piece* piece = &p.pieces.front();
    for (const auto& candidate : p.pieces)
        if (candidate.offset <= offset) piece = &candidate;
    const std::size_t end = piece->offset + std::min(offset - piece->offset, piece->length);
    std::size_t column = piece->column;
    for (std::size_t i = piece->offset; i < end; ++i) {
        const bool high = p.text[i] >= 0xD800 && p.text[i] <= 0xDBFF;
        const bool pairs = i + 1 < p.text.size() && p.text[i + 1] >= 0xDC00 && p.text[i + 1] <= 0xDFFF;
        if (high && pairs) {
            if (i + 1 == end) break;
            ++i;
        }
        ++column;
    }
    return {piece->line, column};
}

TEST(PositionMapping, OneMapAnswersEveryOffsetInAnyOrderAsALineByLineCountWould) {
    // Lines whose surrogate pairs, joining spaces and lone surrogates fall on
    // both sides of the map's checkpoints, some far longer than a checkpoint's
    // stride.
    std::u16string input;
    for (int line = 0; line < 40; ++line) {
        for (int k = 0; k < line * 7 % 150; ++k) {
            switch ((line + k) % 5) {
            case 0: input += u"\U0001F600"; break;
            case 1: input += u'\xD800'; break; // a lone high surrogate
            case 2: input += u"\u00e9"; break;
            default: input += u'w'; break;
            }
        }
        input += line % 9 == 8 ? u"\n\n" : u"  \n";
    }
    const auto paragraphs = proofread::splitParagraphs(input);
    ASSERT_GT(paragraphs.size(), 3u);
    for (const Paragraph& p : paragraphs) {
        const proofread::PositionMap map(p);
        ASSERT_GT(p.text.size(), proofread::PositionMap::stride);
        // Backwards, so that nothing depends on offsets coming in order.
        for (std::size_t offset = p.text.size() + 2; offset-- > 0;) {
            SCOPED_TRACE("offset " + std::to_string(offset));
            ASSERT_EQ(map.at(offset), naivePosition(p, offset));
        }
    }
}

TEST(Utf8, DecodesWellFormedTextAndRejectsEveryMalformedSequence) {
    EXPECT_EQ(proofread::decodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u16string(u"a\u00e9\u20ac\U0001F600"));
    EXPECT_EQ(proofread::decodeUtf8(""), std::u16string());
    const char* const malformed[] = {
        "\x80",             // a continuation byte alone
        "\xC3",             // cut off
        "\xE2\x82",         // cut off
        "\xC0\x80",         // overlong NUL
        "\xE0\x80\xAF",     // overlong "/"
        "\xED\xA0\x80",     // a surrogate code point
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF8\x88\x80\x80\x80",
        "ok\xC3(",          // a lead byte followed by a non-continuation
    };
    for (const char* bytes : malformed) {
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(proofread::decodeUtf8(bytes));
    }
}

TEST(Utf8, EncodesPairsAndReplacesUnpairedSurrogates) {
    EXPECT_EQ(proofread::encodeUtf8(u"a\u00e9\U0001F600"), "a\xC3\xA9\xF0\x9F\x98\x80");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00, 0};
    EXPECT_EQ(proofread::encodeUtf8(lone), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST(Json, StringsAreEscapedAndKeepEveryCharacter) {
    const char16_t lone[] = {0xDBFF, u'!', 0};
    struct Case {
        std::u16string text;
        std::string json;
    };
    const Case cases[] = {
        {u"plain", "\"plain\""},
        {u"say \"hi\"", "\"say \\\"hi\\\"\""},
        {u"back\\slash", "\"back\\\\slash\""},
        {u"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {std::u16string(u"\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {u"\u00e9\U0001F600", "\"\xC3\xA9\xF0\x9F\x98\x80\""},
        {lone, "\"\\udbff!\""},
        {u"/", "\"/\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        std::string out;
        proofread::appendJsonString(out, c.text);
        EXPECT_EQ(out, c.json);
    }
}

Finding sampleFinding() {
    Finding f;
    f.line = 3;
    f.column = 14;
    f.start = 40;
    f.length = 8;
    f.rule = u"\\b(could) of\\b";
    f.message = u"Did you mean \"could have\"?";
    f.comment = u"Did you mean \"could have\"?";
    f.suggestions = {u"could have", u"could've"};
    return f;
}

TEST(Output, PlainLineHasPositionMessageRuleAndSuggestions) {
    Finding f = sampleFinding();
    EXPECT_EQ(proofread::formatPlain("notes.txt", f),
              "notes.txt:3:14: Did you mean \"could have\"? [\\b(could) of\\b] -> could have | could've");
    f.suggestions.clear();
    EXPECT_EQ(proofread::formatPlain("<stdin>", f), "<stdin>:3:14: Did you mean \"could have\"? [\\b(could) of\\b]");
}

TEST(Output, JsonObjectHasExactlyTheDocumentedMembers) {
    Finding f = sampleFinding();
    EXPECT_EQ(proofread::formatJson("notes.txt", f),
              R"({"file":"notes.txt","line":3,"column":14,"start":40,"length":8,"rule":"\\b(could) of\\b",)"
              R"("message":"Did you mean \"could have\"?","comment":"Did you mean \"could have\"?",)"
              R"("suggestions":["could have","could've"]})");
    f.url = u"https://example.org/a?b=\"c\"";
    f.suggestions.clear();
    EXPECT_EQ(proofread::formatJson("dir/\xC3\xA9.txt", f),
              "{\"file\":\"dir/\xC3\xA9.txt\",\"line\":3,\"column\":14,\"start\":40,\"length\":8,"
              "\"rule\":\"\\\\b(could) of\\\\b\",\"message\":\"Did you mean \\\"could have\\\"?\","
              "\"comment\":\"Did you mean \\\"could have\\\"?\",\"url\":\"https://example.org/a?b=\\\"c\\\"\","
              "\"suggestions\":[]}");
}

TEST(Output, FileNamesThatAreNotUtf8StayValidJson) {
    Finding f = sampleFinding();
    const std::string json = proofread::formatJson("bad\xFF.txt", f);
    const std::string expected = "{\"file\":\"bad\xEF\xBF\xBD.txt\",\"line\":3,";
    EXPECT_EQ(json.substr(0, expected.size()), expected);
}

} // namespace
