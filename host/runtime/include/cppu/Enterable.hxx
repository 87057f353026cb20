#pragma once
// cppu::Enterable: an enterable written in C++.  The uno_Enterable part's five
// functions are the runtime's trampolines, which reach the virtual operations
// below; a purpose environment's creator derives from it and owns nothing else.

#include <uno/Enterable.h>

namespace cppu {

class SALQX_DLLPUBLIC Enterable : public uno_Enterable {
public:
    Enterable() {
        m_enter = Enterable_call_enter;
        m_leave = Enterable_call_leave;
        m_callInto_v = Enterable_call_callInto_v;
        m_callOut_v = Enterable_call_callOut_v;
        m_isValid = Enterable_call_isValid;
    }
    Enterable(const Enterable&) = delete;
    Enterable& operator=(const Enterable&) = delete;

    void enter() { m_enter(static_cast<uno_Enterable*>(this)); }
    void leave() { m_leave(static_cast<uno_Enterable*>(this)); }
    void callInto_v(uno_EnvCallee* pCallee, va_list* pParam) {
        m_callInto_v(static_cast<uno_Enterable*>(this), pCallee, pParam);
    }
    void callOut_v(uno_EnvCallee* pCallee, va_list* pParam) {
        m_callOut_v(static_cast<uno_Enterable*>(this), pCallee, pParam);
    }
    int isValid(rtl_uString** pReason) { return m_isValid(static_cast<uno_Enterable*>(this), pReason); }

    // Slot order matters to code that reaches them through the trampolines.
    virtual void v_enter() = 0;
    virtual void v_leave() = 0;
    virtual void v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) = 0;
    virtual void v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) = 0;
    virtual bool v_isValid(rtl_uString** pReason) = 0;
    virtual ~Enterable() = default;
};

} // namespace cppu
