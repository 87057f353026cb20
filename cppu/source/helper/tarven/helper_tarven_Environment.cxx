// The purpose environment: Base hangs on a runtime environment, serves as its
// enterable by forwarding to the enterable it owns, lives exactly as long as
// the environment's hard references (it takes over the counting functions),
// and runs every registry function of the extended part inside the
// environment through uno_Environment_invoke.

#include "tarven.hxx"

#include <rtl/ustring.hxx>
#include <sal/logging.hxx>

#include <atomic>
#include <cassert>
#include <memory>

namespace cppu::helper::tarven {
namespace {

using ExtEnv_registerProxyInterface = void(uno_ExtEnvironment*, void**, uno_freeProxyFunc, rtl_uString*,
                                           typelib_InterfaceTypeDescription*);
using ExtEnv_revokeInterface = void(uno_ExtEnvironment*, void*);
using ExtEnv_getObjectIdentifier = void(uno_ExtEnvironment*, rtl_uString**, void*);
using ExtEnv_getRegisteredInterface = void(uno_ExtEnvironment*, void**, rtl_uString*,
                                           typelib_InterfaceTypeDescription*);
using ExtEnv_getRegisteredInterfaces = void(uno_ExtEnvironment*, void***, sal_Int32*, uno_memAlloc);
using ExtEnv_computeObjectIdentifier = void(uno_ExtEnvironment*, rtl_uString**, void*);
using ExtEnv_acquireInterface = void(uno_ExtEnvironment*, void*);
using ExtEnv_releaseInterface = void(uno_ExtEnvironment*, void*);

class Base : public cppu::Enterable {
public:
    Base(uno_Environment* pEnv, cppu::Enterable* pEnterable);

    void acquire() { m_nRef.fetch_add(1, std::memory_order_relaxed); }
    void release();

    void v_enter() override;
    void v_leave() override;
    void v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) override;
    void v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) override;
    bool v_isValid(rtl_uString** pReason) override;
    ~Base() override;

    std::atomic<sal_Int32> m_nRef{1};
    uno_Environment* m_pEnv;
    std::unique_ptr<cppu::Enterable> m_pEnterable;

    void (*m_env_acquire)(uno_Environment*);
    void (*m_env_release)(uno_Environment*);
    void (*m_env_harden)(uno_Environment**, uno_Environment*);
    void (*m_env_acquireWeak)(uno_Environment*);
    void (*m_env_releaseWeak)(uno_Environment*);

    ExtEnv_registerProxyInterface* m_registerProxyInterface;
    ExtEnv_revokeInterface* m_revokeInterface;
    ExtEnv_getObjectIdentifier* m_getObjectIdentifier;
    ExtEnv_getRegisteredInterface* m_getRegisteredInterface;
    ExtEnv_getRegisteredInterfaces* m_getRegisteredInterfaces;
    ExtEnv_computeObjectIdentifier* m_computeObjectIdentifier;
    ExtEnv_acquireInterface* m_acquireInterface;
    ExtEnv_releaseInterface* m_releaseInterface;
};

Base* baseOf(uno_Environment* pEnv) {
    // Base clears the pointer as it dies; the counting functions keep the
    // environment's hard count and Base's count in step, so no installed
    // function can run on an environment that has outlived its Base.
    assert(pEnv->pReserved != nullptr && "purpose environment used after its Base has gone");
    return static_cast<Base*>(static_cast<cppu::Enterable*>(pEnv->pReserved));
}

Base* baseOf(uno_ExtEnvironment* pExtEnv) { return baseOf(&pExtEnv->aBase); }

// --- environment counting ----------------------------------------------------

void s_acquire(uno_Environment* pEnv) {
    Base* pBase = baseOf(pEnv);
    pBase->m_env_acquire(pEnv);
    pBase->acquire();
}

void s_release(uno_Environment* pEnv) { baseOf(pEnv)->release(); }

