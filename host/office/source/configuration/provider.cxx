// The default configuration provider singleton, its read access objects, and
// the host's C++ calls on the same data.
//
// ProviderImpl models the office's configuration provider as far as services
// use it: it creates "com.qam.vexo.configuration.ConfigurationAccess" for a
// node path.  It offers no update access, no locale argument and no other
// service; the host changes values through officehost/configuration.hxx.
//
// AccessImpl is a live, read-only view of one node: every call reads the data
// as it is now, child nodes come back as new views, and the listeners that it
// takes hear of every change below its node.

#include "store.hxx"

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/configuration/theDefaultProvider.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <cppu/supportsservice.hxx>
#include <officehost/configuration.hxx>
#include <officehost/services.hxx>

#include <cstdlib>

namespace officehost::configuration {
namespace {

using ::com::qam::vexo::beans::NamedValue;
using ::com::qam::vexo::beans::PropertyValue;
using ::com::qam::vexo::container::NoSuchElementException;
using ::com::qam::vexo::container::XNameAccess;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::XMultiServiceFactory;
using ::com::qam::vexo::lang::XServiceInfo;
using ::com::qam::vexo::util::XChangesListener;
using ::com::qam::vexo::util::XChangesNotifier;
using detail::Path;
using detail::Store;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::XInterface;

constexpr char16_t kAccessService[] = u"com.qam.vexo.configuration.ConfigurationAccess";

class AccessImpl : public cppu::WeakImplHelper<XNameAccess, XChangesNotifier, XServiceInfo> {
public:
    AccessImpl(std::shared_ptr<Store> store, Path node) : store_(std::move(store)), node_(std::move(node)) {}

    // XElementAccess
    ::zel::uno::Type getElementType() override { return cppu::UnoType<Any>::get(); }
    bool hasElements() override { return !store_->childNames(node_).empty(); }

    // XNameAccess
    Any getByName(const OUString& name) override {
        Path path = childPath(name);
        Store::Entry entry = store_->lookup(path);
        switch (entry.kind) {
        case Store::Kind::Value: return entry.value;
        case Store::Kind::Node: return Any(Reference<XNameAccess>(new AccessImpl(store_, std::move(path))));
        case Store::Kind::None: break;
        }
        throw NoSuchElementException(u"getByName: " + detail::pathText(node_) + u" has no element \"" + name + u"\"",
                                     static_cast<XNameAccess*>(this));
    }
    Sequence<OUString> getElementNames() override { return Sequence<OUString>(store_->childNames(node_)); }
    bool hasByName(const OUString& name) override { return store_->lookup(childPath(name)).kind != Store::Kind::None; }

    // XChangesNotifier
    void addChangesListener(const Reference<XChangesListener>& listener) override {
        store_->addListener(Reference<XInterface>(static_cast<XNameAccess*>(this)), node_, listener);
    }
    void removeChangesListener(const Reference<XChangesListener>& listener) override {
        store_->removeListener(static_cast<XNameAccess*>(this), listener);
    }

    // XServiceInfo
    OUString getImplementationName() override { return u"com.qam.vexo.comp.configuration.Access"; }
    bool supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(kAccessService)}; }

private:
    Path childPath(const OUString& name) const {
        Path path = node_;
        path.push_back(name);
        return path;
    }

    std::shared_ptr<Store> store_;
    Path node_;
};

class ProviderImpl : public cppu::WeakImplHelper<XMultiServiceFactory, XServiceInfo> {
public:
    ProviderImpl() : store_(std::make_shared<Store>()) {}
    ~ProviderImpl() override { store_->dispose(); }

    const std::shared_ptr<Store>& store() const { return store_; }

