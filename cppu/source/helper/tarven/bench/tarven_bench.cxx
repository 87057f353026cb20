// A call with plain arguments (two longs in, a long back) made directly on a
// binary object's dispatcher, and through a proxy into a purpose environment
// whose enterable only passes calls through.  Every benchmark also reports
// heap allocations per iteration ("allocs"), counted by wrapping malloc.
//
//   build/release/benchmarks/tarven_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "tarven.hxx"

#include <rtl/ustring.hxx>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {
std::size_t g_allocations = 0;
} // namespace

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t n) {
    ++g_allocations;
    return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t m) {
    ++g_allocations;
    return __libc_calloc(n, m);
}
void* realloc(void* p, std::size_t n) {
    ++g_allocations;
    return __libc_realloc(p, n);
}
}

namespace {

// Runs callees straight away: the cost of the machinery, not of a lock.
class PassThrough : public cppu::Enterable {
public:
    void v_enter() override {}
    void v_leave() override {}
    void v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) override { pCallee(pParam); }
    void v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) override { pCallee(pParam); }
    bool v_isValid(rtl_uString**) override { return true; }
};

// An adder: answers XInterface's queryInterface with itself and "add" with the sum.
struct Adder : uno_Interface {
    std::atomic<sal_Int32> count{1};
    static void s_acquire(uno_Interface* p) { static_cast<Adder*>(p)->count.fetch_add(1); }
    static void s_release(uno_Interface* p) {
        if (static_cast<Adder*>(p)->count.fetch_sub(1) == 1) delete static_cast<Adder*>(p);
    }
    static void s_dispatch(uno_Interface* p, const typelib_TypeDescription* member, void* ret, void** args,
                           uno_Any** ppExc) {
        if (reinterpret_cast<const typelib_InterfaceMemberTypeDescription*>(member)->nPosition == 0) {
            void* self = p;
            uno_any_construct(static_cast<uno_Any*>(ret), &self,
                              *static_cast<typelib_TypeDescriptionReference**>(args[0]), nullptr);
        } else {
            *static_cast<sal_Int32*>(ret) = *static_cast<sal_Int32*>(args[0]) + *static_cast<sal_Int32*>(args[1]);
        }
        *ppExc = nullptr;
    }
    Adder() {
        acquire = s_acquire;
        release = s_release;
        pDispatcher = s_dispatch;
    }
};

struct Setup {
    typelib_TypeDescription* iface = nullptr;
    typelib_TypeDescription* add = nullptr;
    uno_Environment* plain = nullptr;
    uno_Environment* purpose = nullptr;
    Adder* adder = new Adder;
    uno_Interface* proxy = nullptr;

    Setup() {
        rtl::OUString name(u"bench.XAdder"), addName(u"bench.XAdder::add"), lng(u"long"), a(u"a"), b(u"b");
        typelib_Parameter_Init params[2] = {{typelib_TypeClass_LONG, lng.pData, a.pData, true, false},
                                            {typelib_TypeClass_LONG, lng.pData, b.pData, true, false}};
        typelib_typedescription_newInterfaceMethod(&add, addName.pData, false, typelib_TypeClass_LONG, lng.pData, 2,
                                                   params, 0, nullptr);
        typelib_typedescription_newInterface(&iface, name.pData, nullptr, 1, &add);
        typelib_typedescription_register(&iface);
        rtl::OUString purposeName(u"uno:bench");
        uno_registerEnvironmentInitializer(purposeName.pData, [](uno_Environment* env, void*) {
            cppu::helper::tarven::Environment_initWithEnterable(env, new PassThrough);
        }, nullptr);
        uno_getEnvironment(&plain, rtl::OUString(u"uno").pData, nullptr);
        uno_getEnvironment(&purpose, purposeName.pData, nullptr);
        uno_Mapping* m = nullptr;
        cppu::helper::tarven::createMapping(&m, purpose, plain);
        void* out = nullptr;
        m->mapInterface(m, &out, adder, reinterpret_cast<typelib_InterfaceTypeDescription*>(iface));
        m->release(m);
        proxy = static_cast<uno_Interface*>(out);
    }
};

Setup& setup() {
    static Setup* s = new Setup;
    return *s;
}

void call(benchmark::State& state, uno_Interface* target) {
    Setup& s = setup();
    sal_Int32 a = 20, b = 22, r = 0;
    void* args[2] = {&a, &b};
    uno_Any exc;
    const std::size_t before = g_allocations;
    for (auto _ : state) {
        uno_Any* pExc = &exc;
        target->pDispatcher(target, s.add, &r, args, &pExc);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(pExc);
    }
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(g_allocations - before), benchmark::Counter::kAvgIterations);
    if (r != 42) state.SkipWithError("wrong sum");
}

void BM_DirectDispatch(benchmark::State& state) { call(state, setup().adder); }
BENCHMARK(BM_DirectDispatch);

void BM_ProxyIntoPurposeEnvironment(benchmark::State& state) { call(state, setup().proxy); }
BENCHMARK(BM_ProxyIntoPurposeEnvironment);

} // namespace

BENCHMARK_MAIN();
