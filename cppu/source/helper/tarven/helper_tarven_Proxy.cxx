// Proxy: forwards every call to the real interface inside the object
// environment, converting only values that can carry interfaces, and keeps
// itself registered in the proxy environment while it is referenced.

#include "helper_tarven_Proxy.hxx"

#include <sal/logging.hxx>

#include <alloca.h>
#include <cstdlib>

namespace cppu::helper::tarven {
namespace {

// A description for the length of a call: the reference's own when it holds a
// complete one, without a count.
class TempDescr {
public:
    explicit TempDescr(typelib_TypeDescriptionReference* pRef)
        : m_owned(typelib_typedescriptionreference_getTemporary(&m_pTD, pRef)) {
        // An interface type that nobody describes is still an interface.
        if (m_pTD == nullptr && pRef->eTypeClass == typelib_TypeClass_INTERFACE)
            m_owned = typelib_typedescriptionreference_getTemporary(&m_pTD, typelib_static_type_getXInterface());
    }
    ~TempDescr() {
        if (m_owned) typelib_typedescription_release(m_pTD);
    }
    TempDescr(const TempDescr&) = delete;
    TempDescr& operator=(const TempDescr&) = delete;
    typelib_TypeDescription* get() const { return m_pTD; }

private:
    typelib_TypeDescription* m_pTD = nullptr;
    bool m_owned;
};

// The types under examination, so that a type that holds itself (through a
// sequence) counts as holding no interface on the way round.
struct Examining {
    const typelib_TypeDescription* pTD;
    const Examining* pOuter;
};

bool relatesToInterface(typelib_TypeDescription* pTypeDescr, const Examining* pOuter);

inline bool refRelatesToInterface(typelib_TypeDescriptionReference* pRef, const Examining* pOuter) {
    switch (pRef->eTypeClass) {
    case typelib_TypeClass_ANY:
    case typelib_TypeClass_INTERFACE: return true;
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION:
    case typelib_TypeClass_SEQUENCE: {
        TempDescr td(pRef);
        return td.get() != nullptr && relatesToInterface(td.get(), pOuter);
    }
    default: return false;
    }
}

bool relatesToInterface(typelib_TypeDescription* pTypeDescr, const Examining* pOuter) {
    for (const Examining* e = pOuter; e != nullptr; e = e->pOuter)
        if (typelib_typedescription_equals(e->pTD, pTypeDescr)) return false;
    const Examining self{pTypeDescr, pOuter};
    switch (pTypeDescr->eTypeClass) {
    case typelib_TypeClass_ANY:
    case typelib_TypeClass_INTERFACE: return true;
    case typelib_TypeClass_SEQUENCE:
        return refRelatesToInterface(reinterpret_cast<typelib_IndirectTypeDescription*>(pTypeDescr)->pType, &self);
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        for (auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(pTypeDescr); c != nullptr;
             c = c->pBaseTypeDescription) {
            const Examining level{&c->aBase, &self};
            for (sal_Int32 i = 0; i < c->nMembers; ++i)
                if (refRelatesToInterface(c->ppTypeRefs[i], &level)) return true;
        }
        return false;
    }
    default: return false;
    }
}

sal_Int32 sizeOf(typelib_TypeDescriptionReference* pRef) {
    if (pRef->eTypeClass == typelib_TypeClass_INTERFACE || pRef->eTypeClass == typelib_TypeClass_SEQUENCE)
        return sal_Int32(sizeof(void*));
    if (pRef->eTypeClass == typelib_TypeClass_ANY) return sal_Int32(sizeof(uno_Any));
    TempDescr td(pRef);
    return td.get() == nullptr ? 0 : td.get()->nSize;
}

typelib_TypeDescription* xinterfaceMember(int nPosition) {
    typelib_TypeDescription* pTD = nullptr;
    typelib_typedescriptionreference_getDescription(&pTD, typelib_static_type_getXInterface());
    auto* pIface = reinterpret_cast<typelib_InterfaceTypeDescription*>(pTD);
    typelib_TypeDescription* pMember = pIface->ppAllMembers[nPosition];
    typelib_typedescription_acquire(pMember);
    typelib_typedescription_release(pTD);
    return pMember;
}

// XInterface's acquire and release methods: the member types the probe sees
// for a proxy's acquire and release.  Kept for the life of the library.
typelib_TypeDescription* const s_acquireMethod = xinterfaceMember(1);
typelib_TypeDescription* const s_releaseMethod = xinterfaceMember(2);

void s_acquireAndRegister_v(va_list* pParam) {
    auto** ppUnoI = va_arg(*pParam, uno_Interface**);
    auto* pOId = va_arg(*pParam, rtl_uString*);
    auto* pTypeDescr = va_arg(*pParam, typelib_InterfaceTypeDescription*);
    auto* pEnv = va_arg(*pParam, uno_ExtEnvironment*);
    (*ppUnoI)->acquire(*ppUnoI);
    // The registry may hand back the interface registered for this identifier
    // meanwhile, acquired, having released ours: the proxy then holds that one,
    // so that its revocation and release later match what was registered.
    void* pInterface = *ppUnoI;
    pEnv->registerInterface(pEnv, &pInterface, pOId, pTypeDescr);
    *ppUnoI = static_cast<uno_Interface*>(pInterface);
}

void s_releaseAndRevoke_v(va_list* pParam) {
    auto* pEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto* pUnoI = va_arg(*pParam, uno_Interface*);
    pEnv->revokeInterface(pEnv, pUnoI);
    pUnoI->release(pUnoI);
}

// The inner call, passed to s_dispatcher_v as one argument: one va_arg
// instead of five on the path of every call.
struct DispatchCall {
    uno_Interface* pUnoI;
    const typelib_TypeDescription* pMemberType;
    void* pReturn;
    void** pArgs;
    uno_Any** ppException;
};

void s_dispatcher_v(va_list* pParam) {
    auto* pCall = va_arg(*pParam, DispatchCall*);
    pCall->pUnoI->pDispatcher(pCall->pUnoI, pCall->pMemberType, pCall->pReturn, pCall->pArgs, pCall->ppException);
}

void s_type_destructData_v(va_list* pParam) {
    auto* pValue = va_arg(*pParam, void*);
    auto* pType = va_arg(*pParam, typelib_TypeDescriptionReference*);
    uno_type_destructData(pValue, pType, nullptr);
}

void s_any_destruct_v(va_list* pParam) {
    auto* pAny = va_arg(*pParam, uno_Any*);
    uno_any_destruct(pAny, nullptr);
}

void s_Proxy_acquire(uno_Interface* pProxy) { static_cast<Proxy*>(pProxy)->acquire(); }
void s_Proxy_release(uno_Interface* pProxy) { static_cast<Proxy*>(pProxy)->release(); }

// Every call that is not a plain method call without a probe.
[[gnu::noinline]] void s_Proxy_dispatchGeneral(Proxy* pThis, const typelib_TypeDescription* pMemberType,
                                               void* pReturn, void* pArgs[], uno_Any** ppException) {
    switch (pMemberType->eTypeClass) {
    case typelib_TypeClass_INTERFACE_METHOD: {
        auto* pMethod = reinterpret_cast<const typelib_InterfaceMethodTypeDescription*>(pMemberType);
        if (pThis->isPlainMember(pMemberType)) [[likely]]
            pThis->dispatchPlain(pMethod->pReturnTypeRef, pMethod->pParams, pMethod->nParams, pMemberType, pReturn,
                                 pArgs, ppException);
        else
            pThis->dispatch(pMethod->pReturnTypeRef, pMethod->pParams, pMethod->nParams, pMemberType, pReturn, pArgs,
                            ppException);
        return;
    }
    case typelib_TypeClass_INTERFACE_ATTRIBUTE: {
        auto* pAttr = reinterpret_cast<const typelib_InterfaceAttributeTypeDescription*>(pMemberType);
        if (pReturn != nullptr) {
            pThis->dispatch(pAttr->pAttributeTypeRef, nullptr, 0, pMemberType, pReturn, pArgs, ppException);
            return;
        }
        typelib_MethodParameter param{nullptr, pAttr->pAttributeTypeRef, true, false};
        pThis->dispatch(nullptr, &param, 1, pMemberType, pReturn, pArgs, ppException);
        return;
    }
    default:
        QX_LOG_WARN("legacy.osl", "### illegal member typeclass!");
        std::abort();
    }
}

// The common call, a method whose values cannot hold interfaces with no probe
// watching, runs on a small frame of its own; everything else goes on to
// s_Proxy_dispatchGeneral.
void s_Proxy_dispatch(uno_Interface* pUnoI, const typelib_TypeDescription* pMemberType, void* pReturn,
                      void* pArgs[], uno_Any** ppException) {
    auto* pThis = static_cast<Proxy*>(pUnoI);
    if (pMemberType->eTypeClass == typelib_TypeClass_INTERFACE_METHOD && pThis->m_probeFun == nullptr
        && pThis->isPlainMember(pMemberType)) [[likely]] {
        pThis->invokePlain(pMemberType, pReturn, pArgs, ppException);
        return;
    }
    s_Proxy_dispatchGeneral(pThis, pMemberType, pReturn, pArgs, ppException);
}

} // namespace

