// The services that rule code calls (lexivor::Host as the proofreading service
// implements it): spelling and morphology through the host's spell checker,
// unit conversion, numbers in words through the host's number-text service, and
// the compiled pattern constants of the package being checked.  All of them run
// inside doProofreading with the linguistic mutex held, which the caches rely on.

#include "lexivorimp.hxx"

#include <comphelper/processfactory.hxx>
#include <languagetag/languagetag.hxx>
#include <rtl/math.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <optional>

using namespace com::qam::vexo;
using com::qam::vexo::lang::Locale;
using zel::uno::Reference;
using zel::uno::Sequence;

namespace lexivor {

namespace {

constexpr char logArea[] = "lingucomponent.lexivor";
constexpr char16_t spellCheckerService[] = u"com.qam.vexo.linguistic2.SpellChecker";
constexpr char16_t numberTextServiceName[] = u"com.qam.vexo.linguistic2.NumberText";

// Base units: gram, metre, litre, metre per second, kelvin.
constexpr std::array<Unit, 24> units{{
    {u"g", 1.0, 0.0, 'm', 0},
    {u"kg", 1.0, 0.0, 'm', 3},
    {u"lbm", 0.00220462291469134, 0.0, 'm', 0},
    {u"m", 1.0, 0.0, 'l', 0},
    {u"mm", 1.0, 0.0, 'l', -3},
    {u"cm", 1.0, 0.0, 'l', -2},
    {u"km", 1.0, 0.0, 'l', 3},
    {u"mi", 0.0006213711922373339, 0.0, 'l', 0},
    {u"in", 39.37007874015748, 0.0, 'l', 0},
    {u"ft", 3.2808398950131235, 0.0, 'l', 0},
    {u"yd", 1.0936132983377078, 0.0, 'l', 0},
    {u"l", 1.0, 0.0, 'v', 0},
    {u"dl", 1.0, 0.0, 'v', -1},
    {u"pt", 2.113376418865187, 0.0, 'v', 0},
    {u"uk_pt", 1.7597539863927023, 0.0, 'v', 0},
    {u"gal", 0.26417205235814845, 0.0, 'v', 0},
    {u"uk_gal", 0.2199692482990878, 0.0, 'v', 0},
    {u"m/s", 1.0, 0.0, 's', 0},
    {u"m/h", 3600.0, 0.0, 's', 0},
    {u"km/h", 3600.0, 0.0, 's', 3},
    {u"mph", 2.2369362920544025, 0.0, 's', 0},
    {u"K", 1.0, 0.0, 't', 0},
    {u"C", 1.0, -273.15, 't', 0},
    {u"F", 1.8, -255.3722222222222, 't', 0},
}};

OUString fromIcu(const icu::UnicodeString& s) { return OUString(s.getBuffer(), s.length()); }

OUString trimmed(const OUString& s) {
    OUString result;
    rtl_uString_newTrim(&result.pData, s.pData);
    return result;
}

std::vector<OUString> toVector(const Sequence<OUString>& s) { return std::vector<OUString>(s.begin(), s.end()); }

OUString joinLines(const std::vector<OUString>& items) {
    OUStringBuffer out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out.append(u'\n');
        out.append(items[i]);
    }
    return out.makeStringAndClear();
}

OUString cacheTag(const Locale& locale) { return LanguageTag(locale).getBcp47(true); }

OUString xmlQuery(std::u16string_view type, const OUString& word) {
    return u"<?xml?><query type='" + OUString(type) + u"'><word>" + word + u"</word></query>";
}

// The value of a sum of products of plain numbers ("2*3+1"); nothing when any
// part of the text is not a number or an operator between two numbers.
std::optional<double> evaluateSum(const OUString& text) {
    const sal_Unicode* p = text.getStr();
    const sal_Unicode* const end = p + text.getLength();
    double sum = 0.0;
    double product = 1.0;
    for (;;) {
        rtl_math_ConversionStatus status = rtl_math_ConversionStatus_Ok;
        const sal_Unicode* parsed = p;
        const double factor = rtl_math_uStringToDouble(p, end, u'.', 0, &status, &parsed);
        if (status != rtl_math_ConversionStatus_Ok || parsed == p) return std::nullopt;
        product *= factor;
        p = parsed;
        if (p == end) return sum + product;
        if (*p == u'*') {
            ++p;
            continue;
        }
        if (*p != u'+') return std::nullopt;
        sum += product;
        product = 1.0;
        ++p;
        if (p == end) return sum;
    }
}

} // namespace

const Unit* findUnit(std::u16string_view name) {
    const auto found = std::find_if(units.begin(), units.end(), [name](const Unit& u) { return u.name == name; });
    return found == units.end() ? nullptr : &*found;
}

OUString formatDecimal(double x) {
    OUString s = rtl::math::doubleToUString(x, rtl_math_StringFormat_Automatic, rtl_math_DecimalPlaces_Max, u'.', true);
    if (s.indexOf(u'.') < 0 && s.indexOf(u'e') < 0 && s.indexOf(u'E') < 0) s += std::u16string_view(u".0");
    return s;
}

