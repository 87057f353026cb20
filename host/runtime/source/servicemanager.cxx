// The component context and its service manager.

#include <com/qam/vexo/loader/CannotActivateFactoryException.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <osl/module.h>

#include <map>
#include <mutex>

namespace cppu {
namespace {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::XComponentContext;
using ::zel::uno::XInterface;

class ServiceManagerImpl : public WeakImplHelper<::com::qam::vexo::lang::XMultiComponentFactory> {
public:
    Reference<XInterface> createInstanceWithContext(const OUString& serviceName,
                                                    const Reference<XComponentContext>& context) override {
        return createInstanceWithArgumentsAndContext(serviceName, {}, context);
    }

    Reference<XInterface> createInstanceWithArgumentsAndContext(const OUString& serviceName,
                                                                const Sequence<Any>& arguments,
                                                                const Reference<XComponentContext>& context) override {
        ServiceConstructor ctor;
        {
            std::lock_guard g(mutex_);
            auto it = services_.find(serviceName);
            if (it == services_.end()) return {};
            ctor = it->second;
        }
        // Constructors run unlocked: a service may create other services.
        return ctor(context, arguments);
    }

    Sequence<OUString> getAvailableServiceNames() override {
        std::lock_guard g(mutex_);
        std::vector<OUString> names;
        for (auto& [name, ctor] : services_) names.push_back(name);
        return Sequence<OUString>(std::move(names));
    }

    void set(const OUString& name, ServiceConstructor ctor) {
        std::lock_guard g(mutex_);
        services_[name] = std::move(ctor);
    }
    void revoke(const OUString& name) {
        std::lock_guard g(mutex_);
        services_.erase(name);
    }
    void clear() {
        std::map<OUString, ServiceConstructor> old;
        {
            std::lock_guard g(mutex_);
            old.swap(services_);
        }
    }

private:
    std::mutex mutex_;
    std::map<OUString, ServiceConstructor> services_;
};

class ComponentContextImpl : public WeakImplHelper<XComponentContext> {
public:
    ComponentContextImpl() : manager_(new ServiceManagerImpl) {}

    Any getValueByName(const OUString& name) override {
        std::lock_guard g(mutex_);
        auto it = values_.find(name);
        return it == values_.end() ? Any() : it->second;
    }

    Reference<::com::qam::vexo::lang::XMultiComponentFactory> getServiceManager() override {
        std::lock_guard g(mutex_);
        return manager_.get();
    }

    ServiceManagerImpl* manager() {
        std::lock_guard g(mutex_);
        return manager_.get();
    }

    void setValue(const OUString& name, const Any& value) {
        Any old;
        std::lock_guard g(mutex_);
        auto it = values_.find(name);
        if (it != values_.end()) old = it->second;
        if (value.hasValue())
            values_[name] = value;
        else if (it != values_.end())
            values_.erase(it);
    }

    void dispose() {
        std::map<OUString, Any> oldValues;
        Reference<ServiceManagerImpl> manager;
        {
            std::lock_guard g(mutex_);
            oldValues.swap(values_);
            manager = manager_;
        }
        if (manager.is()) manager->clear();
        // oldValues go here, outside the lock: singletons may call back into the context.
    }

private:
    std::mutex mutex_;
    Reference<ServiceManagerImpl> manager_;
    std::map<OUString, Any> values_;
};

ComponentContextImpl* impl(const Reference<XComponentContext>& context) {
    auto* p = dynamic_cast<ComponentContextImpl*>(context.get());
    if (!p) throw ::zel::uno::RuntimeException(u"not a component context of this runtime");
    return p;
}

struct LoadedModules {
    std::mutex mutex;
    std::map<OString, oslModule> modules;
};

LoadedModules& loadedModules() {
    static LoadedModules* m = new LoadedModules; // modules stay loaded for the process's life
    return *m;
}

} // namespace

Reference<XComponentContext> createComponentContext() { return new ComponentContextImpl; }

void registerService(const Reference<XComponentContext>& context, const OUString& serviceName,
                     ServiceConstructor constructor) {
    impl(context)->manager()->set(serviceName, std::move(constructor));
}

void revokeService(const Reference<XComponentContext>& context, const OUString& serviceName) {
    impl(context)->manager()->revoke(serviceName);
}

void registerComponentLibrary(const Reference<XComponentContext>& context, const OUString& serviceName,
                              const OString& libraryFile, const OString& constructorSymbol) {
    registerService(context, serviceName,
                    [libraryFile, constructorSymbol](const Reference<XComponentContext>& ctx,
                                                     const Sequence<Any>& args) -> Reference<XInterface> {
                        OString error;
                        ComponentConstructorFunction fn = loadComponentConstructor(libraryFile, constructorSymbol, &error);
                        if (!fn)
                            throw ::com::qam::vexo::loader::CannotActivateFactoryException(
                                OStringToOUString(error, RTL_TEXTENCODING_UTF8));
                        return Reference<XInterface>(fn(ctx.get(), args), ::zel::uno::SAL_NO_ACQUIRE);
                    });
}

void setContextValue(const Reference<XComponentContext>& context, const OUString& name, const Any& value) {
    impl(context)->setValue(name, value);
}

void disposeComponentContext(const Reference<XComponentContext>& context) {
    if (context.is()) impl(context)->dispose();
}

ComponentConstructorFunction loadComponentConstructor(const OString& libraryFile, const OString& constructorSymbol,
                                                      OString* error) {
    LoadedModules& lm = loadedModules();
    std::lock_guard g(lm.mutex);
    oslModule module = nullptr;
    auto it = lm.modules.find(libraryFile);
    if (it != lm.modules.end()) {
        module = it->second;
    } else {
        module = osl_loadModuleAscii(libraryFile.getStr());
        if (!module) {
            if (error) *error = "cannot load component library " + libraryFile;
            return nullptr;
        }
        lm.modules.emplace(libraryFile, module);
    }
    void* fn = osl_getAsciiFunctionSymbol(module, constructorSymbol.getStr());
    if (!fn) {
        if (error) *error = "component library " + libraryFile + " has no function " + constructorSymbol;
        return nullptr;
    }
    return reinterpret_cast<ComponentConstructorFunction>(fn);
}

} // namespace cppu
