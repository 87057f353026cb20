#pragma once
// Events of the linguistic services (module com.qam.vexo.linguistic2): a
// service tells its listeners that earlier answers may no longer hold.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::linguistic2 {

using ::zel::uno::Reference;

// Bits of LinguServiceEvent::nEvent.
namespace LinguServiceEventFlags {
constexpr sal_Int16 SPELL_CORRECT_WORDS_AGAIN = 1;
constexpr sal_Int16 SPELL_WRONG_WORDS_AGAIN = 2;
constexpr sal_Int16 HYPHENATE_AGAIN = 4;
constexpr sal_Int16 PROOFREAD_AGAIN = 8;
} // namespace LinguServiceEventFlags

struct LinguServiceEvent : ::com::qam::vexo::lang::EventObject {
    sal_Int16 nEvent = 0;
};

class ZEL_UNO_INTERFACE_CLASS XLinguServiceEventListener : public ::com::qam::vexo::lang::XEventListener {
public:
    ZEL_UNO_INTERFACE(XLinguServiceEventListener, "com.qam.vexo.linguistic2.XLinguServiceEventListener")
    virtual void processLinguServiceEvent(const LinguServiceEvent& event) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XLinguServiceEventBroadcaster : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XLinguServiceEventBroadcaster, "com.qam.vexo.linguistic2.XLinguServiceEventBroadcaster")
    // False for a null listener or one that is already registered.
    virtual bool addLinguServiceEventListener(const Reference<XLinguServiceEventListener>& listener) = 0;
    // False when the listener was not registered.
    virtual bool removeLinguServiceEventListener(const Reference<XLinguServiceEventListener>& listener) = 0;
};

} // namespace com::qam::vexo::linguistic2

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::linguistic2::LinguServiceEvent, STRUCT,
                     "com.qam.vexo.linguistic2.LinguServiceEvent")
