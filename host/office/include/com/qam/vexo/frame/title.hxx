#pragma once
// The title of a document (module com.qam.vexo.frame).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::frame {

class ZEL_UNO_INTERFACE_CLASS XTitle : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTitle, "com.qam.vexo.frame.XTitle")
    virtual OUString getTitle() = 0;
    virtual void setTitle(const OUString& title) = 0;
};

} // namespace com::qam::vexo::frame