bool relatesToInterface(typelib_TypeDescription* pTypeDescr) { return relatesToInterface(pTypeDescr, nullptr); }

void Proxy_free(uno_ExtEnvironment*, void* pProxy) {
    if (pProxy == nullptr) return;
    delete static_cast<Proxy*>(static_cast<uno_Interface*>(pProxy));
}

Proxy::Proxy(uno_Mapping* pOutward, uno_Environment* pObjectEnv, uno_Environment* pProxyEnv, uno_Interface* pUnoI,
             typelib_InterfaceTypeDescription* pTypeDescr, const rtl::OUString& rOId, ProbeFun* probeFun,
             void* pProbeContext)
    : m_from(pProxyEnv), m_to(pObjectEnv) {
    m_from->acquire(m_from);
    m_to->acquire(m_to);
    m_from_to = zel::uno::Mapping(m_from, m_to, nullptr);
    m_to_from.takeOver(pOutward);
    m_pUnoI = pUnoI;
    m_pTypeDescr = pTypeDescr;
    m_aOId = rOId;
    m_probeFun = probeFun;
    m_pProbeContext = pProbeContext;
    QX_LOG_INFO("cppu.tarven", "LIFE: Proxy::Proxy(<>) -> " << static_cast<const void*>(this));

    auto* pTD = &m_pTypeDescr->aBase;
    typelib_typedescription_acquire(pTD);
    if (!pTD->bComplete) typelib_typedescription_complete(&pTD);
    m_pTypeDescr = reinterpret_cast<typelib_InterfaceTypeDescription*>(pTD);
    QX_LOG_WARN_IF(!pTD->bComplete, "legacy.osl", "### type is incomplete!");

    if (pTD->bComplete) {
        m_plainMembers.resize(std::size_t(m_pTypeDescr->nAllMembers));
        for (sal_Int32 i = 0; i < m_pTypeDescr->nAllMembers; ++i) {
            typelib_TypeDescription* pMember = m_pTypeDescr->ppAllMembers[i];
            bool bPlain;
            if (pMember->eTypeClass == typelib_TypeClass_INTERFACE_ATTRIBUTE) {
                bPlain = !refRelatesToInterface(
                    reinterpret_cast<typelib_InterfaceAttributeTypeDescription*>(pMember)->pAttributeTypeRef, nullptr);
            } else {
                auto* pMethod = reinterpret_cast<typelib_InterfaceMethodTypeDescription*>(pMember);
                bPlain = !refRelatesToInterface(pMethod->pReturnTypeRef, nullptr);
                for (sal_Int32 n = 0; bPlain && n < pMethod->nParams; ++n)
                    bPlain = !refRelatesToInterface(pMethod->pParams[n].pTypeRef, nullptr);
            }
            m_plainMembers[std::size_t(i)] = bPlain ? pMember : nullptr;
        }
    }

    uno_Environment_invoke(m_to, s_acquireAndRegister_v, &m_pUnoI, m_aOId.pData, m_pTypeDescr, m_to->pExtEnv);

    uno_Interface::acquire = s_Proxy_acquire;
    uno_Interface::release = s_Proxy_release;
    pDispatcher = s_Proxy_dispatch;
}

