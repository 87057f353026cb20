// Environments of the runtime's C level: the table of living environments,
// counting, the interface registry of the extended part, the per-thread
// current environment and uno_Environment_invoke, and the trampolines of
// cppu::Enterable.
//
// Locks: one mutex for the table and the initialisers, one per environment
// for its registry.  Neither is held while an interface's acquire, release or
// dispatcher, a proxy's free function, or an initialiser runs.

#include <uno/environment.h>

#include <cppu/Enterable.hxx>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::u16string key(const rtl_uString* s) { return std::u16string(s->buffer, static_cast<std::size_t>(s->length)); }

struct Entry {
    void* pInterface;
    uno_freeProxyFunc freeProxy;  // null for a plain registration
    typelib_InterfaceTypeDescription* pType;
    sal_Int32 nCount;
    std::u16string oid;
};

struct EnvImpl {
    uno_ExtEnvironment ext;  // first: the runtime hands out pointers to it
    std::atomic<sal_Int32> hard{1};
    std::atomic<sal_Int32> weak{1};  // one for all hard references together
    std::mutex mutex;
    std::map<std::u16string, std::vector<Entry*>> byOid;
    std::unordered_map<void*, std::vector<Entry*>> byPtr;
};

EnvImpl* impl(uno_Environment* e) { return reinterpret_cast<EnvImpl*>(e); }
EnvImpl* impl(uno_ExtEnvironment* e) { return reinterpret_cast<EnvImpl*>(e); }

struct Table {
    std::mutex mutex;
    std::map<std::pair<std::u16string, void*>, EnvImpl*> envs;
    std::map<std::u16string, std::pair<uno_initEnvironmentFunc*, void*>> initializers;
};

Table& table() {
    static Table* t = new Table;
    return *t;
}

void acquireIface(void* p) { static_cast<uno_Interface*>(p)->acquire(static_cast<uno_Interface*>(p)); }
void releaseIface(void* p) { static_cast<uno_Interface*>(p)->release(static_cast<uno_Interface*>(p)); }

bool isSameOrDerived(typelib_InterfaceTypeDescription* t, typelib_InterfaceTypeDescription* wanted) {
    for (; t != nullptr; t = t->pBaseTypeDescription)
        if (typelib_typedescription_equals(&t->aBase, &wanted->aBase)) return true;
    return false;
}

// Drops the registration entry e (already out of the tables).
void dropEntry(uno_ExtEnvironment* env, Entry* e) {
    if (e->freeProxy != nullptr)
        e->freeProxy(env, e->pInterface);
    else
        releaseIface(e->pInterface);
    typelib_typedescription_release(&e->pType->aBase);
    delete e;
}

void unlinkLocked(EnvImpl* env, Entry* e) {
    auto& byOid = env->byOid[e->oid];
    std::erase(byOid, e);
    if (byOid.empty()) env->byOid.erase(e->oid);
    auto it = env->byPtr.find(e->pInterface);
    if (it != env->byPtr.end()) {
        std::erase(it->second, e);
        if (it->second.empty()) env->byPtr.erase(it);
    }
}

// Takes one registration of e; drops it at none.
void unpin(EnvImpl* env, Entry* e) {
    {
        std::lock_guard g(env->mutex);
        if (--e->nCount > 0) return;
        unlinkLocked(env, e);
    }
    dropEntry(&env->ext, e);
}