void s_harden(uno_Environment** ppHardEnv, uno_Environment* pEnv) {
    Base* pBase = baseOf(pEnv);
    pBase->m_env_harden(ppHardEnv, pEnv);
    // A dead environment hardens to null: nothing was counted then.
    if (*ppHardEnv != nullptr) pBase->acquire();
}

void s_acquireWeak(uno_Environment* pEnv) { baseOf(pEnv)->m_env_acquireWeak(pEnv); }
void s_releaseWeak(uno_Environment* pEnv) { baseOf(pEnv)->m_env_releaseWeak(pEnv); }

// --- registry functions, run inside the environment --------------------------

void s_registerProxyInterface_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto* ppProxy = va_arg(*pParam, void**);
    auto freeProxy = va_arg(*pParam, uno_freeProxyFunc);
    auto* pOId = va_arg(*pParam, rtl_uString*);
    auto* pTypeDescr = va_arg(*pParam, typelib_InterfaceTypeDescription*);
    auto* pRegisterProxyInterface = va_arg(*pParam, ExtEnv_registerProxyInterface*);
    pRegisterProxyInterface(pExtEnv, ppProxy, freeProxy, pOId, pTypeDescr);
}

void s_registerProxyInterface(uno_ExtEnvironment* pExtEnv, void** ppProxy, uno_freeProxyFunc freeProxy,
                              rtl_uString* pOId, typelib_InterfaceTypeDescription* pTypeDescr) {
    Base* pBase = baseOf(pExtEnv);
    rtl_uString_acquire(pOId);
    uno_Environment_invoke(&pExtEnv->aBase, s_registerProxyInterface_v, pExtEnv, ppProxy, freeProxy, pOId,
                           pTypeDescr, pBase->m_registerProxyInterface);
    rtl_uString_release(pOId);
}

void s_revokeInterface_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto* pInterface = va_arg(*pParam, void*);
    auto* pRevokeInterface = va_arg(*pParam, ExtEnv_revokeInterface*);
    pRevokeInterface(pExtEnv, pInterface);
}

void s_revokeInterface(uno_ExtEnvironment* pExtEnv, void* pInterface) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_revokeInterface_v, pExtEnv, pInterface, pBase->m_revokeInterface);
}

void s_getObjectIdentifier_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto** ppOId = va_arg(*pParam, rtl_uString**);
    auto* pInterface = va_arg(*pParam, void*);
    auto* pGetObjectIdentifier = va_arg(*pParam, ExtEnv_getObjectIdentifier*);
    pGetObjectIdentifier(pExtEnv, ppOId, pInterface);
}

void s_getObjectIdentifier(uno_ExtEnvironment* pExtEnv, rtl_uString** ppOId, void* pInterface) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_getObjectIdentifier_v, pExtEnv, ppOId, pInterface,
                           pBase->m_getObjectIdentifier);
}

void s_getRegisteredInterface_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto** ppInterface = va_arg(*pParam, void**);
    auto* pOId = va_arg(*pParam, rtl_uString*);
    auto* pTypeDescr = va_arg(*pParam, typelib_InterfaceTypeDescription*);
    auto* pGetRegisteredInterface = va_arg(*pParam, ExtEnv_getRegisteredInterface*);
    pGetRegisteredInterface(pExtEnv, ppInterface, pOId, pTypeDescr);
}

void s_getRegisteredInterface(uno_ExtEnvironment* pExtEnv, void** ppInterface, rtl_uString* pOId,
                              typelib_InterfaceTypeDescription* pTypeDescr) {
    Base* pBase = baseOf(pExtEnv);
    rtl_uString_acquire(pOId);
    uno_Environment_invoke(&pExtEnv->aBase, s_getRegisteredInterface_v, pExtEnv, ppInterface, pOId, pTypeDescr,
                           pBase->m_getRegisteredInterface);
    rtl_uString_release(pOId);
}

