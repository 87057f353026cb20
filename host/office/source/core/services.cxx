#include <officehost/services.hxx>

#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>

#include <mutex>
#include <vector>

namespace officehost {
namespace {

std::vector<RegisterFunction>& registrations() {
    static std::vector<RegisterFunction> list;
    return list;
}

} // namespace

ServiceRegistration::ServiceRegistration(RegisterFunction fn) { registrations().push_back(fn); }

void registerServices(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context) {
    for (RegisterFunction fn : registrations()) fn(context);
}

::zel::uno::Reference<::zel::uno::XComponentContext> initProcessContext() {
    shutdownProcessContext();
    auto context = cppu::createComponentContext();
    registerServices(context);
    comphelper::setProcessComponentContext(context);
    return context;
}

void shutdownProcessContext() {
    auto old = comphelper::getProcessComponentContext();
    comphelper::setProcessComponentContext({});
    if (old.is()) cppu::disposeComponentContext(old);
}

} // namespace officehost
