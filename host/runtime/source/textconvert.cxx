// Conversions between UTF-16 and the byte encodings the runtime supports:
// UTF-8, US-ASCII and ISO-8859-1.
//
// Bytes to UTF-16: an ill-formed UTF-8 sequence (overlong form, encoded surrogate,
// value above U+10FFFF, stray continuation byte, truncated sequence) is "invalid";
// an ASCII byte above 0x7F is "undefined".  Each maximal ill-formed subpart becomes
// one U+FFFD, unless the matching *_ERROR flag is set, which fails the conversion.
// UTF-16 to bytes: an unpaired surrogate is "invalid", a character that the target
// encoding lacks is "undefined"; both become '?' unless the matching *_ERROR flag
// is set.  Any other encoding is not supported and always fails.

#include <osl/thread.h>
#include <rtl/character.hxx>
#include <rtl/ustring.hxx>

#include "strimpl.hxx"

#include <cstdlib>
#include <string>

namespace salqx {

std::size_t decodeUtf8Sequence(const unsigned char* p, std::size_t n, char32_t* cp, std::size_t* badLength) {
    const unsigned char b0 = p[0];
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    std::size_t need = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    char32_t value = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        value = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        value = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;      // overlong below U+0800
        else if (b0 == 0xED) hi = 0x9F; // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        value = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;      // overlong below U+10000
        else if (b0 == 0xF4) hi = 0x8F; // above U+10FFFF
    } else {
        *badLength = 1;
        return 0;
    }
    for (std::size_t i = 1; i <= need; ++i) {
        if (i >= n || p[i] < lo || p[i] > hi) {
            *badLength = i;
            return 0;
        }
        lo = 0x80;
        hi = 0xBF;
        value = (value << 6) | (p[i] & 0x3F);
    }
    *cp = value;
    return need + 1;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// Walks UTF-16 code points; unpaired surrogates come out as themselves with paired = false.
template <class F>
void forEachCodePoint(std::u16string_view text, F f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (rtl::isHighSurrogate(c) && i + 1 < text.size() && rtl::isLowSurrogate(text[i + 1])) {
            f(static_cast<char32_t>(rtl::combineSurrogates(c, text[i + 1])), true);
            ++i;
            continue;
        }
        f(c, !rtl::isHighSurrogate(c) && !rtl::isLowSurrogate(c));
    }
}

bool toUnicode(std::string_view bytes, rtl_TextEncoding enc, sal_uInt32 flags, std::u16string& out) {
    out.clear();
    out.reserve(bytes.size());
    const bool invalidIsError = (flags & RTL_TEXTTOUNICODE_FLAGS_INVALID_ERROR) != 0;
    const bool undefinedIsError =
        (flags & (RTL_TEXTTOUNICODE_FLAGS_UNDEFINED_ERROR | RTL_TEXTTOUNICODE_FLAGS_MBUNDEFINED_ERROR)) != 0;
    switch (enc) {
    case RTL_TEXTENCODING_UTF8: {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
        std::size_t n = bytes.size();
        while (n > 0) {
            char32_t cp = 0;
            std::size_t bad = 0;
            std::size_t used = decodeUtf8Sequence(p, n, &cp, &bad);
            if (used == 0) {
                if (invalidIsError) return false;
                out.push_back(u'\xFFFD');
                used = bad;
            } else {
                appendUtf16(out, cp);
            }
            p += used;
            n -= used;
        }
        return true;
    }
    case RTL_TEXTENCODING_ASCII_US:
        for (char c : bytes) {
            auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                out.push_back(b);
                continue;
            }
            if (undefinedIsError) return false;
            out.push_back(u'\xFFFD');
        }
        return true;
    case RTL_TEXTENCODING_ISO_8859_1:
        for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
        return true;
    }
    return false;
}

bool fromUnicode(std::u16string_view text, rtl_TextEncoding enc, sal_uInt32 flags, std::string& out) {
    out.clear();
    out.reserve(text.size());
    const bool invalidIsError = (flags & RTL_UNICODETOTEXT_FLAGS_INVALID_ERROR) != 0;
    const bool undefinedIsError = (flags & RTL_UNICODETOTEXT_FLAGS_UNDEFINED_ERROR) != 0;
    char32_t limit = 0;
    switch (enc) {
    case RTL_TEXTENCODING_UTF8: limit = 0x110000; break;
    case RTL_TEXTENCODING_ASCII_US: limit = 0x80; break;
    case RTL_TEXTENCODING_ISO_8859_1: limit = 0x100; break;
    default: return false;
    }
    bool ok = true;
    forEachCodePoint(text, [&](char32_t cp, bool wellFormed) {
        if (!ok) return;
        if (!wellFormed) {
            if (invalidIsError) ok = false;
            out.push_back('?');
            return;
        }
        if (cp >= limit) {
            if (undefinedIsError) ok = false;
            out.push_back('?');
            return;
        }
        if (enc == RTL_TEXTENCODING_UTF8) appendUtf8(out, cp);
        else out.push_back(static_cast<char>(cp));
    });
    if (!ok) out.clear();
    return ok;
}

