#pragma once
// The text side of the command-line proofreader: how an input file becomes the
// paragraphs that the checker sees, how positions in a checked paragraph map
// back to lines and columns of the file, and how findings are written.
//
// A paragraph is a run of non-blank lines.  Each line is stripped of leading
// and trailing white space (space, tab, carriage return, vertical tab, form
// feed) and the lines are joined with one space, so that a sentence broken
// across lines reads as it would in a word processor.  The paragraph remembers
// where each line's text starts, so that any UTF-16 offset in the joined text
// maps back to the file's own line and column.  Columns are 1-based and count
// Unicode characters (code points): a character outside the Basic Multilingual
// Plane is two UTF-16 units but one column.
//
// Nothing here knows the host's runtime; the functions work on standard
// strings, which keeps them easy to test and cheap to reuse in the benchmark.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace proofread {

struct Paragraph {
    // Where one line's text lies in the joined paragraph.
    struct Piece {
        std::size_t offset = 0; // UTF-16 offset of the line's first kept unit in `text`
        std::size_t length = 0; // UTF-16 units of the line's kept text
        std::size_t line = 0;   // 1-based line number in the input
        std::size_t column = 0; // 1-based column of the line's first kept character
    };

    std::u16string text;       // the lines, stripped, joined with single spaces
    std::vector<Piece> pieces; // one per line, in input order; never empty for a paragraph
};

struct Position {
    std::size_t line = 0;
    std::size_t column = 0;
    friend bool operator==(const Position&, const Position&) = default;
};

// Maps UTF-16 offsets of one paragraph's text to the file's lines and columns.
// Built in one pass over the text; each lookup then costs a binary search over
// the paragraph's lines and a scan of at most `stride` units, whatever the
// offset and in any order, so that reporting every finding of a paragraph
// stays linear in its size.  The map refers to the paragraph, which must
// outlive it and stay unchanged.
class PositionMap {
public:
    explicit PositionMap(const Paragraph& paragraph);

    // The file line and column of an offset in the paragraph's text.  An
    // offset on a joining space maps just behind the end of the line before
    // it; an offset beyond the text maps behind its last character; an offset
    // inside a surrogate pair counts the pair as one character that it has not
    // yet passed.
    Position at(std::size_t offset) const;

    static constexpr std::size_t stride = 64;

private:
    // Characters (code points) completed in text[0, offset).
    std::size_t charactersBefore(std::size_t offset) const;

    const Paragraph& paragraph_;
    // checkpoints_[k]: characters completed in text[0, k * stride).
    std::vector<std::size_t> checkpoints_;
};

// One lookup with a map of its own: for a single offset.  A caller with many
// offsets of one paragraph builds one PositionMap.
Position positionOf(const Paragraph& paragraph, std::size_t offset);

// Gathers lines into paragraphs as they arrive, so that input is checked
// paragraph by paragraph without being held in memory as a whole.
class ParagraphSplitter {
public:
    // Adds the next line of the input (without its line feed; a trailing
    // carriage return is white space like any other).  Returns the paragraph
    // that a blank line completes.
    std::optional<Paragraph> addLine(std::u16string_view line);
    // Ends the input; returns the last paragraph, if one is open.
    std::optional<Paragraph> finish();
    // Whether a paragraph has started and not yet been handed out.
    bool isOpen() const { return !current_.pieces.empty(); }

private:
    std::size_t lineNumber_ = 0;
    Paragraph current_;
};

// Splits a whole decoded text (line feeds as separators) into paragraphs.
std::vector<Paragraph> splitParagraphs(std::u16string_view text);

// UTF-8 to UTF-16.  Nothing for malformed input: an invalid or truncated
// sequence, an overlong form, a surrogate code point or a value above U+10FFFF.
std::optional<std::u16string> decodeUtf8(std::string_view bytes);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string encodeUtf8(std::u16string_view text);

// Appends the text as a JSON string literal (with its quotes): quote, backslash
// and control characters escaped, other characters as UTF-8, an unpaired
// surrogate as a \u escape so that nothing of the text is lost.
void appendJsonString(std::string& out, std::u16string_view text);

// One error as the proofreader reports it.
struct Finding {
    std::size_t line = 0;
    std::size_t column = 0;
    std::size_t start = 0;  // UTF-16 offset in the checked paragraph
    std::size_t length = 0; // UTF-16 units
    std::u16string rule;
    std::u16string message; // the short comment
    std::u16string comment; // the full comment
    std::optional<std::u16string> url;
    std::vector<std::u16string> suggestions;
};

// "FILE:LINE:COLUMN: message [rule]" with " -> s1 | s2" when there are
// suggestions; no line feed.
std::string formatPlain(std::string_view file, const Finding& finding);
// One JSON object with the members file, line, column, start, length, rule,
// message, comment, url (only when there is one) and suggestions; no line feed.
std::string formatJson(std::string_view file, const Finding& finding);

} // namespace proofread
