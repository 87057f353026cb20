#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>

#include <mutex>

namespace comphelper {
namespace {

struct ProcessContext {
    std::mutex mutex;
    ::zel::uno::Reference<::zel::uno::XComponentContext> context;
};

ProcessContext& processContext() {
    static ProcessContext pc;
    return pc;
}

} // namespace

::zel::uno::Reference<::zel::uno::XComponentContext> getProcessComponentContext() {
    ProcessContext& pc = processContext();
    std::lock_guard g(pc.mutex);
    if (!pc.context.is()) pc.context = cppu::createComponentContext();
    return pc.context;
}

void setProcessComponentContext(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context) {
    ::zel::uno::Reference<::zel::uno::XComponentContext> old;
    {
        ProcessContext& pc = processContext();
        std::lock_guard g(pc.mutex);
        old = pc.context;
        pc.context = context;
    }
}

} // namespace comphelper