// --- spelling and morphology -----------------------------------------------------------------

bool Lexivor::spell(const Locale& locale, const OUString& word) {
    if (word.isEmpty()) return false;
    if (!spellCheckerLookedUp_) {
        spellCheckerLookedUp_ = true;
        try {
            const Reference<zel::uno::XComponentContext> context = comphelper::getProcessComponentContext();
            const Reference<lang::XMultiComponentFactory> factory =
                context.is() ? context->getServiceManager() : Reference<lang::XMultiComponentFactory>();
            if (factory.is())
                spellChecker_.set(factory->createInstanceWithContext(spellCheckerService, context), zel::uno::UNO_QUERY);
        } catch (const zel::uno::Exception&) {
            spellChecker_.clear();
        }
    }
    if (!spellChecker_.is()) return false;
    try {
        return spellChecker_->isValid(word, locale, {});
    } catch (const zel::uno::Exception&) {
        return false;
    }
}

std::vector<OUString> Lexivor::query(const Locale& locale, const OUString& text) {
    spell(locale, u"a"); // makes sure that the spell checker has been looked up
    if (!spellChecker_.is()) return {};
    try {
        const Reference<linguistic2::XSpellAlternatives> alternatives = spellChecker_->spell(text, locale, {});
        if (!alternatives.is()) return {};
        return toVector(alternatives->getAlternatives());
    } catch (const zel::uno::Exception&) {
        return {};
    }
}

OUString Lexivor::suggest(const Locale& locale, const OUString& word) {
    if (word.isEmpty()) return {};
    CacheKey key(cacheTag(locale), word);
    if (const auto hit = suggestionCache_.find(key); hit != suggestionCache_.end()) return hit->second;
    OUString joined = joinLines(query(locale, u"_" + word));
    return suggestionCache_.emplace(std::move(key), std::move(joined)).first->second;
}

std::vector<OUString> Lexivor::stem(const Locale& locale, const OUString& word) {
    if (word.isEmpty()) return {};
    CacheKey key(cacheTag(locale), word);
    if (const auto hit = stemCache_.find(key); hit != stemCache_.end()) return hit->second;
    std::vector<OUString> stems = query(locale, xmlQuery(u"stem", word));
    return stemCache_.emplace(std::move(key), std::move(stems)).first->second;
}

std::vector<OUString> Lexivor::generate(const Locale& locale, const OUString& word, const OUString& example) {
    if (word.isEmpty()) return {};
    return query(locale,
                 u"<?xml?><query type='generate'><word>" + word + u"</word><word>" + example + u"</word></query>");
}

const std::vector<OUString>& Lexivor::getAnalyses(const Locale& locale, const OUString& word) {
    CacheKey key(cacheTag(locale), word);
    if (const auto hit = analysisCache_.find(key); hit != analysisCache_.end()) return hit->second;
    const std::vector<OUString> answer = query(locale, xmlQuery(u"analyze", word));
    std::vector<OUString> analyses;
    if (!answer.empty()) {
        // Each analysis ends with "</a>"; whatever follows the last one is not an analysis.
        const OUString& first = answer.front();
        sal_Int32 position = 0;
        for (sal_Int32 close; (close = first.indexOf(u"</a>", position)) >= 0; position = close + 4)
            analyses.push_back(first.copy(position, close - position));
    }
    return analysisCache_.emplace(std::move(key), std::move(analyses)).first->second;
}

icu::RegexMatcher* Lexivor::getMorphMatcher(const OUString& pattern) {
    if (const auto hit = morphMatchers_.find(pattern); hit != morphMatchers_.end()) return hit->second.get();
    UErrorCode status = U_ZERO_ERROR;
    auto matcher = std::make_unique<icu::RegexMatcher>(icu::UnicodeString(pattern.getStr(), pattern.getLength()), 0, status);
    if (U_FAILURE(status))
        matcher.reset(); // remembered as null: never compiled again
    else
        limitMatchTime(*matcher);
    return morphMatchers_.emplace(pattern, std::move(matcher)).first->second.get();
}

OUString Lexivor::morph(const Locale& locale, const OUString& word, const OUString& pattern, bool all,
                        bool onlyLastItem) {
    if (word.isEmpty()) return {};
    icu::RegexMatcher* matcher = getMorphMatcher(pattern);
    if (!matcher) return {};
    OUString result;
    for (const OUString& analysis : getAnalyses(locale, word)) {
        OUString tested = analysis;
        if (onlyLastItem) {
            // The last stem or part-of-speech field, behind a "\1" that stands where the field's name was.
            const sal_Int32 k = std::max(analysis.lastIndexOf(u"st:"), analysis.lastIndexOf(u"po:"));
            if (k >= 0) tested = trimmed(u"\\1" + analysis.copy(k + 3));
        }
        const icu::UnicodeString input(tested.getStr(), tested.getLength());
        matcher->reset(input);
        UErrorCode status = U_ZERO_ERROR;
        const bool found = matcher->find(status) && U_SUCCESS(status);
        if (found) {
            const icu::UnicodeString matched = matcher->group(status);
            result = U_SUCCESS(status) ? fromIcu(matched) : OUString();
            if (!all) return result;
        } else if (all) {
            return {};
        }
    }
    return result;
}