Proxy::~Proxy() {
    QX_LOG_INFO("cppu.tarven", "LIFE: Proxy::~Proxy() -> " << static_cast<const void*>(this));
    uno_Environment_invoke(m_to, s_releaseAndRevoke_v, m_to->pExtEnv, m_pUnoI);
    typelib_typedescription_release(&m_pTypeDescr->aBase);
    m_aOId = rtl::OUString();
    m_to_from.clear();
    m_from_to.clear();
    m_to->release(m_to);
    m_from->release(m_from);
}

void Proxy::acquire() {
    if (m_probeFun != nullptr)
        m_probeFun(true, this, m_pProbeContext, typelib_static_type_getByTypeClass(typelib_TypeClass_VOID), nullptr,
                   0, s_acquireMethod, nullptr, nullptr, nullptr);
    if (m_nRef.fetch_add(1, std::memory_order_acq_rel) == 0) {
        // Released to 0 but not yet freed by the registry: register again.
        void* pThis = static_cast<uno_Interface*>(this);
        m_from->pExtEnv->registerProxyInterface(m_from->pExtEnv, &pThis, Proxy_free, m_aOId.pData, m_pTypeDescr);
        QX_LOG_WARN_IF(pThis != static_cast<uno_Interface*>(this), "legacy.osl", "OSL_ASSERT: " << "pThis == this");
    }
    if (m_probeFun != nullptr)
        m_probeFun(false, this, m_pProbeContext, typelib_static_type_getByTypeClass(typelib_TypeClass_VOID), nullptr,
                   0, s_acquireMethod, nullptr, nullptr, nullptr);
}

