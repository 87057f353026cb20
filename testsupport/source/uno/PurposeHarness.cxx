#include <testsupport/uno/PurposeHarness.hxx>

#include <rtl/ustring.hxx>

#include <algorithm>

namespace testsupport::uno {

std::vector<std::string> Trace::whats() const {
    std::lock_guard g(mutex);
    std::vector<std::string> r;
    for (auto& e : events) r.push_back(e.what);
    return r;
}

void Trace::clear() {
    std::lock_guard g(mutex);
    events.clear();
}

std::vector<std::string> Trace::lines() const {
    std::lock_guard g(mutex);
    std::vector<std::thread::id> threads;
    std::vector<std::string> r;
    for (auto& e : events) {
        auto it = std::find(threads.begin(), threads.end(), e.thread);
        if (it == threads.end()) it = threads.insert(threads.end(), e.thread);
        r.push_back(e.what + " depth=" + std::to_string(e.depth) + " thread="
                    + std::to_string(it - threads.begin() + 1));
    }
    return r;
}

int TestEnterable::record(const char* what, int change) {
    std::lock_guard g(trace_->mutex);
    int& d = trace_->depth[std::this_thread::get_id()];
    trace_->events.push_back({what, std::this_thread::get_id(), d});
    d += change;
    return d;
}

void TestEnterable::v_enter() {
    if (serialise_) lock_.lock();
    record("enter", +1);
}

void TestEnterable::v_leave() {
    record("leave", -1);
    if (serialise_) lock_.unlock();
}

void TestEnterable::v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) {
    if (serialise_) lock_.lock();
    record("callInto", +1);
    pCallee(pParam);
    {
        std::lock_guard g(trace_->mutex);
        --trace_->depth[std::this_thread::get_id()];
    }
    if (serialise_) lock_.unlock();
}

void TestEnterable::v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) {
    record("callOut", -1);
    pCallee(pParam);
    std::lock_guard g(trace_->mutex);
    ++trace_->depth[std::this_thread::get_id()];
}

bool TestEnterable::v_isValid(rtl_uString** pReason) {
    record("isValid", 0);
    rtl::OUString reason = rtl::OUString::fromUtf8(trace_->reason);
    rtl_uString_acquire(reason.pData);
    if (*pReason != nullptr) rtl_uString_release(*pReason);
    *pReason = reason.pData;
    return trace_->valid;
}

PurposeHarness::PurposeHarness(InitWithEnterableFn init, CreateMappingFn createMapping, ProbeFn* probe,
                               void* probeContext, bool serialise)
    : init_(init), createMapping_(createMapping), probe_(probe), probeContext_(probeContext), serialise_(serialise) {
    rtl::OUString test(u"uno:test");
    uno_registerEnvironmentInitializer(test.pData, &PurposeHarness::initialize, this);
    uno_registerMappingFactory(&PurposeHarness::factory, this);
    uno_getEnvironment(&plain_, rtl::OUString(u"uno").pData, nullptr);
    uno_getEnvironment(&purpose_, test.pData, nullptr);
}

PurposeHarness::~PurposeHarness() {
    uno_revokeMappingFactory(&PurposeHarness::factory, this);
    uno_revokeEnvironmentInitializer(rtl::OUString(u"uno:test").pData);
    purpose_->release(purpose_);
    plain_->release(plain_);
}

uno_Mapping* PurposeHarness::mapping(uno_Environment* from, uno_Environment* to) const {
    uno_Mapping* m = nullptr;
    uno_getMapping(&m, from, to, nullptr);
    return m;
}

void PurposeHarness::initialize(uno_Environment* env, void* self) {
    auto* h = static_cast<PurposeHarness*>(self);
    h->init_(env, new TestEnterable(h->trace_, h->serialise_));
}

void PurposeHarness::factory(uno_Mapping** pp, uno_Environment* from, uno_Environment* to, rtl_uString* purpose,
                             void* self) {
    auto* h = static_cast<PurposeHarness*>(self);
    if (purpose != nullptr && purpose->length != 0) return;
    auto isTest = [](uno_Environment* e) { return rtl::OUString(e->pTypeName) == u"uno:test"; };
    if (!isTest(from) && !isTest(to)) return;
    h->createMapping_(pp, from, to, h->probe_, h->probeContext_);
}

} // namespace testsupport::uno
