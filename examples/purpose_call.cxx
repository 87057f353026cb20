// Maps an object into a purpose environment guarded by a lock, calls it from
// two threads through the proxy, and prints what the environment's enterable
// saw: every call enters "uno:example" through call-into, one thread at a time.
//
//   build/<dir>/program/tarven-purpose-call

#include <tarven.hxx>

#include <rtl/ustring.hxx>
#include <uno/mapping.hxx>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::mutex g_traceMutex;
std::vector<std::string> g_trace;

void note(const std::string& line) {
    std::lock_guard g(g_traceMutex);
    g_trace.push_back(line);
}

const std::thread::id g_main = std::this_thread::get_id();
thread_local std::string t_name;

std::string threadName() { return std::this_thread::get_id() == g_main ? "main" : t_name; }

// Code inside the environment runs under one lock.
class LockedEnterable : public cppu::Enterable {
public:
    void v_enter() override { m_lock.lock(); }
    void v_leave() override { m_lock.unlock(); }
    void v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) override {
        std::lock_guard g(m_lock);
        note(threadName() + ": call into uno:example");
        pCallee(pParam);
        note(threadName() + ": back out of uno:example");
    }
    void v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) override {
        m_lock.unlock();
        pCallee(pParam);
        m_lock.lock();
    }
    bool v_isValid(rtl_uString**) override { return true; }

private:
    std::recursive_mutex m_lock;
};

// A counter object with one method, "long next([in] long step)".
struct Counter : uno_Interface {
    std::atomic<sal_Int32> refs{1};
    sal_Int32 value = 0;
    Counter() {
        acquire = [](uno_Interface* p) { ++static_cast<Counter*>(p)->refs; };
        release = [](uno_Interface* p) {
            if (--static_cast<Counter*>(p)->refs == 0) delete static_cast<Counter*>(p);
        };
        pDispatcher = [](uno_Interface* p, const typelib_TypeDescription* member, void* ret, void** args,
                         uno_Any** ppExc) {
            auto* self = static_cast<Counter*>(p);
            if (reinterpret_cast<const typelib_InterfaceMemberTypeDescription*>(member)->nPosition == 0) {
                void* me = p;  // queryInterface: this object is its own identity
                uno_any_construct(static_cast<uno_Any*>(ret), &me,
                                  *static_cast<typelib_TypeDescriptionReference**>(args[0]), nullptr);
            } else {
                self->value += *static_cast<sal_Int32*>(args[0]);
                *static_cast<sal_Int32*>(ret) = self->value;
                note(threadName() + ":   next() -> " + std::to_string(self->value));
            }
            *ppExc = nullptr;
        };
    }
};

} // namespace

int main() {
    rtl::OUString ifaceName(u"example.XCounter"), nextName(u"example.XCounter::next"), lng(u"long"), step(u"step");
    typelib_Parameter_Init param{typelib_TypeClass_LONG, lng.pData, step.pData, true, false};
    typelib_TypeDescription* next = nullptr;
    typelib_TypeDescription* iface = nullptr;
    typelib_typedescription_newInterfaceMethod(&next, nextName.pData, false, typelib_TypeClass_LONG, lng.pData, 1,
                                               &param, 0, nullptr);
    typelib_typedescription_newInterface(&iface, ifaceName.pData, nullptr, 1, &next);
    typelib_typedescription_register(&iface);

    rtl::OUString purposeName(u"uno:example");
    uno_registerEnvironmentInitializer(purposeName.pData, [](uno_Environment* env, void*) {
        cppu::helper::tarven::Environment_initWithEnterable(env, new LockedEnterable);
    }, nullptr);
    uno_Environment* plain = nullptr;
    uno_Environment* purpose = nullptr;
    uno_getEnvironment(&plain, rtl::OUString(u"uno").pData, nullptr);
    uno_getEnvironment(&purpose, purposeName.pData, nullptr);

    auto* counter = new Counter;
    uno_Interface* proxy = nullptr;
    {
        uno_Mapping* m = nullptr;
        cppu::helper::tarven::createMapping(&m, purpose, plain);
        proxy = static_cast<uno_Interface*>(
            zel::uno::Mapping(m).mapInterface(counter, reinterpret_cast<typelib_InterfaceTypeDescription*>(iface)));
        m->release(m);
    }
    counter->release(counter);  // the proxy keeps it alive

    auto work = [&](std::string name, sal_Int32 stepBy) {
        t_name = std::move(name);
        for (int i = 0; i < 3; ++i) {
            sal_Int32 s = stepBy, result = 0;
            void* args[1] = {&s};
            uno_Any exc;
            uno_Any* pExc = &exc;
            proxy->pDispatcher(proxy, next, &result, args, &pExc);
        }
    };
    std::thread t1(work, "worker 1", 1), t2(work, "worker 2", 100);
    t1.join();
    t2.join();

    proxy->release(proxy);
    purpose->release(purpose);
    plain->release(plain);
    uno_revokeEnvironmentInitializer(purposeName.pData);
    typelib_typedescription_release(iface);
    typelib_typedescription_release(next);

    for (const std::string& line : g_trace) std::printf("%s\n", line.c_str());
    return 0;
}
