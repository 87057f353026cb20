#pragma once
// The spell checker (module com.qam.vexo.linguistic2).

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/linguistic2/supportedlocales.hxx>

namespace com::qam::vexo::linguistic2 {

// Why a word was rejected (XSpellAlternatives::getFailureType).
namespace SpellFailure {
constexpr sal_Int16 IS_NEGATIVE_WORD = 2;
constexpr sal_Int16 CAPTION_ERROR = 3;
constexpr sal_Int16 SPELLING_ERROR = 4;
} // namespace SpellFailure

// The answer of XSpellChecker::spell: the word asked about and what to offer instead.
class ZEL_UNO_INTERFACE_CLASS XSpellAlternatives : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSpellAlternatives, "com.qam.vexo.linguistic2.XSpellAlternatives")
    virtual OUString getWord() = 0;
    virtual Locale getLocale() = 0;
    virtual sal_Int16 getFailureType() = 0;
    virtual sal_Int16 getAlternativesCount() = 0;
    virtual Sequence<OUString> getAlternatives() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSpellChecker : public XSupportedLocales {
public:
    ZEL_UNO_INTERFACE(XSpellChecker, "com.qam.vexo.linguistic2.XSpellChecker")
    // Whether the word is correct in that locale.
    virtual bool isValid(const OUString& word, const Locale& locale,
                         const Sequence<::com::qam::vexo::beans::PropertyValue>& properties) = 0;
    // Null for a correct word, otherwise the suggestions.  Also answers the
    // morphological query texts ("<?xml?><query type='...'>...") and the
    // suggestion request "_" + word; see the service's documentation.
    virtual Reference<XSpellAlternatives> spell(const OUString& word, const Locale& locale,
                                                const Sequence<::com::qam::vexo::beans::PropertyValue>& properties) = 0;
};

} // namespace com::qam::vexo::linguistic2
