#pragma once
// The C form of an enterable: an object that decides how code enters and leaves
// a purpose environment.  Every function takes the enterable as first argument.
//
// m_callInto_v runs pCallee inside the context and m_callOut_v outside it; the
// callee receives the argument list given.  m_isValid says whether the current
// thread may use the context, with a reason when it may not.

#include <rtl/ustring.h>
#include <sal/types.h>

#include <cstdarg>

extern "C" {

typedef void uno_EnvCallee(va_list* pParam);

struct uno_Enterable {
    void (*m_enter)(void* context);
    void (*m_leave)(void* context);
    void (*m_callInto_v)(void* context, uno_EnvCallee* pCallee, va_list* pParam);
    void (*m_callOut_v)(void* context, uno_EnvCallee* pCallee, va_list* pParam);
    int (*m_isValid)(void* context, rtl_uString** pReason);
};

// The trampolines of cppu::Enterable: context is the uno_Enterable part of a
// cppu::Enterable, and each calls the matching virtual operation.
SALQX_DLLPUBLIC void Enterable_call_enter(void* context);
SALQX_DLLPUBLIC void Enterable_call_leave(void* context);
SALQX_DLLPUBLIC void Enterable_call_callInto_v(void* context, uno_EnvCallee* pCallee, va_list* pParam);
SALQX_DLLPUBLIC void Enterable_call_callOut_v(void* context, uno_EnvCallee* pCallee, va_list* pParam);
SALQX_DLLPUBLIC int Enterable_call_isValid(void* context, rtl_uString** pReason);

} // extern "C"
