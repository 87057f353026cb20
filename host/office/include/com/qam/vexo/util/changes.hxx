#pragma once
// Change notification of hierarchical data (module com.qam.vexo.util), as the
// configuration sends it.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::util {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

// One changed element.  Accessor: the element's path relative to the notifier
// (a string "name" or "node/name"); Element: its new value (void when removed);
// ReplacedElement: its old value (void when it is new).
struct ElementChange {
    Any Accessor;
    Any Element;
    Any ReplacedElement;
    friend bool operator==(const ElementChange&, const ElementChange&) = default;
};

// Source: the notifier; Base: the notifier's node, to which the accessors are relative.
struct ChangesEvent : ::com::qam::vexo::lang::EventObject {
    Any Base;
    Sequence<ElementChange> Changes;
};

class ZEL_UNO_INTERFACE_CLASS XChangesListener : public ::com::qam::vexo::lang::XEventListener {
public:
    ZEL_UNO_INTERFACE(XChangesListener, "com.qam.vexo.util.XChangesListener")
    virtual void changesOccurred(const ChangesEvent& event) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XChangesNotifier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XChangesNotifier, "com.qam.vexo.util.XChangesNotifier")
    virtual void addChangesListener(const Reference<XChangesListener>& listener) = 0;
    virtual void removeChangesListener(const Reference<XChangesListener>& listener) = 0;
};

} // namespace com::qam::vexo::util

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::util::ElementChange, STRUCT, "com.qam.vexo.util.ElementChange")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::util::ChangesEvent, STRUCT, "com.qam.vexo.util.ChangesEvent")
