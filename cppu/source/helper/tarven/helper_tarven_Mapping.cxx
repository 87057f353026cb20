// Mapping: maps interfaces of a source environment into a target environment
// by handing out proxies, found again by object identifier in the target's
// registry.  The runtime's mapping registry holds it weakly and frees it
// through s_free once it has been revoked.

#include "helper_tarven_Proxy.hxx"

#include <sal/logging.hxx>

namespace cppu::helper::tarven {
namespace {

class Mapping : public uno_Mapping {
public:
    Mapping(uno_Environment* pFrom, uno_Environment* pTo, ProbeFun* probeFun, void* pContext);
    virtual ~Mapping();

    uno_Environment* m_from;
    uno_Environment* m_to;
    std::atomic<sal_Int32> m_nCount{1};
    ProbeFun* m_probeFun;
    void* m_pContext;
};

Mapping* mappingOf(uno_Mapping* pMapping) { return static_cast<Mapping*>(pMapping); }

void s_free(uno_Mapping* pMapping) { delete mappingOf(pMapping); }

void s_acquire(uno_Mapping* pMapping) {
    Mapping* pThis = mappingOf(pMapping);
    if (pThis->m_nCount.fetch_add(1, std::memory_order_acq_rel) == 0) {
        // Revoked at 0 but not yet freed: taken up again, so registered again.
        uno_Mapping* pCopy = pMapping;
        uno_registerMapping(&pCopy, s_free, pThis->m_from, pThis->m_to, nullptr);
    }
}

void s_release(uno_Mapping* pMapping) {
    Mapping* pThis = mappingOf(pMapping);
    if (pThis->m_nCount.fetch_sub(1, std::memory_order_acq_rel) == 1) uno_revokeMapping(pMapping);
}

void s_getIdentifier_v(va_list* pParam) {
    auto* pEnv = va_arg(*pParam, uno_ExtEnvironment*);
    auto** ppOId = va_arg(*pParam, rtl_uString**);
    auto* pUnoI = va_arg(*pParam, uno_Interface*);
    pEnv->getObjectIdentifier(pEnv, ppOId, pUnoI);
}

void s_mapInterface(uno_Mapping* pMapping, void** ppOut, void* pInterface,
                    typelib_InterfaceTypeDescription* pTypeDescr) {
    Mapping* pThis = mappingOf(pMapping);
    if (*ppOut != nullptr) {
        auto* pOld = static_cast<uno_Interface*>(*ppOut);
        pOld->release(pOld);
        *ppOut = nullptr;
    }
    if (pInterface == nullptr) return;

    rtl_uString* pOId = nullptr;
    uno_Environment_invoke(pThis->m_from, s_getIdentifier_v, pThis->m_from->pExtEnv, &pOId, pInterface);
    if (pOId == nullptr) {
        QX_LOG_WARN("legacy.osl", "OSL_ASSERT: " << "pOId");
        // An empty identifier would let unrelated objects share one registry
        // entry in the target: hand out no proxy instead.
        return;
    }
    rtl::OUString aOId(pOId, nullptr);

    uno_ExtEnvironment* pTargetEnv = pThis->m_to->pExtEnv;
    pTargetEnv->getRegisteredInterface(pTargetEnv, ppOut, aOId.pData, pTypeDescr);
    if (*ppOut == nullptr) {
        pMapping->acquire(pMapping);  // the proxy's reference to this mapping
        void* pProxy = static_cast<uno_Interface*>(new Proxy(pMapping, pThis->m_from, pThis->m_to,
                                                             static_cast<uno_Interface*>(pInterface), pTypeDescr,
                                                             aOId, pThis->m_probeFun, pThis->m_pContext));
        pTargetEnv->registerProxyInterface(pTargetEnv, &pProxy, Proxy_free, aOId.pData, pTypeDescr);
        *ppOut = pProxy;
    }
}

Mapping::Mapping(uno_Environment* pFrom, uno_Environment* pTo, ProbeFun* probeFun, void* pContext)
    : m_from(pFrom), m_to(pTo), m_probeFun(probeFun), m_pContext(pContext) {
    acquire = s_acquire;
    release = s_release;
    mapInterface = s_mapInterface;
    m_from->acquire(m_from);
    m_to->acquire(m_to);
    QX_LOG_INFO("cppu.tarven", "LIFE: Mapping::Mapping(uno_Environment * pFrom, uno_Environment * pTo -> "
                                   << static_cast<const void*>(this));
}

Mapping::~Mapping() {
    QX_LOG_INFO("cppu.tarven", "LIFE: Mapping:~Mapping() -> " << static_cast<const void*>(this));
    m_to->release(m_to);
    m_from->release(m_from);
}

} // namespace

void createMapping(uno_Mapping** ppMapping, uno_Environment* pFrom, uno_Environment* pTo, ProbeFun* probeFun,
                   void* pContext) {
    auto* pMapping = new Mapping(pFrom, pTo, probeFun, pContext);
    *ppMapping = pMapping;
    uno_registerMapping(ppMapping, s_free, pFrom, pTo, nullptr);
}

} // namespace cppu::helper::tarven
