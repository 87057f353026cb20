// A component with one service object, loaded by the service manager's tests.

#include <com/qam/vexo/lang/interfaces.hxx>
#include <cppu/implbase.hxx>
#include <cppu/supportsservice.hxx>

namespace {

class EchoImpl : public cppu::WeakImplHelper<com::qam::vexo::lang::XServiceInfo> {
public:
    explicit EchoImpl(sal_Int32 args) : args_(args) {}
    OUString getImplementationName() override { return u"test.Echo" + OUString::number(args_); }
    bool supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    zel::uno::Sequence<OUString> getSupportedServiceNames() override { return {u"test.EchoService"}; }

private:
    sal_Int32 args_;
};

} // namespace

extern "C" SAL_DLLPUBLIC_EXPORT zel::uno::XInterface* salqx_test_Echo_get_implementation(
    zel::uno::XComponentContext*, zel::uno::Sequence<zel::uno::Any> const& args) {
    zel::uno::Reference<zel::uno::XInterface> object(static_cast<cppu::OWeakObject*>(new EchoImpl(args.getLength())));
    return object.release_raw();
}
