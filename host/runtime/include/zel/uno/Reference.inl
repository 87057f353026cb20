#pragma once
// Out-of-line members of Reference<T> that need Any.

namespace com::qam::vexo::uno {

template <class T>
T* Reference<T>::queryFrom(const Any& a) {
    if (a.getValueTypeClass() != TypeClass_INTERFACE) return nullptr;
    auto held = static_cast<const Reference<XInterface>*>(a.getValue());
    return queryFrom(held->get());
}

template <class T>
Reference<T>::Reference(const Any& a, UnoReference_QueryThrow) : p_(queryFrom(a)) {
    if (!p_) detail::throwUnsatisfiedQuery(T::static_type(), nullptr);
}

template <class T>
bool Reference<T>::sameObject(XInterface* a, XInterface* b) noexcept {
    if (a == b) return true;
    if (!a || !b) return false;
    XInterface* ia = detail::queryInterface(a, XInterface::static_type());
    XInterface* ib = detail::queryInterface(b, XInterface::static_type());
    bool same = ia == ib;
    if (ia) ia->release();
    if (ib) ib->release();
    return same;
}

} // namespace com::qam::vexo::uno