void doRegister(uno_ExtEnvironment* pEnv, void** ppInterface, uno_freeProxyFunc freeProxy, rtl_uString* pOId,
                typelib_InterfaceTypeDescription* pTypeDescr) {
    EnvImpl* env = impl(pEnv);
    void* mine = *ppInterface;
    if (freeProxy == nullptr) acquireIface(mine);  // the registry's own reference, should the entry be new
    std::u16string oid = key(pOId);
    void* held = nullptr;
    {
        std::lock_guard g(env->mutex);
        for (Entry* e : env->byOid[oid])
            if (typelib_typedescription_equals(&e->pType->aBase, &pTypeDescr->aBase)) {
                ++e->nCount;
                held = e->pInterface;
                break;
            }
        if (held == nullptr) {
            auto* e = new Entry{mine, freeProxy, pTypeDescr, 1, oid};
            typelib_typedescription_acquire(&pTypeDescr->aBase);
            env->byOid[oid].push_back(e);
            env->byPtr[mine].push_back(e);
            return;
        }
    }
    if (freeProxy == nullptr) releaseIface(mine);  // the entry exists: no reference of the registry's own
    if (held == mine) return;
    acquireIface(held);
    *ppInterface = held;
    if (freeProxy != nullptr)
        freeProxy(pEnv, mine);
    else
        releaseIface(mine);
}

void s_registerInterface(uno_ExtEnvironment* pEnv, void** ppInterface, rtl_uString* pOId,
                         typelib_InterfaceTypeDescription* pTypeDescr) {
    doRegister(pEnv, ppInterface, nullptr, pOId, pTypeDescr);
}

void s_registerProxyInterface(uno_ExtEnvironment* pEnv, void** ppProxy, uno_freeProxyFunc freeProxy,
                              rtl_uString* pOId, typelib_InterfaceTypeDescription* pTypeDescr) {
    doRegister(pEnv, ppProxy, freeProxy, pOId, pTypeDescr);
}

void s_revokeInterface(uno_ExtEnvironment* pEnv, void* pInterface) {
    EnvImpl* env = impl(pEnv);
    Entry* e = nullptr;
    {
        std::lock_guard g(env->mutex);
        auto it = env->byPtr.find(pInterface);
        if (it == env->byPtr.end() || it->second.empty()) return;
        e = it->second.front();
    }
    unpin(env, e);
}

void s_computeObjectIdentifier(uno_ExtEnvironment* pEnv, rtl_uString** ppOId, void* pInterface) {
    if (*ppOId != nullptr) {
        rtl_uString_release(*ppOId);
        *ppOId = nullptr;
    }
    auto* unoI = static_cast<uno_Interface*>(pInterface);
    typelib_TypeDescriptionReference* xref = typelib_static_type_getXInterface();
    typelib_TypeDescription* xtd = nullptr;
    const bool owned = typelib_typedescriptionreference_getTemporary(&xtd, xref);
    auto* xi = reinterpret_cast<typelib_InterfaceTypeDescription*>(xtd);
    uno_Any result;
    uno_Any exc;
    uno_Any* pExc = &exc;
    void* args[1] = {&xref};
    unoI->pDispatcher(unoI, xi->ppAllMembers[0], &result, args, &pExc);
    if (owned) typelib_typedescription_release(xtd);
    if (pExc != nullptr) {
        uno_any_destruct(&exc, nullptr);
        return;
    }
    if (result.pType->eTypeClass == typelib_TypeClass_INTERFACE && *static_cast<void**>(result.pData) != nullptr) {
        char buf[64];
        int n = std::snprintf(buf, sizeof buf, "%p;", *static_cast<void**>(result.pData));
        std::u16string oid(buf, buf + n);
        oid += key(pEnv->aBase.pTypeName);
        n = std::snprintf(buf, sizeof buf, "[%p]", pEnv->aBase.pContext);
        oid.append(buf, buf + n);
        *ppOId = rtl_uString_newFromStr(oid.data(), sal_Int32(oid.size()));
    }
    uno_any_destruct(&result, nullptr);
}

void s_getObjectIdentifier(uno_ExtEnvironment* pEnv, rtl_uString** ppOId, void* pInterface) {
    EnvImpl* env = impl(pEnv);
    std::u16string oid;
    bool found = false;
    {
        std::lock_guard g(env->mutex);
        auto it = env->byPtr.find(pInterface);
        if (it != env->byPtr.end() && !it->second.empty()) {
            oid = it->second.front()->oid;
            found = true;
        }
    }
    if (!found) {
        s_computeObjectIdentifier(pEnv, ppOId, pInterface);
        return;
    }
    if (*ppOId != nullptr) rtl_uString_release(*ppOId);
    *ppOId = rtl_uString_newFromStr(oid.data(), sal_Int32(oid.size()));
}