icu::RegexMatcher* Lexivor::getConstantMatcher(unsigned int index) {
    if (!currentPackage_) return nullptr;
    Package& package = *currentPackage_;
    const RuleFile& file = *package.file;
    if (index >= file.constantCount()) return nullptr;
    if (package.constantMatchers.size() != file.constantCount()) package.constantMatchers.resize(file.constantCount());
    std::unique_ptr<icu::RegexMatcher>& slot = package.constantMatchers[index];
    if (slot) return slot.get();
    const Constant constant = file.getConstant(index);
    if (constant.kind != sal_uInt32(ConstantKind::Pattern)) return nullptr;
    const OUString regex = file.getString(constant.offset);
    UErrorCode status = U_ZERO_ERROR;
    auto matcher = std::make_unique<icu::RegexMatcher>(icu::UnicodeString(regex.getStr(), regex.getLength()),
                                                       constant.flags, status);
    if (U_FAILURE(status)) return nullptr; // the slot stays empty, so the next call tries again
    limitMatchTime(*matcher);
    slot = std::move(matcher);
    return slot.get();
}

// --- measurements and numbers in words -------------------------------------------------------------

OUString Lexivor::measurement(const OUString& value, const OUString& fromUnit, const OUString& toUnit,
                              const OUString& suffix, const OUString& decimalSeparator,
                              const OUString& thousandsSeparator, bool fractions) {
    OUString text = value;
    if (fractions && (fromUnit == u"ft" || fromUnit == u"in" || fromUnit == u"mi"))
        text = text.replaceAll(u" 1/2", u".5").replaceAll(u" \u00BD", u".5").replaceAll(u"\u00BD", u".5");
    if (!thousandsSeparator.isEmpty()) text = text.replaceAll(thousandsSeparator, u"");
    if (!decimalSeparator.isEmpty()) text = text.replaceAll(decimalSeparator, u".");
    text = text.replaceAll(u"\u2212", u"-");
    if (text.isEmpty()) return {};
    const std::optional<double> sum = evaluateSum(text);
    if (!sum) return {};

    const Unit* from = findUnit(fromUnit);
    const Unit* to = findUnit(toUnit);
    if (!from || !to || from->kind != to->kind) {
        QX_LOG_WARN(logArea, "no conversion from " << fromUnit << " to " << toUnit);
        return {};
    }
    const double s = *sum;
    const double v =
        from->kind == 't'
            ? rtl::math::pow10Exp((rtl::math::pow10Exp(s, from->power) / from->factor - from->offset + to->offset) * to->factor,
                                  -to->power)
            : rtl::math::pow10Exp(s * to->factor / from->factor, from->power - to->power);

    const std::array<OUString, 4> candidates{
        rtl::math::doubleToUString(rtl::math::round(v, 0), rtl_math_StringFormat_F, 0, u'.', true),
        formatDecimal(rtl::math::round(v, 1)),
        formatDecimal(rtl::math::round(v, 2)),
        formatDecimal(v),
    };
    std::vector<OUString> texts;
    for (const OUString& c : candidates)
        if (std::find(texts.begin(), texts.end(), c) == texts.end()) texts.push_back(c);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const OUString& a, const OUString& b) { return a.getLength() < b.getLength(); });

    // Only the numbers take the locale's separators and minus sign; the suffix is
    // the rule's own text and stays as the rule wrote it.  Without a decimal
    // separator the point stays, so that 1.5 never turns into 15.
    OUStringBuffer out;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        OUString number = texts[i];
        if (!decimalSeparator.isEmpty()) number = number.replaceAll(u".", decimalSeparator);
        number = number.replaceAll(u"-", u"\u2212");
        if (i) out.append(u'\n');
        out.append(number).append(suffix);
    }
    return out.makeStringAndClear();
}

OUString Lexivor::numberText(const OUString& number, const OUString& languageTag) {
    try {
        if (!numberTextLookedUp_) {
            numberTextLookedUp_ = true;
            const Reference<zel::uno::XComponentContext> context = comphelper::getProcessComponentContext();
            const Reference<lang::XMultiComponentFactory> factory =
                context.is() ? context->getServiceManager() : Reference<lang::XMultiComponentFactory>();
            if (factory.is())
                numberTextService_.set(factory->createInstanceWithContext(numberTextServiceName, context),
                                       zel::uno::UNO_QUERY);
        }
        if (!numberTextService_.is()) return {};
        return numberTextService_->getNumberText(number, LanguageTag::convertToLocale(languageTag, true));
    } catch (const zel::uno::Exception&) {
        return {};
    }
}

} // namespace lexivor
