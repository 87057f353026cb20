#pragma once
// Shared pieces of the helper's tests: the harness over the statically linked
// functions, a recording probe, and log-line helpers.

#include "tarven.hxx"

#include <testsupport/LogCapture.hxx>
#include <testsupport/uno/BinaryObject.hxx>
#include <testsupport/uno/PurposeHarness.hxx>
#include <testsupport/uno/TestTypes.hxx>

#include <sstream>
#include <string>
#include <vector>

namespace tarventest {

inline std::string addr(const void* p) {
    std::ostringstream os;
    os << p;
    return os.str();
}

struct ProbeEvent {
    bool pre;
    void* proxy;
    std::string member;
    uno_Environment* current;
    bool hasReturnType;
    std::string returnType;
    int nParams;
};

struct ProbeLog {
    std::vector<ProbeEvent> events;
    static void probe(bool pre, void* pThis, void* pContext, typelib_TypeDescriptionReference* pReturnTypeRef,
                      typelib_MethodParameter*, int nParams, typelib_TypeDescription const* pMemberType, void*,
                      void**, uno_Any**) {
        auto* log = static_cast<ProbeLog*>(pContext);
        log->events.push_back({pre, pThis, testsupport::uno::memberName(pMemberType), uno_Environment_getCurrent(),
                               pReturnTypeRef != nullptr,
                               pReturnTypeRef ? rtl::OUString(pReturnTypeRef->pTypeName).toUtf8().getStr() : "",
                               nParams});
    }
    // "+acquire", "-acquire", ... for the events of one proxy (all when null).
    std::vector<std::string> sequence(void* proxy = nullptr) const {
        std::vector<std::string> r;
        for (auto& e : events)
            if (proxy == nullptr || e.proxy == proxy) r.push_back((e.pre ? "+" : "-") + e.member);
        return r;
    }
};

inline testsupport::uno::PurposeHarness* makeHarness(ProbeLog* log = nullptr, bool serialise = false) {
    return new testsupport::uno::PurposeHarness(
        &cppu::helper::tarven::Environment_initWithEnterable, &cppu::helper::tarven::createMapping,
        log != nullptr ? &ProbeLog::probe : nullptr, log, serialise);
}

} // namespace tarventest
