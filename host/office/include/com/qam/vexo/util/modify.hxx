#pragma once
// Notification of changes to a document (module com.qam.vexo.util).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::util {

using ::zel::uno::Reference;

class ZEL_UNO_INTERFACE_CLASS XModifyListener : public ::com::qam::vexo::lang::XEventListener {
public:
    ZEL_UNO_INTERFACE(XModifyListener, "com.qam.vexo.util.XModifyListener")
    // Called after every change to the content of the object listened to.
    virtual void modified(const ::com::qam::vexo::lang::EventObject& event) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XModifyBroadcaster : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XModifyBroadcaster, "com.qam.vexo.util.XModifyBroadcaster")
    virtual void addModifyListener(const Reference<XModifyListener>& listener) = 0;
    virtual void removeModifyListener(const Reference<XModifyListener>& listener) = 0;
};

} // namespace com::qam::vexo::util
