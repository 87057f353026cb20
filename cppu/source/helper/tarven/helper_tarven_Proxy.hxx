#pragma once
// Proxy: the stand-in, in the proxy environment, for an interface that lives
// in the object environment.  Created by a Mapping's map-interface function.

#include "tarven.hxx"

#include <rtl/ustring.hxx>
#include <uno/mapping.hxx>

#include <atomic>
#include <vector>

namespace cppu::helper::tarven {

class Proxy : public uno_Interface {
public:
    // Takes over one count of the outward mapping (object to proxy environment).
    Proxy(uno_Mapping* pOutward, uno_Environment* pObjectEnv, uno_Environment* pProxyEnv, uno_Interface* pUnoI,
          typelib_InterfaceTypeDescription* pTypeDescr, const rtl::OUString& rOId, ProbeFun* probeFun,
          void* pProbeContext);
    ~Proxy();
    Proxy(const Proxy&) = delete;
    Proxy& operator=(const Proxy&) = delete;

    void acquire();
    void release();
    void dispatch(typelib_TypeDescriptionReference* pReturnTypeRef, typelib_MethodParameter* pParams,
                  sal_Int32 nParams, const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                  uno_Any** ppException);
    // dispatch for a call whose values cannot hold interfaces: no conversion.
    void dispatchPlain(typelib_TypeDescriptionReference* pReturnTypeRef, typelib_MethodParameter* pParams,
                       sal_Int32 nParams, const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                       uno_Any** ppException);
    // The inner call with the caller's own buffers, and the exception back.
    void invokePlain(const typelib_TypeDescription* pMemberType, void* pReturn, void* pArgs[],
                     uno_Any** ppException);
    // The inner exception converted into the caller's, then destroyed inside
    // the object environment.
    __attribute__((noinline)) void passException(uno_Any* pInner, uno_Any** ppException);
    // Whether a call of the member at that slot carries no value that can
    // hold interfaces, as worked out once at construction (false when unsure).
    bool isPlainMember(const typelib_TypeDescription* pMemberType) const;
    // The part of dispatch for calls with values that need converting: inner
    // buffers on this function's own stack frame.
    __attribute__((noinline)) void dispatchConverting(bool bReturnRelates,
                                                      typelib_TypeDescriptionReference* pReturnTypeRef,
                                                      typelib_MethodParameter* pParams, sal_Int32 nParams,
                                                      const typelib_TypeDescription* pMemberType, void* pReturn,
                                                      void* pArgs[], uno_Any** ppException);

    std::atomic<sal_Int32> m_nRef{1};
    uno_Environment* m_from;      // the proxy environment, where this proxy lives
    uno_Environment* m_to;        // the object environment, where the real interface lives
    zel::uno::Mapping m_from_to;  // inward: proxy environment to object environment
    zel::uno::Mapping m_to_from;  // outward: the mapping that made this proxy
    uno_Interface* m_pUnoI;
    typelib_InterfaceTypeDescription* m_pTypeDescr;
    rtl::OUString m_aOId;
    ProbeFun* m_probeFun;
    void* m_pProbeContext;
    // Per slot of the interface: the member's description when its calls carry
    // only plain data, else null.
    std::vector<const typelib_TypeDescription*> m_plainMembers;
};

// The free function handed to the proxy environment's registry.
void Proxy_free(uno_ExtEnvironment* pEnv, void* pProxy);

} // namespace cppu::helper::tarven