void s_getRegisteredInterfaces_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto*** pppInterfaces = va_arg(*pParam, void***);
    auto* pnLen = va_arg(*pParam, sal_Int32*);
    auto memAlloc = va_arg(*pParam, uno_memAlloc);
    auto* pGetRegisteredInterfaces = va_arg(*pParam, ExtEnv_getRegisteredInterfaces*);
    pGetRegisteredInterfaces(pExtEnv, pppInterfaces, pnLen, memAlloc);
}

void s_getRegisteredInterfaces(uno_ExtEnvironment* pExtEnv, void*** pppInterfaces, sal_Int32* pnLen,
                               uno_memAlloc memAlloc) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_getRegisteredInterfaces_v, pExtEnv, pppInterfaces, pnLen, memAlloc,
                           pBase->m_getRegisteredInterfaces);
}

void s_computeObjectIdentifier_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto** ppOId = va_arg(*pParam, rtl_uString**);
    auto* pInterface = va_arg(*pParam, void*);
    auto* pComputeObjectIdentifier = va_arg(*pParam, ExtEnv_computeObjectIdentifier*);
    pComputeObjectIdentifier(pExtEnv, ppOId, pInterface);
}

void s_computeObjectIdentifier(uno_ExtEnvironment* pExtEnv, rtl_uString** ppOId, void* pInterface) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_computeObjectIdentifier_v, pExtEnv, ppOId, pInterface,
                           pBase->m_computeObjectIdentifier);
}

void s_acquireInterface_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto* pInterface = va_arg(*pParam, void*);
    auto* pAcquireInterface = va_arg(*pParam, ExtEnv_acquireInterface*);
    pAcquireInterface(pExtEnv, pInterface);
}

void s_acquireInterface(uno_ExtEnvironment* pExtEnv, void* pInterface) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_acquireInterface_v, pExtEnv, pInterface, pBase->m_acquireInterface);
}

void s_releaseInterface_v(va_list* pParam) {
    auto* pExtEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto* pInterface = va_arg(*pParam, void*);
    auto* pReleaseInterface = va_arg(*pParam, ExtEnv_releaseInterface*);
    pReleaseInterface(pExtEnv, pInterface);
}

void s_releaseInterface(uno_ExtEnvironment* pExtEnv, void* pInterface) {
    Base* pBase = baseOf(pExtEnv);
    uno_Environment_invoke(&pExtEnv->aBase, s_releaseInterface_v, pExtEnv, pInterface, pBase->m_releaseInterface);
}

// --- Base --------------------------------------------------------------------

Base::Base(uno_Environment* pEnv, cppu::Enterable* pEnterable)
    : m_pEnv(pEnv),
      m_pEnterable(pEnterable),
      m_env_acquire(pEnv->acquire),
      m_env_release(pEnv->release),
      m_env_harden(pEnv->harden),
      m_env_acquireWeak(pEnv->acquireWeak),
      m_env_releaseWeak(pEnv->releaseWeak),
      m_registerProxyInterface(pEnv->pExtEnv->registerProxyInterface),
      m_revokeInterface(pEnv->pExtEnv->revokeInterface),
      m_getObjectIdentifier(pEnv->pExtEnv->getObjectIdentifier),
      m_getRegisteredInterface(pEnv->pExtEnv->getRegisteredInterface),
      m_getRegisteredInterfaces(pEnv->pExtEnv->getRegisteredInterfaces),
      m_computeObjectIdentifier(pEnv->pExtEnv->computeObjectIdentifier),
      m_acquireInterface(pEnv->pExtEnv->acquireInterface),
      m_releaseInterface(pEnv->pExtEnv->releaseInterface) {
    QX_LOG_INFO("cppu.tarven", "LIFE: cppu::helper::tarven::Base::Base(uno_Environment * pEnv) -> "
                                   << static_cast<const void*>(this));
    const rtl_uString* name = pEnv->pTypeName;
    const bool uno = name->length >= 3 && name->buffer[0] == u'u' && name->buffer[1] == u'n' && name->buffer[2] == u'o';
    QX_LOG_WARN_IF(!uno, "legacy.osl", "### wrong environment type!");

    pEnv->harden = s_harden;
    pEnv->acquire = s_acquire;
    pEnv->release = s_release;
    pEnv->acquireWeak = s_acquireWeak;
    pEnv->releaseWeak = s_releaseWeak;

    uno_ExtEnvironment* pExtEnv = pEnv->pExtEnv;
    pExtEnv->registerProxyInterface = s_registerProxyInterface;
    pExtEnv->revokeInterface = s_revokeInterface;
    pExtEnv->getObjectIdentifier = s_getObjectIdentifier;
    pExtEnv->getRegisteredInterface = s_getRegisteredInterface;
    pExtEnv->getRegisteredInterfaces = s_getRegisteredInterfaces;
    pExtEnv->computeObjectIdentifier = s_computeObjectIdentifier;
    pExtEnv->acquireInterface = s_acquireInterface;
    pExtEnv->releaseInterface = s_releaseInterface;

    pEnv->pReserved = static_cast<cppu::Enterable*>(this);
}

