#pragma once
// cppu::WeakImplHelper<Ifc...>: the base of implementation classes.
//
//   class FactoryImpl : public cppu::WeakImplHelper<corvane::XFactory> { ... };
//   Reference<XFactory> f(new FactoryImpl);
//
// Atomic reference counting (the object starts with no reference and is deleted
// with its last), queryInterface over the interfaces and their bases, and the
// type provider's list of the implemented interfaces.

#include <cppu/weak.hxx>

namespace cppu {

template <class... Ifc>
class WeakImplHelper : public OWeakObject, public ::com::qam::vexo::lang::XTypeProvider, public Ifc... {
public:
    ::zel::uno::Any queryInterface(const ::zel::uno::Type& type) override { return OWeakObject::queryInterface(type); }
    void acquire() noexcept override { OWeakObject::acquire(); }
    void release() noexcept override { OWeakObject::release(); }

    ::zel::uno::Sequence<::zel::uno::Type> getTypes() override {
        return {::com::qam::vexo::lang::XTypeProvider::static_type(), Ifc::static_type()...};
    }
};

} // namespace cppu
