#pragma once
// Environments of the runtime's C level.
//
// An environment is where binary interfaces live: "uno" for plain ones, and
// "uno:<purpose>" for purpose environments, whose code runs only while the
// environment is entered.  One living environment exists per type name and
// context; uno_getEnvironment finds it (through its harden member) or creates
// it and runs the initialiser that the purpose's creator registered, while the
// new environment's only reference is the one being handed out.
//
// Counting: acquire/release change the hard count, acquireWeak/releaseWeak the
// weak one; harden turns a weak reference into a hard one while the
// environment still lives (else gives null).  At hard count 0 the environment
// leaves the table and drops whatever is still registered (plain entries
// released through their own release member, proxies through their free
// function) without calling through its own function members; its memory goes
// with the last weak reference (the hard references together hold one).
//
// The extended part carries the interface registry, keyed by object
// identifier and type.  An environment's enterable is the cppu::Enterable that
// its reserved pointer holds; null for plain environments.
//
// Leaves out: disposing callbacks, environment stacks and descriptors with
// several purposes.

#include <uno/Enterable.h>
#include <uno/dispatcher.h>

extern "C" {

struct uno_ExtEnvironment;

struct uno_Environment {
    void* pReserved;
    rtl_uString* pTypeName;
    void* pContext;
    uno_ExtEnvironment* pExtEnv;
    void (*acquire)(uno_Environment* pEnv);
    void (*release)(uno_Environment* pEnv);
    void (*acquireWeak)(uno_Environment* pEnv);
    void (*releaseWeak)(uno_Environment* pEnv);
    // *ppHardEnv (released first when it holds one) becomes pEnv, hard, or null
    // when pEnv has died.
    void (*harden)(uno_Environment** ppHardEnv, uno_Environment* pEnv);
};

typedef void (*uno_freeProxyFunc)(uno_ExtEnvironment* pEnv, void* pProxy);
typedef void* (*uno_memAlloc)(sal_Size nBytes);

struct uno_ExtEnvironment {
    uno_Environment aBase;
    // Registers an interface: acquires it.  When a different interface holds
    // the key, the caller's is released and *ppInterface becomes the held one,
    // acquired.  A second registration of the same interface counts.
    void (*registerInterface)(uno_ExtEnvironment* pEnv, void** ppInterface, rtl_uString* pOId,
                              typelib_InterfaceTypeDescription* pTypeDescr);
    // Registers a proxy: does not acquire it, keeps freeProxy to free it at
    // its last revocation.  A different held interface replaces it as above
    // (the caller's proxy is freed).
    void (*registerProxyInterface)(uno_ExtEnvironment* pEnv, void** ppProxy, uno_freeProxyFunc freeProxy,
                                   rtl_uString* pOId, typelib_InterfaceTypeDescription* pTypeDescr);
    // Takes one registration; at none releases the interface (a proxy: frees it).
    void (*revokeInterface)(uno_ExtEnvironment* pEnv, void* pInterface);
    // *ppOId (released first when set) becomes the registered identifier, else
    // the computed one, else null.
    void (*getObjectIdentifier)(uno_ExtEnvironment* pEnv, rtl_uString** ppOId, void* pInterface);
    // *ppInterface (released first when set) becomes the interface registered
    // for that identifier and type or a type derived from it, acquired, or null.
    void (*getRegisteredInterface)(uno_ExtEnvironment* pEnv, void** ppInterface, rtl_uString* pOId,
                                   typelib_InterfaceTypeDescription* pTypeDescr);
    // Every registered interface, acquired, in an array from memAlloc.
    void (*getRegisteredInterfaces)(uno_ExtEnvironment* pEnv, void*** pppInterfaces, sal_Int32* pnLen,
                                    uno_memAlloc memAlloc);
    // The identifier from the object's XInterface answer, or null without one.
    void (*computeObjectIdentifier)(uno_ExtEnvironment* pEnv, rtl_uString** ppOId, void* pInterface);
    void (*acquireInterface)(uno_ExtEnvironment* pEnv, void* pInterface);
    void (*releaseInterface)(uno_ExtEnvironment* pEnv, void* pInterface);
};

// Replaces *ppEnv (released first when set) by the living environment of that
// type name and context, hard, creating it when there is none.
SALQX_DLLPUBLIC void uno_getEnvironment(uno_Environment** ppEnv, rtl_uString* pTypeName, void* pContext);

// Initialisers of purpose environments by full type name ("uno:test"): run
// once on each new environment of that name, before anyone else sees it.
typedef void uno_initEnvironmentFunc(uno_Environment* pEnv, void* pContext);
SALQX_DLLPUBLIC void uno_registerEnvironmentInitializer(rtl_uString* pTypeName, uno_initEnvironmentFunc* pInit,
                                                        void* pContext);
SALQX_DLLPUBLIC void uno_revokeEnvironmentInitializer(rtl_uString* pTypeName);

// Runs pCallee with the argument list inside pEnv.  When pEnv is the thread's
// current environment, directly; otherwise it leaves the current purpose
// environment through its enterable's call-out and enters pEnv through its
// enterable's call-into (a plain environment needs no entering), pEnv being
// current while the callee runs.  Neither allocates nor locks.
SALQX_DLLPUBLIC void uno_Environment_invoke_v(uno_Environment* pEnv, uno_EnvCallee* pCallee, va_list* pParam);
SALQX_DLLPUBLIC void uno_Environment_invoke(uno_Environment* pEnv, uno_EnvCallee* pCallee, ...);

// The thread's current environment, not counted; null for the plain one.
SALQX_DLLPUBLIC uno_Environment* uno_Environment_getCurrent();

// The hard and weak counts (for tests and diagnostics).
SALQX_DLLPUBLIC sal_Int32 uno_Environment_getHardCount(uno_Environment* pEnv);

} // extern "C"
