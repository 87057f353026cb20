#include <cppu/supportsservice.hxx>
#include <cppu/weak.hxx>

namespace cppu {

OWeakObject::~OWeakObject() = default;

::zel::uno::Any OWeakObject::queryInterface(const ::zel::uno::Type& type) {
    using namespace ::zel::uno;
    if (type.getTypeClass() != TypeClass_INTERFACE) return Any();
    auto cast = type.getDescription()->castInterface;
    XInterface* self = this;
    XInterface* p = cast ? cast(self) : nullptr;
    if (!p) return Any();
    Any a;
    a.setInterface(type, p);
    return a;
}

void OWeakObject::acquire() noexcept { refCount_.fetch_add(1, std::memory_order_relaxed); }

void OWeakObject::release() noexcept {
    if (refCount_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

bool supportsService(::com::qam::vexo::lang::XServiceInfo* implementation, const OUString& name) {
    const auto names = implementation->getSupportedServiceNames();
    for (const OUString& n : names)
        if (n == name) return true;
    return false;
}

} // namespace cppu