// "de_DE.UTF-8@euro" -> "utf8"; codeset names compared without case, '-' and '_'.
std::string normalisedCodeset(const char* locale) {
    std::string_view l(locale);
    std::size_t dot = l.find('.');
    if (dot == std::string_view::npos) return {};
    std::string_view cs = l.substr(dot + 1);
    cs = cs.substr(0, cs.find('@'));
    std::string out;
    for (char c : cs) {
        if (c == '-' || c == '_') continue;
        out.push_back(static_cast<char>(rtl::toAsciiLowerCase(static_cast<unsigned char>(c))));
    }
    return out;
}

} // namespace

bool decodeUtf8(std::string_view bytes, std::u16string& out, bool strict) {
    return toUnicode(bytes, RTL_TEXTENCODING_UTF8, strict ? RTL_TEXTTOUNICODE_FLAGS_STRICT : OSTRING_TO_OUSTRING_CVTFLAGS,
                     out);
}

bool encodeUtf8(std::u16string_view text, std::string& out, bool strict) {
    return fromUnicode(text, RTL_TEXTENCODING_UTF8, strict ? RTL_UNICODETOTEXT_FLAGS_STRICT : OUSTRING_TO_OSTRING_CVTFLAGS,
                       out);
}

} // namespace salqx

extern "C" {

bool rtl_convertStringToUString(rtl_uString** target, const char* str, sal_Int32 len, rtl_TextEncoding enc,
                                sal_uInt32 flags) {
    std::u16string out;
    bool ok = len >= 0 && (len == 0 || str != nullptr)
              && salqx::toUnicode(std::string_view(str == nullptr ? "" : str, static_cast<std::size_t>(len > 0 ? len : 0)),
                                  enc, flags, out);
    if (!ok) out.clear();
    salqx::assign(target, out);
    return ok;
}

// The process locale as the environment states it (LC_ALL, then LC_CTYPE, then LANG;
// the first one set decides).  The locale is not installed with setlocale, so this
// reads the codeset from the name: ISO-8859-1 (or latin1) and ASCII names select those
// encodings; every other name, "C", "POSIX" and no setting at all mean UTF-8.
rtl_TextEncoding osl_getThreadTextEncoding() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* v = std::getenv(name);
        if (v != nullptr && *v != 0) {
            locale = v;
            break;
        }
    }
    if (locale == nullptr) return RTL_TEXTENCODING_UTF8;
    std::string cs = salqx::normalisedCodeset(locale);
    if (cs == "iso88591" || cs == "latin1") return RTL_TEXTENCODING_ISO_8859_1;
    if (cs == "ascii" || cs == "usascii" || cs == "ansix3.41968") return RTL_TEXTENCODING_ASCII_US;
    return RTL_TEXTENCODING_UTF8;
}

} // extern "C"

namespace rtl {

OUString::OUString(const char* str, sal_Int32 len, rtl_TextEncoding enc, sal_uInt32 flags) : pData(nullptr) {
    rtl_convertStringToUString(&pData, str, len, enc, flags);
}

OUString OUString::fromUtf8(std::string_view utf8) { return salqx::utf8ToOUString(utf8); }

bool OUString::convertToString(OString* target, rtl_TextEncoding enc, sal_uInt32 flags) const {
    std::string out;
    bool ok = salqx::fromUnicode(view(), enc, flags, out);
    if (target == nullptr) return ok;
    *target = ok ? OString(out) : OString();
    return ok;
}

// The result is empty when a flag asks for an error and the text is unconvertible.
OString OUStringToOString(const OUString& str, rtl_TextEncoding enc, sal_uInt32 flags) {
    OString r;
    str.convertToString(&r, enc, flags);
    return r;
}

OUString OStringToOUString(const OString& str, rtl_TextEncoding enc, sal_uInt32 flags) {
    return OUString(str.getStr(), str.getLength(), enc, flags);
}

} // namespace rtl
