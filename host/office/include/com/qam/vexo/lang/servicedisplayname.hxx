#pragma once
// XServiceDisplayName (module com.qam.vexo.lang): a service's name as users see it.

#include <com/qam/vexo/lang/Locale.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::lang {

class ZEL_UNO_INTERFACE_CLASS XServiceDisplayName : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XServiceDisplayName, "com.qam.vexo.lang.XServiceDisplayName")
    virtual OUString getServiceDisplayName(const Locale& locale) = 0;
};

} // namespace com::qam::vexo::lang
