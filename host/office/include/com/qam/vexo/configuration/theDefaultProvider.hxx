#pragma once
// The default configuration provider singleton (module com.qam.vexo.configuration).
//
// It is a com.qam.vexo.lang.XMultiServiceFactory that creates
// "com.qam.vexo.configuration.ConfigurationAccess" objects for a node path,
// given as one argument: a NamedValue or PropertyValue named "nodepath" whose
// value is the path as a string ("/org.ambrel.Setup/Language").

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::configuration {

struct theDefaultProvider {
    static constexpr char16_t singletonName[] = u"/singletons/com.qam.vexo.configuration.theDefaultProvider";

    // DeploymentException when the context has no provider.
    static ::zel::uno::Reference<::com::qam::vexo::lang::XMultiServiceFactory>
    get(const ::zel::uno::Reference<::zel::uno::XComponentContext>& context) {
        ::zel::uno::Reference<::com::qam::vexo::lang::XMultiServiceFactory> provider;
        if (context.is()) context->getValueByName(singletonName) >>= provider;
        if (!provider.is())
            throw ::zel::uno::DeploymentException(
                u"component context fails to supply singleton com.qam.vexo.configuration.theDefaultProvider"
                u" of type com.qam.vexo.lang.XMultiServiceFactory",
                context);
        return provider;
    }
};

} // namespace com::qam::vexo::configuration