void s_getRegisteredInterface(uno_ExtEnvironment* pEnv, void** ppInterface, rtl_uString* pOId,
                              typelib_InterfaceTypeDescription* pTypeDescr) {
    if (*ppInterface != nullptr) {
        releaseIface(*ppInterface);
        *ppInterface = nullptr;
    }
    EnvImpl* env = impl(pEnv);
    Entry* found = nullptr;
    {
        std::lock_guard g(env->mutex);
        auto it = env->byOid.find(key(pOId));
        if (it == env->byOid.end()) return;
        for (Entry* e : it->second)
            if (isSameOrDerived(e->pType, pTypeDescr)) {
                found = e;
                ++e->nCount;  // pinned while it is acquired without the lock
                break;
            }
    }
    if (found == nullptr) return;
    void* p = found->pInterface;
    acquireIface(p);
    *ppInterface = p;
    unpin(env, found);
}

void s_getRegisteredInterfaces(uno_ExtEnvironment* pEnv, void*** pppInterfaces, sal_Int32* pnLen,
                               uno_memAlloc memAlloc) {
    EnvImpl* env = impl(pEnv);
    std::vector<Entry*> pinned;
    {
        std::lock_guard g(env->mutex);
        for (auto& [ptr, entries] : env->byPtr) {
            ++entries.front()->nCount;
            pinned.push_back(entries.front());
        }
    }
    auto** arr = static_cast<void**>(memAlloc(sizeof(void*) * (pinned.empty() ? 1 : pinned.size())));
    for (std::size_t i = 0; i < pinned.size(); ++i) {
        arr[i] = pinned[i]->pInterface;
        acquireIface(arr[i]);
    }
    for (Entry* e : pinned) unpin(env, e);
    *pppInterfaces = arr;
    *pnLen = sal_Int32(pinned.size());
}

void s_acquireInterface(uno_ExtEnvironment*, void* pInterface) { acquireIface(pInterface); }
void s_releaseInterface(uno_ExtEnvironment*, void* pInterface) { releaseIface(pInterface); }

// --- counting ----------------------------------------------------------------

void s_acquireWeak(uno_Environment* pEnv) { impl(pEnv)->weak.fetch_add(1, std::memory_order_relaxed); }

