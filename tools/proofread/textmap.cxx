#include "textmap.hxx"

#include <algorithm>
#include <cassert>
#include <charconv>

namespace proofread {

namespace {

bool isLineSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f'; }

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether text[i] ends a character: anything but the high half of a pair.
bool endsCharacter(std::u16string_view text, std::size_t i) {
    return !(isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]));
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

// Decodes one UTF-8 sequence at bytes[i]; advances i.  Nothing when malformed.
std::optional<char32_t> nextUtf8(std::string_view bytes, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (bytes.size() - i <= extra) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += extra + 1;
    return cp;
}

// Like decodeUtf8, but every byte that does not start a valid sequence becomes
// U+FFFD; used for file names, which need not be UTF-8.
std::u16string decodeUtf8Lossy(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (auto cp = nextUtf8(bytes, i)) {
            appendUtf16(out, *cp);
            continue;
        }
        out += u'\uFFFD';
        ++i;
    }
    return out;
}

void appendNumber(std::string& out, std::size_t n) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
    assert(ec == std::errc() && "a size_t always fits in 24 digits");
    out.append(buffer, end);
}

void appendHex4(std::string& out, unsigned value) {
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += digits[(value >> shift) & 0xF];
}

} // namespace

PositionMap::PositionMap(const Paragraph& paragraph) : paragraph_(paragraph) {
    assert(!paragraph.pieces.empty() && "a paragraph has at least one line");
    const std::u16string_view text(paragraph.text);
    checkpoints_.reserve(text.size() / stride + 1);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i % stride == 0) checkpoints_.push_back(characters);
        if (endsCharacter(text, i)) ++characters;
    }
    if (text.size() % stride == 0) checkpoints_.push_back(characters);
}

std::size_t PositionMap::charactersBefore(std::size_t offset) const {
    const std::u16string_view text(paragraph_.text);
    const std::size_t block = offset / stride;
    std::size_t characters = checkpoints_[block];
    for (std::size_t i = block * stride; i < offset; ++i)
        if (endsCharacter(text, i)) ++characters;
    return characters;
}

Position PositionMap::at(std::size_t offset) const {
    const auto& pieces = paragraph_.pieces;
    offset = std::min(offset, paragraph_.text.size());
    // The last piece that starts at or before the offset; the joining space
    // after a piece belongs to it, as the position behind its last character.
    auto next = std::upper_bound(pieces.begin(), pieces.end(), offset,
                                 [](std::size_t o, const Paragraph::Piece& p) { return o < p.offset; });
    const Paragraph::Piece& piece = next == pieces.begin() ? pieces.front() : *(next - 1);
    const std::size_t within = std::min(offset - std::min(offset, piece.offset), piece.length);
    // Lines never split a surrogate pair (a joining space lies between them),
    // so characters counted over the whole text difference to the line's own.
    return {piece.line, piece.column + charactersBefore(piece.offset + within) - charactersBefore(piece.offset)};
}

Position positionOf(const Paragraph& paragraph, std::size_t offset) { return PositionMap(paragraph).at(offset); }

std::optional<Paragraph> ParagraphSplitter::addLine(std::u16string_view line) {
    ++lineNumber_;
    std::size_t first = 0;
    while (first < line.size() && isLineSpace(line[first])) ++first;
    std::size_t last = line.size();
    while (last > first && isLineSpace(line[last - 1])) --last;
    if (first == last) return finish();

    if (!current_.pieces.empty()) current_.text += u' ';
    Paragraph::Piece piece;
    piece.offset = current_.text.size();
    piece.length = last - first;
    piece.line = lineNumber_;
    // Stripped leading white space is all ASCII, one column per unit.
    piece.column = 1 + first;
    current_.text.append(line.substr(first, last - first));
    current_.pieces.push_back(piece);
    return std::nullopt;
}

std::optional<Paragraph> ParagraphSplitter::finish() {
    if (current_.pieces.empty()) return std::nullopt;
    Paragraph done = std::move(current_);
    current_ = Paragraph();
    return done;
}

std::vector<Paragraph> splitParagraphs(std::u16string_view text) {
    std::vector<Paragraph> paragraphs;
    ParagraphSplitter splitter;
    while (!text.empty()) {
        const std::size_t end = text.find(u'\n');
        const std::u16string_view line = text.substr(0, end);
        if (auto p = splitter.addLine(line)) paragraphs.push_back(std::move(*p));
        if (end == std::u16string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (auto p = splitter.finish()) paragraphs.push_back(std::move(*p));
    return paragraphs;
}

std::optional<std::u16string> decodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        // Plain ASCII runs are the common case; copy them without decoding.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += static_cast<char16_t>(bytes[i++]);
            continue;
        }
        auto cp = nextUtf8(bytes, i);
        if (!cp) return std::nullopt;
        appendUtf16(out, *cp);
    }
    return out;
}

std::string encodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
            continue;
        }
        appendUtf8(out, isHighSurrogate(c) || isLowSurrogate(c) ? char32_t(0xFFFD) : char32_t(c));
    }
    return out;
}

void appendJsonString(std::string& out, std::u16string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        switch (c) {
        case u'"':
            out += "\\\"";
            continue;
        case u'\\':
            out += "\\\\";
            continue;
        case u'\b':
            out += "\\b";
            continue;
        case u'\f':
            out += "\\f";
            continue;
        case u'\n':
            out += "\\n";
            continue;
        case u'\r':
            out += "\\r";
            continue;
        case u'\t':
            out += "\\t";
            continue;
        }
        if (c < 0x20) {
            appendHex4(out, c);
            continue;
        }
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
            continue;
        }
        if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendHex4(out, c);
            continue;
        }
        appendUtf8(out, c);
    }
    out += '"';
}

std::string formatPlain(std::string_view file, const Finding& finding) {
    std::string out(file);
    out += ':';
    appendNumber(out, finding.line);
    out += ':';
    appendNumber(out, finding.column);
    out += ": ";
    out += encodeUtf8(finding.message);
    out += " [";
    out += encodeUtf8(finding.rule);
    out += ']';
    for (std::size_t i = 0; i < finding.suggestions.size(); ++i) {
        out += i == 0 ? " -> " : " | ";
        out += encodeUtf8(finding.suggestions[i]);
    }
    return out;
}

std::string formatJson(std::string_view file, const Finding& finding) {
    std::string out = "{\"file\":";
    appendJsonString(out, decodeUtf8Lossy(file));
    out += ",\"line\":";
    appendNumber(out, finding.line);
    out += ",\"column\":";
    appendNumber(out, finding.column);
    out += ",\"start\":";
    appendNumber(out, finding.start);
    out += ",\"length\":";
    appendNumber(out, finding.length);
    out += ",\"rule\":";
    appendJsonString(out, finding.rule);
    out += ",\"message\":";
    appendJsonString(out, finding.message);
    out += ",\"comment\":";
    appendJsonString(out, finding.comment);
    if (finding.url) {
        out += ",\"url\":";
        appendJsonString(out, *finding.url);
    }
    out += ",\"suggestions\":[";
    for (std::size_t i = 0; i < finding.suggestions.size(); ++i) {
        if (i != 0) out += ',';
        appendJsonString(out, finding.suggestions[i]);
    }
    out += "]}";
    return out;
}

} // namespace proofread