void Proxy::release() {
    ProbeFun* probeFun = m_probeFun;
    void* pProbeContext = m_pProbeContext;
    void* pThis = this;
    if (probeFun != nullptr)
        probeFun(true, pThis, pProbeContext, typelib_static_type_getByTypeClass(typelib_TypeClass_VOID), nullptr, 0,
                 s_releaseMethod, nullptr, nullptr, nullptr);
    if (m_nRef.fetch_sub(1, std::memory_order_acq_rel) == 1)
        m_from->pExtEnv->revokeInterface(m_from->pExtEnv, static_cast<uno_Interface*>(this));
    if (probeFun != nullptr)
        probeFun(false, pThis, pProbeContext, typelib_static_type_getByTypeClass(typelib_TypeClass_VOID), nullptr, 0,
                 s_releaseMethod, nullptr, nullptr, nullptr);
}

[[gnu::always_inline]] inline void Proxy::dispatchPlain(typelib_TypeDescriptionReference* pReturnTypeRef, typelib_MethodParameter* pParams,
                          sal_Int32 nParams, const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                          uno_Any** ppException) {
    if (m_probeFun != nullptr)
        m_probeFun(true, this, m_pProbeContext, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs,
                   ppException);
    invokePlain(pMemberType, pReturn, pArgs, ppException);
    if (m_probeFun != nullptr)
        m_probeFun(false, this, m_pProbeContext, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs,
                   ppException);
}

[[gnu::always_inline]] inline void Proxy::invokePlain(const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                        uno_Any** ppException) {
    uno_Any aException;
    uno_Any* pException = &aException;
    DispatchCall aCall{m_pUnoI, pMemberType, pReturn, pArgs, &pException};
    uno_Environment_invoke(m_to, s_dispatcher_v, &aCall);
    if (pException == nullptr) [[likely]] {
        *ppException = nullptr;
        return;
    }
    passException(pException, ppException);
}

void Proxy::passException(uno_Any* pInner, uno_Any** ppException) {
    uno_type_any_constructAndConvert(*ppException, pInner->pData, pInner->pType, m_to_from.get());
    // The inner exception's interfaces (its Context) belong to the object
    // environment: it goes there like every other inner value.
    uno_Environment_invoke(m_to, s_any_destruct_v, pInner);
}

[[gnu::always_inline]] inline bool Proxy::isPlainMember(const typelib_TypeDescription* pMemberType) const {
    const sal_Int32 nPos = reinterpret_cast<const typelib_InterfaceMemberTypeDescription*>(pMemberType)->nPosition;
    return std::size_t(nPos) < m_plainMembers.size() && m_plainMembers[std::size_t(nPos)] == pMemberType;
}

void Proxy::dispatch(typelib_TypeDescriptionReference* pReturnTypeRef, typelib_MethodParameter* pParams,
                     sal_Int32 nParams, const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                     uno_Any** ppException) {
    if (m_probeFun != nullptr)
        m_probeFun(true, this, m_pProbeContext, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs,
                   ppException);

    const bool bReturnRelates = pReturnTypeRef != nullptr && refRelatesToInterface(pReturnTypeRef, nullptr);
    bool bAnyParamRelates = false;
    for (sal_Int32 i = 0; i < nParams && !bAnyParamRelates; ++i)
        bAnyParamRelates = refRelatesToInterface(pParams[i].pTypeRef, nullptr);
    if (!bReturnRelates && !bAnyParamRelates) {
        invokePlain(pMemberType, pReturn, pArgs, ppException);
        if (m_probeFun != nullptr)
            m_probeFun(false, this, m_pProbeContext, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs,
                       ppException);
        return;
    }

    dispatchConverting(bReturnRelates, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs, ppException);
    if (m_probeFun != nullptr)
        m_probeFun(false, this, m_pProbeContext, pReturnTypeRef, pParams, nParams, pMemberType, pReturn, pArgs,
                   ppException);
}

