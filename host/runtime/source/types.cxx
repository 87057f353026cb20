// The type registry: one description per type name for the whole process.

#include <zel/uno/Sequence.hxx>
#include <zel/uno/XInterface.hxx>

#include <map>
#include <memory>
#include <mutex>

namespace com::qam::vexo::uno {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<OUString, std::unique_ptr<TypeDescription>> types;
};

Registry& registry() {
    // Never destroyed: descriptions must outlive every static Type of every library.
    static Registry* r = new Registry;
    return *r;
}

const TypeDescription* lookupOrAdd(TypeClass typeClass, const OUString& name,
                                   XInterface* (*castInterface)(XInterface*)) {
    Registry& r = registry();
    std::lock_guard g(r.mutex);
    auto it = r.types.find(name);
    if (it != r.types.end()) {
        // The first registration of an interface may come from a type-library
        // lookup that knew no cast; a later one from the interface itself does.
        if (!it->second->castInterface && castInterface) it->second->castInterface = castInterface;
        return it->second.get();
    }
    auto d = std::make_unique<TypeDescription>(TypeDescription{typeClass, name, castInterface});
    const TypeDescription* p = d.get();
    r.types.emplace(name, std::move(d));
    return p;
}

} // namespace

const TypeDescription* registerType(TypeClass typeClass, const char16_t* name,
                                    XInterface* (*castInterface)(XInterface*)) {
    return lookupOrAdd(typeClass, OUString(std::u16string_view(name)), castInterface);
}

Type::Type() noexcept : desc_(cppu::UnoType<void>::get().getDescription()) {}

Type::Type(TypeClass typeClass, const OUString& name) : desc_(lookupOrAdd(typeClass, name, nullptr)) {}

const Type& XInterface::static_type() {
    static const Type t(registerType(TypeClass_INTERFACE, u"com.qam.vexo.uno.XInterface",
                                     [](XInterface* p) { return p; }));
    return t;
}

namespace detail {
const TypeDescription* registerSequenceType(const Type& element) {
    return lookupOrAdd(TypeClass_SEQUENCE, u"[]" + element.getTypeName(), nullptr);
}
} // namespace detail

} // namespace com::qam::vexo::uno
