#pragma once
// Binary interfaces of the runtime's C level.
//
// A uno_Interface is an object seen through one interface type: acquire and
// release count it, and the dispatcher carries out a call of one member.  The
// calling convention: arguments are passed as an array of pointers to values;
// the callee constructs the return value (in pReturn) and the out values, and
// either sets *ppException to null or constructs the raised exception in the
// uno_Any that *ppException points at (and then constructs no return or out
// value).  An attribute get has a return buffer and no arguments; a set has
// no return buffer and one argument.

#include <uno/data.h>

extern "C" {

struct uno_Interface;

typedef void (*uno_DispatchMethod)(uno_Interface* pUnoI, const typelib_TypeDescription* pMemberType, void* pReturn,
                                   void* pArgs[], uno_Any** ppException);

struct uno_Interface {
    void (*acquire)(uno_Interface* pInterface);
    void (*release)(uno_Interface* pInterface);
    uno_DispatchMethod pDispatcher;
};

} // extern "C"
