#pragma once
// The grammar checker's interface and its result records (module
// com.qam.vexo.linguistic2).  Members are in declaration order.

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/linguistic2/supportedlocales.hxx>

namespace com::qam::vexo::linguistic2 {

class XProofreader;

// One error in a checked text.
struct SingleProofreadingError {
    sal_Int32 nErrorStart = 0;  // UTF-16 offset in the text
    sal_Int32 nErrorLength = 0; // in UTF-16 units
    sal_Int32 nErrorType = 0;   // the host's markup type; 2 is a grammar error
    OUString aRuleIdentifier;
    OUString aShortComment;
    OUString aFullComment;
    Sequence<OUString> aSuggestions;
    Sequence<::com::qam::vexo::beans::PropertyValue> aProperties;
};

// What XProofreader::doProofreading found in one sentence (or paragraph).
struct ProofreadingResult {
    OUString aDocumentIdentifier;
    // The host's flat paragraph.  The stand-in has no flat-paragraph iteration, so
    // the member is typed as its root interface; proofreaders leave it null.
    Reference<::zel::uno::XInterface> xFlatParagraph;
    OUString aText;
    Locale aLocale;
    sal_Int32 nStartOfSentencePosition = 0;
    sal_Int32 nBehindEndOfSentencePosition = 0;
    sal_Int32 nStartOfNextSentencePosition = 0;
    Sequence<SingleProofreadingError> aErrors;
    Sequence<::com::qam::vexo::beans::PropertyValue> aProperties;
    Reference<XProofreader> xProofreader;
};

class ZEL_UNO_INTERFACE_CLASS XProofreader : public XSupportedLocales {
public:
    ZEL_UNO_INTERFACE(XProofreader, "com.qam.vexo.linguistic2.XProofreader")
    virtual bool isSpellChecker() = 0;
    virtual ProofreadingResult doProofreading(const OUString& documentIdentifier, const OUString& text,
                                              const Locale& locale, sal_Int32 startOfSentencePosition,
                                              sal_Int32 suggestedBehindEndOfSentencePosition,
                                              const Sequence<::com::qam::vexo::beans::PropertyValue>& properties) = 0;
    virtual void ignoreRule(const OUString& ruleIdentifier, const Locale& locale) = 0;
    virtual void resetIgnoreRules() = 0;
};

} // namespace com::qam::vexo::linguistic2

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::linguistic2::SingleProofreadingError, STRUCT,
                     "com.qam.vexo.linguistic2.SingleProofreadingError")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::linguistic2::ProofreadingResult, STRUCT,
                     "com.qam.vexo.linguistic2.ProofreadingResult")