void Proxy::dispatchConverting(bool bReturnRelates, typelib_TypeDescriptionReference* pReturnTypeRef,
                               typelib_MethodParameter* pParams, sal_Int32 nParams,
                               const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                               uno_Any** ppException) {
    void* pInnerReturn = pReturn;
    if (bReturnRelates) pInnerReturn = alloca(std::size_t(sizeOf(pReturnTypeRef)));

    void** pInnerArgs = static_cast<void**>(alloca(sizeof(void*) * std::size_t(nParams > 0 ? nParams : 1)));
    bool* pFresh = static_cast<bool*>(alloca(sizeof(bool) * std::size_t(nParams > 0 ? nParams : 1)));
    bool bNoInwardMapping = false;
    for (sal_Int32 i = 0; i < nParams; ++i) {
        const typelib_MethodParameter& rParam = pParams[i];
        pFresh[i] = refRelatesToInterface(rParam.pTypeRef, nullptr);
        if (!pFresh[i]) {
            pInnerArgs[i] = pArgs[i];
            continue;
        }
        pInnerArgs[i] = alloca(std::size_t(sizeOf(rParam.pTypeRef)));
        if (!rParam.bIn) continue;
        if (!m_from_to.is()) {
            // Nothing can convert the caller's interfaces into the object
            // environment: the call fails rather than passing them unmapped.
            pFresh[i] = false;
            bNoInwardMapping = true;
            continue;
        }
        TempDescr td(rParam.pTypeRef);
        uno_copyAndConvertData(pInnerArgs[i], pArgs[i], td.get(), m_from_to.get());
    }

    if (bNoInwardMapping) {
        for (sal_Int32 i = 0; i < nParams; ++i)
            if (pFresh[i] && pParams[i].bIn)
                uno_Environment_invoke(m_to, s_type_destructData_v, pInnerArgs[i], pParams[i].pTypeRef);
        rtl::OUString aMessage = u"Proxy::dispatch: no mapping from " + rtl::OUString(m_from->pTypeName) + u" to "
                                 + rtl::OUString(m_to->pTypeName);
        struct {
            rtl_uString* pMessage;
            void* pContext;
        } aExc{aMessage.pData, nullptr};
        uno_any_construct(*ppException, &aExc, typelib_static_type_getRuntimeException(), nullptr);
    } else {
        uno_Any aException;
        uno_Any* pException = &aException;
        DispatchCall aCall{m_pUnoI, pMemberType, pInnerReturn, pInnerArgs, &pException};
        uno_Environment_invoke(m_to, s_dispatcher_v, &aCall);

        if (pException == nullptr) {
            for (sal_Int32 i = 0; i < nParams; ++i) {
                if (!pFresh[i]) continue;
                const typelib_MethodParameter& rParam = pParams[i];
                if (rParam.bOut) {
                    if (rParam.bIn) uno_type_destructData(pArgs[i], rParam.pTypeRef, nullptr);
                    uno_type_copyAndConvertData(pArgs[i], pInnerArgs[i], rParam.pTypeRef, m_to_from.get());
                }
                uno_Environment_invoke(m_to, s_type_destructData_v, pInnerArgs[i], rParam.pTypeRef);
            }
            if (pInnerReturn != pReturn) {
                uno_type_copyAndConvertData(pReturn, pInnerReturn, pReturnTypeRef, m_to_from.get());
                uno_Environment_invoke(m_to, s_type_destructData_v, pInnerReturn, pReturnTypeRef);
            }
            *ppException = nullptr;
        } else {
            for (sal_Int32 i = 0; i < nParams; ++i)
                if (pFresh[i] && pParams[i].bIn)
                    uno_Environment_invoke(m_to, s_type_destructData_v, pInnerArgs[i], pParams[i].pTypeRef);
            uno_type_any_constructAndConvert(*ppException, pException->pData, pException->pType, m_to_from.get());
            // The inner exception's interfaces (its Context) belong to the
            // object environment: it goes there like every other inner value.
            uno_Environment_invoke(m_to, s_any_destruct_v, pException);
        }
    }
}

} // namespace cppu::helper::tarven
