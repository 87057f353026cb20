// libtarven.so as its users load it: by file name, reaching the two exported
// functions and nothing else.

#include "TarvenFixture.hxx"

#include <gtest/gtest.h>

#include <uno/mapping.hxx>

#include <dlfcn.h>

#include <map>

#include <memory>

namespace {

using namespace testsupport::uno;
using tarventest::addr;
using testsupport::LogCapture;

const char kInit[] = "_ZN4cppu6helper6tarven29Environment_initWithEnterableEP15uno_EnvironmentPNS_9EnterableE";
const char kCreate[] =
    "_ZN4cppu6helper6tarven13createMappingEPP11uno_MappingP15uno_EnvironmentS6_PFvbPvS7_"
    "P32typelib_TypeDescriptionReferenceP23typelib_MethodParameteriPK23typelib_TypeDescriptionS7_PS7_PP7uno_AnyES7_";

// Loaded once and kept: its static method descriptions live with it.
void* library() {
    static void* handle = dlopen(TARVEN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return handle;
}

TEST(TarvenLibrary, ExportsOnlyItsTwoEntryFunctions) {
    void* lib = library();
    ASSERT_NE(lib, nullptr) << dlerror();
    EXPECT_NE(dlsym(lib, kInit), nullptr);
    EXPECT_NE(dlsym(lib, kCreate), nullptr);
    for (const char* hidden : {"_ZN4cppu6helper6tarven18relatesToInterfaceEP23typelib_TypeDescription",
                               "_ZN4cppu6helper6tarven10Proxy_freeEP18uno_ExtEnvironmentPv"})
        EXPECT_EQ(dlsym(lib, hidden), nullptr) << hidden;
}

TEST(TarvenLibrary, LoadedFunctionsMakeAWorkingPurposeEnvironmentAndMapping) {
    void* lib = library();
    ASSERT_NE(lib, nullptr) << dlerror();
    auto init = reinterpret_cast<InitWithEnterableFn>(dlsym(lib, kInit));
    auto create = reinterpret_cast<CreateMappingFn>(dlsym(lib, kCreate));
    ASSERT_NE(init, nullptr);
    ASSERT_NE(create, nullptr);

    LogCapture log("cppu.tarven");
    std::shared_ptr<Trace> trace;
    {
        PurposeHarness harness(init, create);
        trace = harness.traceHandle();
        const TestTypes& types = TestTypes::get();
        BinaryObject* obj = BinaryObject::create(types.xcalc.iface());
        obj->on("add", [](BinaryObject&, const typelib_TypeDescription*, void* ret, void** args, uno_Any**) {
            *static_cast<sal_Int32*>(ret) = *static_cast<sal_Int32*>(args[0]) * *static_cast<sal_Int32*>(args[1]);
        });
        void* proxy = nullptr;
        {
            zel::uno::Mapping m(harness.purpose(), harness.plain());
            ASSERT_TRUE(m.is());
            proxy = m.mapInterface(obj, types.xcalc.iface());
        }
        ASSERT_NE(proxy, nullptr);
        trace->clear();
        sal_Int32 a = 6, b = 7, r = 0;
        void* args[2] = {&a, &b};
        uno_Any exc;
        uno_Any* pExc = &exc;
        auto* p = static_cast<uno_Interface*>(proxy);
        p->pDispatcher(p, types.xcalc.member(u"add"), &r, args, &pExc);
        EXPECT_EQ(pExc, nullptr);
        EXPECT_EQ(r, 42);
        EXPECT_EQ(trace->whats(), (std::vector<std::string>{"callInto"}));
        EXPECT_EQ(obj->calls().back().environment, harness.purpose());
        p->release(p);
        EXPECT_EQ(obj->count(), 1);
        obj->release(obj);
    }
    EXPECT_EQ(trace->deleted.load(), 1);
    // Base, the outward and inward mappings and the proxy each came and went once.
    std::map<std::string, int> kinds;
    for (auto& text : log.texts(SALQX_LOG_INFO)) ++kinds[text.substr(0, text.find(" -> "))];
    EXPECT_EQ(kinds, (std::map<std::string, int>{
                         {"LIFE: cppu::helper::tarven::Base::Base(uno_Environment * pEnv)", 1},
                         {"LIFE: cppu::helper::tarven::Base::~Base()", 1},
                         {"LIFE: Mapping::Mapping(uno_Environment * pFrom, uno_Environment * pTo", 2},
                         {"LIFE: Mapping:~Mapping()", 2},
                         {"LIFE: Proxy::Proxy(<>)", 1},
                         {"LIFE: Proxy::~Proxy()", 1},
                     }));
}

} // namespace
