#include <com/qam/vexo/lang/exceptions.hxx>
#include <zel/uno/Reference.hxx>

namespace com::qam::vexo::uno {

ContextRef::ContextRef(XInterface* p) noexcept : p_(p) {
    if (p_) p_->acquire();
}
ContextRef::ContextRef(const ContextRef& r) noexcept : ContextRef(r.p_) {}
ContextRef& ContextRef::operator=(const ContextRef& r) noexcept {
    if (r.p_) r.p_->acquire();
    if (p_) p_->release();
    p_ = r.p_;
    return *this;
}
ContextRef::~ContextRef() {
    if (p_) p_->release();
}

Exception::~Exception() = default;

const Type& Exception::getType() const { return cppu::UnoType<Exception>::get(); }

namespace detail {

XInterface* queryInterface(XInterface* obj, const Type& type) {
    if (!obj) return nullptr;
    Any a = obj->queryInterface(type);
    if (a.getValueTypeClass() != TypeClass_INTERFACE) return nullptr;
    XInterface* p = static_cast<const Reference<XInterface>*>(a.getValue())->get();
    if (p) p->acquire();
    return p;
}

void throwUnsatisfiedQuery(const Type& type, XInterface* context) {
    throw RuntimeException(u"unsatisfied query for interface of type " + type.getTypeName() + u"!", context);
}

void throwNullPointer(const Type& type) {
    throw RuntimeException(u"null pointer for interface of type " + type.getTypeName() + u"!");
}

} // namespace detail
} // namespace com::qam::vexo::uno
