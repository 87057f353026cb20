#pragma once
// XSupportedLocales (module com.qam.vexo.linguistic2): the base of every
// linguistic service, which serves a fixed set of locales.

#include <com/qam/vexo/lang/Locale.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::linguistic2 {

using ::com::qam::vexo::lang::Locale;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class ZEL_UNO_INTERFACE_CLASS XSupportedLocales : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSupportedLocales, "com.qam.vexo.linguistic2.XSupportedLocales")
    virtual Sequence<Locale> getLocales() = 0;
    virtual bool hasLocale(const Locale& locale) = 0;
};

} // namespace com::qam::vexo::linguistic2
