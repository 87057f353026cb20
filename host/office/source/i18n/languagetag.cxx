// LanguageTag of the host stand-in.
//
// Models the host's tag class for well-formedness, canonical case and the
// Locale mapping.  It checks the BCP 47 grammar (RFC 5646, including the
// grandfathered tags) but not the subtag registry: "xx-QQ" is well-formed and
// accepted, as a real office would accept it before looking it up.  There is no
// system locale, no fallback chain and no legacy (LCID) mapping.

#include <languagetag/languagetag.hxx>

#include <rtl/ustrbuf.hxx>

#include <array>
#include <string_view>
#include <vector>

namespace {

using ::com::qam::vexo::lang::Locale;

constexpr std::u16string_view kPrivateLanguage = u"qlt";

bool isAlpha(sal_Unicode c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(sal_Unicode c) { return c >= '0' && c <= '9'; }
bool isAlnum(sal_Unicode c) { return isAlpha(c) || isDigit(c); }
sal_Unicode toLower(sal_Unicode c) { return c >= 'A' && c <= 'Z' ? static_cast<sal_Unicode>(c + 32) : c; }
sal_Unicode toUpper(sal_Unicode c) { return c >= 'a' && c <= 'z' ? static_cast<sal_Unicode>(c - 32) : c; }

bool allOf(std::u16string_view s, bool (*pred)(sal_Unicode)) {
    for (sal_Unicode c : s)
        if (!pred(c)) return false;
    return true;
}
bool isAlphaN(std::u16string_view s, std::size_t lo, std::size_t hi) {
    return s.size() >= lo && s.size() <= hi && allOf(s, isAlpha);
}
bool isAlnumN(std::u16string_view s, std::size_t lo, std::size_t hi) {
    return s.size() >= lo && s.size() <= hi && allOf(s, isAlnum);
}

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toLower(a[i]) != toLower(b[i])) return false;
    return true;
}

// The tags that RFC 5646 keeps from RFC 3066 although they do not follow the
// grammar (irregular) or only look as if they did (regular).
constexpr std::array<std::u16string_view, 26> kGrandfathered = {
    u"en-GB-oed", u"i-ami",     u"i-bnn",     u"i-default",  u"i-enochian",  u"i-hak",  u"i-klingon",
    u"i-lux",     u"i-mingo",   u"i-navajo",  u"i-pwn",      u"i-tao",       u"i-tay",  u"i-tsu",
    u"sgn-BE-FR", u"sgn-BE-NL", u"sgn-CH-DE", u"art-lojban", u"cel-gaulish", u"no-bok", u"no-nyn",
    u"zh-guoyu",  u"zh-hakka",  u"zh-min",    u"zh-min-nan", u"zh-xiang"};

struct Parsed {
    bool wellFormed = false;
    bool grandfathered = false;
    bool privateUseOnly = false;
    OUString language; // lower case; empty for private-use-only and irregular tags
    OUString script;   // title case
    OUString region;   // upper case
    bool hasExtlang = false;
    bool hasMoreThanRegion = false; // variants, extensions or private use
};

std::vector<std::u16string_view> splitSubtags(std::u16string_view tag) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t dash = tag.find(u'-', start);
        parts.push_back(
            tag.substr(start, dash == std::u16string_view::npos ? std::u16string_view::npos : dash - start));
        if (dash == std::u16string_view::npos) return parts;
        start = dash + 1;
    }
}

OUString lowered(std::u16string_view s) {
    OUStringBuffer b(static_cast<sal_Int32>(s.size()));
    for (sal_Unicode c : s) b.append(toLower(c));
    return b.makeStringAndClear();
}

// RFC 5646 section 2.1.1: lower case, except two-letter subtags (upper) and
// four-letter subtags (title) that neither start the tag nor follow a singleton.
OUString canonicalCase(std::u16string_view tag) {
    OUStringBuffer out(static_cast<sal_Int32>(tag.size()));
    bool afterSingleton = false;
    bool first = true;
    for (std::u16string_view sub : splitSubtags(tag)) {
        if (!first) out.append(u'-');
        for (std::size_t i = 0; i < sub.size(); ++i) {
            sal_Unicode c = sub[i];
            if (!first && !afterSingleton && sub.size() == 2)
                out.append(toUpper(c));
            else if (!first && !afterSingleton && sub.size() == 4 && isAlpha(sub[0]))
                out.append(i == 0 ? toUpper(c) : toLower(c));
            else
                out.append(toLower(c));
        }
        if (sub.size() == 1) afterSingleton = true;
        first = false;
    }
    return out.makeStringAndClear();
}

