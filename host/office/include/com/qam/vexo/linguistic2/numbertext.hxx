#pragma once
// Numbers in words (module com.qam.vexo.linguistic2).

#include <com/qam/vexo/linguistic2/supportedlocales.hxx>

namespace com::qam::vexo::linguistic2 {

class ZEL_UNO_INTERFACE_CLASS XNumberText : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XNumberText, "com.qam.vexo.linguistic2.XNumberText")
    // The text ("1234", "ordinal 3", ...) spelled out in the locale's language.
    virtual OUString getNumberText(const OUString& text, const Locale& locale) = 0;
    virtual Sequence<Locale> getAvailableLanguages() = 0;
};

} // namespace com::qam::vexo::linguistic2