    // XMultiServiceFactory
    Reference<XInterface> createInstance(const OUString& serviceName) override {
        return createInstanceWithArguments(serviceName, {});
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& serviceName,
                                                      const Sequence<Any>& arguments) override {
        if (serviceName != kAccessService)
            throw ::zel::uno::Exception(u"createInstanceWithArguments: unknown service \"" + serviceName + u"\"",
                                        static_cast<XMultiServiceFactory*>(this));
        OUString nodePath;
        bool found = false;
        for (const Any& argument : arguments) {
            NamedValue named;
            PropertyValue property;
            if (argument >>= named)
                found = found || (named.Name == u"nodepath" && (named.Value >>= nodePath));
            else if (argument >>= property)
                found = found || (property.Name == u"nodepath" && (property.Value >>= nodePath));
        }
        if (!found)
            throw IllegalArgumentException(u"createInstanceWithArguments: no \"nodepath\" argument",
                                           static_cast<XMultiServiceFactory*>(this));
        Path path;
        if (!detail::parsePath(nodePath, path))
            throw IllegalArgumentException(u"createInstanceWithArguments: malformed node path \"" + nodePath + u"\"",
                                           static_cast<XMultiServiceFactory*>(this));
        if (store_->lookup(path).kind == Store::Kind::Value)
            throw IllegalArgumentException(u"createInstanceWithArguments: " + nodePath + u" is a value, not a node",
                                           static_cast<XMultiServiceFactory*>(this));
        return Reference<XInterface>(static_cast<XNameAccess*>(new AccessImpl(store_, std::move(path))));
    }
    Sequence<OUString> getAvailableServiceNames() override { return {OUString(kAccessService)}; }

    // XServiceInfo
    OUString getImplementationName() override { return u"com.qam.vexo.comp.configuration.Provider"; }
    bool supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    Sequence<OUString> getSupportedServiceNames() override {
        return {OUString(u"com.qam.vexo.configuration.DefaultProvider")};
    }

private:
    std::shared_ptr<Store> store_;
};

void registerConfiguration(const Reference<::zel::uno::XComponentContext>& context) {
    Reference<XMultiServiceFactory> provider(new ProviderImpl);
    cppu::setContextValue(context, ::com::qam::vexo::configuration::theDefaultProvider::singletonName, Any(provider));
}

officehost::ServiceRegistration registration(&registerConfiguration);

// The store of the process context's provider, or null.
std::shared_ptr<Store> processStore() {
    auto context = comphelper::getProcessComponentContext();
    if (!context.is()) return nullptr;
    Reference<XInterface> provider;
    context->getValueByName(::com::qam::vexo::configuration::theDefaultProvider::singletonName) >>= provider;
    auto* impl = dynamic_cast<ProviderImpl*>(provider.get());
    return impl ? impl->store() : nullptr;
}

std::shared_ptr<Store> requireStore(const char16_t* operation) {
    if (auto store = processStore()) return store;
    throw ::zel::uno::RuntimeException(OUString(std::u16string_view(operation)) +
                                       u": the process has no configuration");
}

Path requirePath(const OUString& text, const char16_t* operation) {
    Path path;
    if (!detail::parsePath(text, path))
        throw IllegalArgumentException(OUString(std::u16string_view(operation)) + u": malformed path \"" + text +
                                       u"\"");
    return path;
}

OUString environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? OUString::fromUtf8(value) : OUString();
}

} // namespace

OUString profilePath() {
    OUString explicitFile = environment("QX_USER_PROFILE");
    if (!explicitFile.isEmpty()) return explicitFile;
    OUString configHome = environment("XDG_CONFIG_HOME");
    if (configHome.isEmpty()) configHome = environment("HOME") + u"/.config";
    return configHome + u"/qx/settings.txt";
}

Any getValue(const OUString& path) {
    Path parsed;
    auto store = processStore();
    if (!store || !detail::parsePath(path, parsed)) return Any();
    Store::Entry entry = store->lookup(parsed);
    return entry.kind == Store::Kind::Value ? entry.value : Any();
}

void setValue(const OUString& path, const Any& value) { setValues({{path, value}}); }

void setValues(const std::vector<std::pair<OUString, Any>>& values) {
    constexpr char16_t operation[] = u"setValue";
    std::vector<std::pair<Path, Any>> parsed;
    for (const auto& [path, value] : values) parsed.emplace_back(requirePath(path, operation), value);
    requireStore(operation)->setValues(parsed, operation);
}

bool removeValue(const OUString& path) {
    constexpr char16_t operation[] = u"removeValue";
    Path parsed = requirePath(path, operation);
    return requireStore(operation)->remove(parsed);
}

void reload() { requireStore(u"reload")->reload(); }

void storeProfile() { requireStore(u"storeProfile")->storeProfile(); }

} // namespace officehost::configuration