void s_releaseWeak(uno_Environment* pEnv) {
    EnvImpl* env = impl(pEnv);
    if (env->weak.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    rtl_uString_release(env->ext.aBase.pTypeName);
    delete env;
}

void s_acquire(uno_Environment* pEnv) { impl(pEnv)->hard.fetch_add(1, std::memory_order_relaxed); }

void s_release(uno_Environment* pEnv) {
    EnvImpl* env = impl(pEnv);
    if (env->hard.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    {
        Table& t = table();
        std::lock_guard g(t.mutex);
        auto it = t.envs.find({key(pEnv->pTypeName), pEnv->pContext});
        if (it != t.envs.end() && it->second == env) t.envs.erase(it);
    }
    // Whatever is still registered goes now, without the function members,
    // which a purpose may have replaced by functions that need it alive.
    std::vector<Entry*> rest;
    {
        std::lock_guard g(env->mutex);
        for (auto& [oid, entries] : env->byOid) rest.insert(rest.end(), entries.begin(), entries.end());
        env->byOid.clear();
        env->byPtr.clear();
    }
    for (Entry* e : rest) dropEntry(&env->ext, e);
    s_releaseWeak(pEnv);
}

void s_harden(uno_Environment** ppHardEnv, uno_Environment* pEnv) {
    if (*ppHardEnv != nullptr) {
        (*ppHardEnv)->release(*ppHardEnv);
        *ppHardEnv = nullptr;
    }
    EnvImpl* env = impl(pEnv);
    sal_Int32 n = env->hard.load(std::memory_order_relaxed);
    while (n > 0)
        if (env->hard.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel)) {
            *ppHardEnv = pEnv;
            return;
        }
}

EnvImpl* newEnvironment(rtl_uString* pTypeName, void* pContext) {
    auto* env = new EnvImpl;
    uno_Environment& b = env->ext.aBase;
    b.pReserved = nullptr;
    b.pTypeName = pTypeName;
    rtl_uString_acquire(pTypeName);
    b.pContext = pContext;
    b.pExtEnv = &env->ext;
    b.acquire = s_acquire;
    b.release = s_release;
    b.acquireWeak = s_acquireWeak;
    b.releaseWeak = s_releaseWeak;
    b.harden = s_harden;
    env->ext.registerInterface = s_registerInterface;
    env->ext.registerProxyInterface = s_registerProxyInterface;
    env->ext.revokeInterface = s_revokeInterface;
    env->ext.getObjectIdentifier = s_getObjectIdentifier;
    env->ext.getRegisteredInterface = s_getRegisteredInterface;
    env->ext.getRegisteredInterfaces = s_getRegisteredInterfaces;
    env->ext.computeObjectIdentifier = s_computeObjectIdentifier;
    env->ext.acquireInterface = s_acquireInterface;
    env->ext.releaseInterface = s_releaseInterface;
    return env;
}

// Hardens the living environment of that key into *ppEnv; false when none.
bool findLocked(Table& t, const std::pair<std::u16string, void*>& k, uno_Environment** ppEnv) {
    auto it = t.envs.find(k);
    if (it == t.envs.end()) return false;
    uno_Environment* e = &it->second->ext.aBase;
    uno_Environment* hard = nullptr;
    e->harden(&hard, e);
    if (hard == nullptr) return false;
    *ppEnv = hard;
    return true;
}

// --- invocation ----------------------------------------------------------------

// The runtime library is loaded with the process, never by dlopen, so the
// thread's current environment can use the cheaper initial-exec TLS model.
__attribute__((tls_model("initial-exec"))) thread_local uno_Environment* t_current = nullptr;

uno_Enterable* enterableOf(uno_Environment* e) {
    if (e == nullptr || e->pReserved == nullptr) return nullptr;
    return static_cast<cppu::Enterable*>(e->pReserved);
}

struct Frame {
    uno_Environment* target;
    uno_EnvCallee* callee;
    va_list* params;
};

void runAsCurrent(uno_Environment* env, Frame* f) {
    uno_Environment* prev = t_current;
    t_current = env;
    f->callee(f->params);
    t_current = prev;
}

void pass(void (*fn)(void*, uno_EnvCallee*, va_list*), uno_Enterable* e, uno_EnvCallee* callee, ...) {
    va_list ap;
    va_start(ap, callee);
    fn(e, callee, &ap);
    va_end(ap);
}

// An enterable's call-into; one built on cppu::Enterable whose function is
// still the trampoline gets its virtual operation straight away, which is
// what the trampoline would do.
inline void callInto(uno_Enterable* e, uno_EnvCallee* callee, va_list* params) {
    if (e->m_callInto_v == Enterable_call_callInto_v) [[likely]]
        static_cast<cppu::Enterable&>(*e).v_callInto_v(callee, params);
    else
        e->m_callInto_v(e, callee, params);
}

// The target is made current before its enterable's call-into runs, so that
// the caller's own callee and argument list go through unchanged.
void enterTarget(Frame* f) {
    uno_Enterable* e = enterableOf(f->target);
    if (e == nullptr) {
        runAsCurrent(nullptr, f);
        return;
    }
    uno_Environment* prev = t_current;
    t_current = f->target;
    callInto(e, f->callee, f->params);
    t_current = prev;
}

void invokeImpl(uno_Environment* pEnv, uno_EnvCallee* pCallee, va_list* pParam);

void outside_v(va_list* p) {
    Frame* f = va_arg(*p, Frame*);
    uno_Environment* prev = t_current;
    t_current = nullptr;
    enterTarget(f);
    t_current = prev;
}

} // namespace