Parsed parse(std::u16string_view tag) {
    Parsed p;
    if (tag.empty()) return p;
    for (std::u16string_view g : kGrandfathered) {
        if (!equalsIgnoreCase(tag, g)) continue;
        p.wellFormed = p.grandfathered = true;
        std::u16string_view head = tag.substr(0, tag.find(u'-'));
        if (head.size() >= 2) p.language = lowered(head);
        if (g == u"en-GB-oed") p.region = u"GB";
        p.hasMoreThanRegion = true;
        return p;
    }
    std::vector<std::u16string_view> subs = splitSubtags(tag);
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return k < subs.size() ? subs[k] : std::u16string_view(); };

    if (equalsIgnoreCase(at(0), u"x")) {
        // privateuse = "x" 1*("-" (1*8alphanum))
        if (subs.size() < 2) return p;
        for (std::size_t k = 1; k < subs.size(); ++k)
            if (!isAlnumN(subs[k], 1, 8)) return p;
        p.wellFormed = p.privateUseOnly = p.hasMoreThanRegion = true;
        return p;
    }

    // language = 2*3ALPHA ["-" extlang] / 4ALPHA / 5*8ALPHA
    if (!isAlphaN(at(0), 2, 8)) return p;
    p.language = lowered(at(0));
    ++i;
    if (at(0).size() <= 3) {
        for (int n = 0; n < 3 && isAlphaN(at(i), 3, 3); ++n, ++i) p.hasExtlang = true;
    }
    if (isAlphaN(at(i), 4, 4)) {
        OUString lower = lowered(at(i));
        p.script = OUString(toUpper(lower[0])) + lower.copy(1);
        ++i;
    }
    if (isAlphaN(at(i), 2, 2) || (at(i).size() == 3 && allOf(at(i), isDigit))) {
        OUStringBuffer r;
        for (sal_Unicode c : at(i)) r.append(toUpper(c));
        p.region = r.makeStringAndClear();
        ++i;
    }
    // variant = 5*8alphanum / (DIGIT 3alphanum)
    while (i < subs.size() &&
           (isAlnumN(subs[i], 5, 8) || (subs[i].size() == 4 && isDigit(subs[i][0]) && allOf(subs[i], isAlnum)))) {
        p.hasMoreThanRegion = true;
        ++i;
    }
    // extension = singleton 1*("-" (2*8alphanum)), singleton = alphanum except x
    while (i < subs.size() && subs[i].size() == 1 && isAlnum(subs[i][0]) && toLower(subs[i][0]) != 'x') {
        ++i;
        std::size_t n = 0;
        while (i < subs.size() && isAlnumN(subs[i], 2, 8)) ++i, ++n;
        if (n == 0) return p;
        p.hasMoreThanRegion = true;
    }
    if (i < subs.size() && equalsIgnoreCase(subs[i], u"x")) {
        ++i;
        std::size_t n = 0;
        while (i < subs.size() && isAlnumN(subs[i], 1, 8)) ++i, ++n;
        if (n == 0) return p;
        p.hasMoreThanRegion = true;
    }
    p.wellFormed = i == subs.size();
    return p;
}

// Whether a tag maps onto a plain Locale (language and country alone).
bool plainLocale(const Parsed& p) {
    return p.wellFormed && !p.grandfathered && !p.privateUseOnly && !p.hasExtlang && p.script.isEmpty() &&
           !p.hasMoreThanRegion && p.language.getLength() <= 3;
}

} // namespace

LanguageTag::LanguageTag(const OUString& bcp47) {
    Parsed p = parse(bcp47);
    tag_ = p.wellFormed ? canonicalCase(bcp47) : bcp47;
}

LanguageTag::LanguageTag(const Locale& locale) : LanguageTag(convertToBcp47(locale)) {}

OUString LanguageTag::getBcp47(bool /*resolveSystem*/) const { return tag_; }

Locale LanguageTag::getLocale(bool resolveSystem) const { return convertToLocale(tag_, resolveSystem); }

OUString LanguageTag::getLanguage() const {
    Parsed p = parse(tag_);
    return p.wellFormed ? p.language : OUString();
}

OUString LanguageTag::getCountry() const {
    Parsed p = parse(tag_);
    return p.wellFormed ? p.region : OUString();
}

bool LanguageTag::isValidBcp47() const { return parse(tag_).wellFormed; }

OUString LanguageTag::convertToBcp47(const Locale& locale, bool /*resolveSystem*/) {
    if (locale.Language == kPrivateLanguage) return LanguageTag(locale.Variant).getBcp47();
    if (locale.Language.isEmpty() && locale.Country.isEmpty() && locale.Variant.isEmpty()) return OUString();
    OUStringBuffer b(locale.Language);
    if (!locale.Country.isEmpty()) b.append(u'-').append(locale.Country);
    if (!locale.Variant.isEmpty()) b.append(u'-').append(locale.Variant);
    return LanguageTag(b.makeStringAndClear()).getBcp47();
}

Locale LanguageTag::convertToLocale(const OUString& bcp47, bool /*resolveSystem*/) {
    if (bcp47.isEmpty()) return Locale();
    Parsed p = parse(bcp47);
    if (plainLocale(p)) return Locale{p.language, p.region, OUString()};
    // Everything else travels whole in the variant, with the region (when there
    // is one) as the country so that country-based lookups still work.
    if (!p.wellFormed) return Locale{OUString(kPrivateLanguage), OUString(), bcp47};
    return Locale{OUString(kPrivateLanguage), p.region, canonicalCase(bcp47)};
}
