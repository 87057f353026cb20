#pragma once
// Environments for tests of purpose environments: the plain "uno" one and the
// purpose "uno:test" one, whose creator hands a recording TestEnterable to an
// initialiser function (the purpose-environment helper's, passed in so that a
// test may use the statically linked one or one loaded from the library), and
// a mapping factory that asks a createMapping function for every mapping into
// or out of "uno:test".
//
// TestEnterable records enter, leave, call-into, call-out and validity checks
// with the thread and the nesting depth (per thread, counted by call-into and
// enter) into a shared Trace.  With serialise set, it holds a recursive mutex
// while entered, as an environment guarded by a lock would.

#include <cppu/Enterable.hxx>
#include <uno/mapping.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport::uno {

struct EnterableEvent {
    std::string what;  // "enter", "leave", "callInto", "callOut", "isValid"
    std::thread::id thread;
    int depth;  // the thread's depth before the event
};

struct Trace {
    mutable std::mutex mutex;
    std::vector<EnterableEvent> events;
    std::map<std::thread::id, int> depth;
    std::atomic<int> deleted{0};
    bool valid = true;
    std::string reason = "test reason";

    std::vector<std::string> whats() const;
    void clear();
    // "callInto depth=0 thread=1" lines, threads numbered in order of appearance.
    std::vector<std::string> lines() const;
};

class TestEnterable : public cppu::Enterable {
public:
    explicit TestEnterable(std::shared_ptr<Trace> trace, bool serialise = false)
        : trace_(std::move(trace)), serialise_(serialise) {}
    ~TestEnterable() override { ++trace_->deleted; }

    void v_enter() override;
    void v_leave() override;
    void v_callInto_v(uno_EnvCallee* pCallee, va_list* pParam) override;
    void v_callOut_v(uno_EnvCallee* pCallee, va_list* pParam) override;
    bool v_isValid(rtl_uString** pReason) override;

private:
    int record(const char* what, int change);
    std::shared_ptr<Trace> trace_;
    bool serialise_;
    std::recursive_mutex lock_;
};

using InitWithEnterableFn = void (*)(uno_Environment*, cppu::Enterable*);
using ProbeFn = void(bool, void*, void*, typelib_TypeDescriptionReference*, typelib_MethodParameter*, int,
                     const typelib_TypeDescription*, void*, void**, uno_Any**);
using CreateMappingFn = void (*)(uno_Mapping**, uno_Environment*, uno_Environment*, ProbeFn*, void*);

class PurposeHarness {
public:
    PurposeHarness(InitWithEnterableFn init, CreateMappingFn createMapping, ProbeFn* probe = nullptr,
                   void* probeContext = nullptr, bool serialise = false);
    ~PurposeHarness();
    PurposeHarness(const PurposeHarness&) = delete;
    PurposeHarness& operator=(const PurposeHarness&) = delete;

    uno_Environment* plain() const { return plain_; }
    uno_Environment* purpose() const { return purpose_; }
    Trace& trace() const { return *trace_; }
    std::shared_ptr<Trace> traceHandle() const { return trace_; }
    // The mapping between the two environments, counted by the caller.
    uno_Mapping* mapping(uno_Environment* from, uno_Environment* to) const;

private:
    static void initialize(uno_Environment* env, void* self);
    static void factory(uno_Mapping** pp, uno_Environment* from, uno_Environment* to, rtl_uString* purpose,
                        void* self);
    InitWithEnterableFn init_;
    CreateMappingFn createMapping_;
    ProbeFn* probe_;
    void* probeContext_;
    bool serialise_;
    std::shared_ptr<Trace> trace_ = std::make_shared<Trace>();
    uno_Environment* plain_ = nullptr;
    uno_Environment* purpose_ = nullptr;
};

} // namespace testsupport::uno