extern "C" {

void uno_getEnvironment(uno_Environment** ppEnv, rtl_uString* pTypeName, void* pContext) {
    if (*ppEnv != nullptr) {
        (*ppEnv)->release(*ppEnv);
        *ppEnv = nullptr;
    }
    Table& t = table();
    const std::pair<std::u16string, void*> k{key(pTypeName), pContext};
    std::pair<uno_initEnvironmentFunc*, void*> init{nullptr, nullptr};
    {
        std::lock_guard g(t.mutex);
        if (findLocked(t, k, ppEnv)) return;
        auto it = t.initializers.find(k.first);
        if (it != t.initializers.end()) init = it->second;
    }
    EnvImpl* env = newEnvironment(pTypeName, pContext);
    uno_Environment* fresh = &env->ext.aBase;
    if (init.first != nullptr) init.first(fresh, init.second);
    {
        std::lock_guard g(t.mutex);
        if (!findLocked(t, k, ppEnv)) {
            t.envs[k] = env;
            *ppEnv = fresh;
            return;
        }
    }
    fresh->release(fresh);  // another thread's environment came first
}

void uno_registerEnvironmentInitializer(rtl_uString* pTypeName, uno_initEnvironmentFunc* pInit, void* pContext) {
    std::lock_guard g(table().mutex);
    table().initializers[key(pTypeName)] = {pInit, pContext};
}

void uno_revokeEnvironmentInitializer(rtl_uString* pTypeName) {
    std::lock_guard g(table().mutex);
    table().initializers.erase(key(pTypeName));
}

void uno_Environment_invoke_v(uno_Environment* pEnv, uno_EnvCallee* pCallee, va_list* pParam) {
    invokeImpl(pEnv, pCallee, pParam);
}

void uno_Environment_invoke(uno_Environment* pEnv, uno_EnvCallee* pCallee, ...) {
    va_list ap;
    va_start(ap, pCallee);
    invokeImpl(pEnv, pCallee, &ap);
    va_end(ap);
}

} // extern "C"

namespace {

void invokeImpl(uno_Environment* pEnv, uno_EnvCallee* pCallee, va_list* pParam) {
    uno_Environment* cur = t_current;
    uno_Enterable* target = enterableOf(pEnv);
    if (cur == pEnv || (cur == nullptr && target == nullptr)) {
        pCallee(pParam);
        return;
    }
    if (cur == nullptr) {
        // From outside every environment into one with an enterable: the
        // common case, without a frame.
        t_current = pEnv;
        callInto(target, pCallee, pParam);
        t_current = nullptr;
        return;
    }
    Frame f{target == nullptr ? nullptr : pEnv, pCallee, pParam};
    uno_Enterable* current = enterableOf(cur);
    if (current == nullptr) {
        enterTarget(&f);
        return;
    }
    pass(current->m_callOut_v, current, outside_v, &f);
}

} // namespace

extern "C" {

uno_Environment* uno_Environment_getCurrent() { return t_current; }

sal_Int32 uno_Environment_getHardCount(uno_Environment* pEnv) { return impl(pEnv)->hard.load(); }

void Enterable_call_enter(void* context) { static_cast<cppu::Enterable&>(*static_cast<uno_Enterable*>(context)).v_enter(); }
void Enterable_call_leave(void* context) { static_cast<cppu::Enterable&>(*static_cast<uno_Enterable*>(context)).v_leave(); }
void Enterable_call_callInto_v(void* context, uno_EnvCallee* pCallee, va_list* pParam) {
    static_cast<cppu::Enterable&>(*static_cast<uno_Enterable*>(context)).v_callInto_v(pCallee, pParam);
}
void Enterable_call_callOut_v(void* context, uno_EnvCallee* pCallee, va_list* pParam) {
    static_cast<cppu::Enterable&>(*static_cast<uno_Enterable*>(context)).v_callOut_v(pCallee, pParam);
}
int Enterable_call_isValid(void* context, rtl_uString** pReason) {
    return static_cast<cppu::Enterable&>(*static_cast<uno_Enterable*>(context)).v_isValid(pReason);
}

} // extern "C"
