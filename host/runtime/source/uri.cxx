// Percent-decoding of URI text.
//
// Runs of "%XX" escapes are decoded as bytes of the charset (UTF-8, US-ASCII or
// ISO-8859-1); every character that is not part of an escape is copied unchanged,
// and '+' stays '+'.  A '%' that is not followed by two hex digits stays as written.
// WithCharset keeps the escapes of bytes that do not form a character of the
// charset exactly as written; Strict gives the empty string for them and for a
// malformed '%'.  ToIuri decodes only what an IRI may hold unescaped: non-ASCII
// characters and the unreserved ASCII characters (letters, digits, "-._~"); escapes
// of every other ASCII character ("%2F", "%25", "%20", ...) stay, since decoding
// them would change what the URI means.  Unsupported charsets decode nothing.

#include <rtl/character.hxx>
#include <rtl/uri.h>

#include "strimpl.hxx"

#include <string>

namespace {

int hexValue(sal_Unicode c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isEscape(std::u16string_view s, std::size_t i) {
    return i + 2 < s.size() && s[i] == '%' && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0;
}

bool isIuriLiteral(char32_t cp) {
    if (cp >= 0x80) return true;
    return rtl::isAsciiAlphanumeric(cp) || cp == '-' || cp == '.' || cp == '_' || cp == '~';
}

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// Decodes one run of escapes text[from, to) (a multiple of three characters).
// Returns false in strict mode when some escape is undecodable.
bool decodeRun(std::u16string_view run, rtl_UriDecodeMechanism mechanism, rtl_TextEncoding charset,
               std::u16string& out) {
    std::string bytes;
    for (std::size_t i = 0; i < run.size(); i += 3)
        bytes.push_back(static_cast<char>(hexValue(run[i + 1]) * 16 + hexValue(run[i + 2])));
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    std::size_t at = 0; // byte index into the run; the escape text is run[3 * at, ...)
    while (at < n) {
        char32_t cp = 0;
        std::size_t used = 0;
        std::size_t bad = 1;
        switch (charset) {
        case RTL_TEXTENCODING_UTF8: used = salqx::decodeUtf8Sequence(p + at, n - at, &cp, &bad); break;
        case RTL_TEXTENCODING_ASCII_US:
            if (p[at] < 0x80) {
                cp = p[at];
                used = 1;
            }
            break;
        case RTL_TEXTENCODING_ISO_8859_1:
            cp = p[at];
            used = 1;
            break;
        default: break;
        }
        if (used == 0) {
            if (mechanism == rtl_UriDecodeStrict) return false;
            out.append(run.substr(3 * at, 3 * bad));
            at += bad;
            continue;
        }
        if (mechanism == rtl_UriDecodeToIuri && !isIuriLiteral(cp)) out.append(run.substr(3 * at, 3 * used));
        else appendCodePoint(out, cp);
        at += used;
    }
    return true;
}

} // namespace

extern "C" {

void rtl_uriDecode(rtl_uString* text, rtl_UriDecodeMechanism mechanism, rtl_TextEncoding charset,
                   rtl_uString** result) {
    if (text == nullptr) text = rtl_uString_newEmpty();
    std::u16string_view s(text->buffer, static_cast<std::size_t>(text->length));
    if (mechanism == rtl_UriDecodeNone) {
        rtl_uString_acquire(text);
        salqx::assignOwned(result, text);
        return;
    }
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (!isEscape(s, i)) {
            if (s[i] == '%' && mechanism == rtl_UriDecodeStrict) {
                salqx::assign(result, std::u16string_view());
                return;
            }
            out.push_back(s[i]);
            ++i;
            continue;
        }
        std::size_t j = i;
        while (isEscape(s, j)) j += 3;
        if (!decodeRun(s.substr(i, j - i), mechanism, charset, out)) {
            salqx::assign(result, std::u16string_view());
            return;
        }
        i = j;
    }
    salqx::assign(result, out);
}

} // extern "C"
