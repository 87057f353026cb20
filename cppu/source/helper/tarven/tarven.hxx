#pragma once
// libtarven: purpose environments built from an enterable, and the mappings
// and proxies that carry calls into and out of them.
//
// Environment_initWithEnterable and createMapping are the library's only
// exports; the rest is declared here for the unit tests, which link the
// sources directly.

#include <cppu/Enterable.hxx>
#include <uno/environment.h>
#include <uno/mapping.h>

#define TARVEN_DLLPUBLIC __attribute__((visibility("default")))

namespace cppu::helper::tarven {

// Called before (pre true) and after every acquire, release and dispatch of a proxy.
using ProbeFun = void(bool pre, void* pThis, void* pContext, typelib_TypeDescriptionReference* pReturnTypeRef,
                      typelib_MethodParameter* pParams, int nParams, typelib_TypeDescription const* pMemberType,
                      void* pReturn, void* pArgs[], uno_Any** ppException);

// Makes pEnvironment a purpose environment entered through pEnterable, which
// it takes over.  pEnvironment must be freshly created, with the caller holding
// its only reference.
TARVEN_DLLPUBLIC void Environment_initWithEnterable(uno_Environment* pEnvironment, cppu::Enterable* pEnterable);

// Creates a mapping from pFrom to pTo, registers it with the runtime and hands
// it out, counted, in *ppMapping (the runtime may hand out one registered
// before instead).
TARVEN_DLLPUBLIC void createMapping(uno_Mapping** ppMapping, uno_Environment* pFrom, uno_Environment* pTo,
                                    ProbeFun* probeFun = nullptr, void* pContext = nullptr);

// Whether a value of that type can hold an interface reference.
bool relatesToInterface(typelib_TypeDescription* pTypeDescr);

} // namespace cppu::helper::tarven