Base::~Base() {
    QX_LOG_INFO("cppu.tarven", "LIFE: cppu::helper::tarven::Base::~Base() -> " << static_cast<const void*>(this));
    m_pEnv->pReserved = nullptr;
    m_pEnv->acquire = m_env_acquire;
    m_pEnv->release = m_env_release;
    m_pEnv->harden = m_env_harden;
    m_pEnv->acquireWeak = m_env_acquireWeak;
    m_pEnv->releaseWeak = m_env_releaseWeak;
    m_pEnterable.reset();
    // The release that brought the count to 0, passed on last.
    m_pEnv->release(m_pEnv);
}

void Base::release() {
    if (m_nRef.fetch_sub(1, std::memory_order_acq_rel) != 1) {
        m_env_release(m_pEnv);
        return;
    }
    delete this;
}

void Base::v_enter() { m_pEnterable->m_enter(static_cast<uno_Enterable*>(m_pEnterable.get())); }
void Base::v_leave() { m_pEnterable->m_leave(static_cast<uno_Enterable*>(m_pEnterable.get())); }
// An owned enterable whose C function is still the runtime's trampoline gets
// its virtual operation directly: what the trampoline would do, one hop less
// on the path of every call into the environment.  (Guessing that the owned
// enterable is a Base again only lengthens that path, hence no speculative
// devirtualisation in these two.)
#if defined(__GNUC__) && !defined(__clang__)
#define TARVEN_NO_SPECULATION __attribute__((optimize("no-devirtualize-speculatively")))
#else
#define TARVEN_NO_SPECULATION
#endif
TARVEN_NO_SPECULATION void Base::v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) {
    cppu::Enterable& rInner = *m_pEnterable;
    if (rInner.m_callInto_v == Enterable_call_callInto_v) [[likely]]
        rInner.v_callInto_v(pCallee, pParam);
    else
        rInner.m_callInto_v(static_cast<uno_Enterable*>(&rInner), pCallee, pParam);
}
TARVEN_NO_SPECULATION void Base::v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) {
    cppu::Enterable& rInner = *m_pEnterable;
    if (rInner.m_callOut_v == Enterable_call_callOut_v) [[likely]]
        rInner.v_callOut_v(pCallee, pParam);
    else
        rInner.m_callOut_v(static_cast<uno_Enterable*>(&rInner), pCallee, pParam);
}
bool Base::v_isValid(rtl_uString** pReason) {
    return m_pEnterable->m_isValid(static_cast<uno_Enterable*>(m_pEnterable.get()), pReason) != 0;
}

} // namespace

void Environment_initWithEnterable(uno_Environment* pEnvironment, cppu::Enterable* pEnterable) {
    new Base(pEnvironment, pEnterable);
}

} // namespace cppu::helper::tarven
