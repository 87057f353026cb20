#pragma once
// Value structures of module com.qam.vexo.beans.

#include <zel/uno/Any.hxx>

namespace com::qam::vexo::beans {

// A value that may be absent, for operations that may find nothing.
template <class T>
struct Optional {
    bool IsPresent = false;
    T Value{};
    Optional() = default;
    Optional(bool present, const T& value) : IsPresent(present), Value(value) {}
    friend bool operator==(const Optional& a, const Optional& b) {
        return a.IsPresent == b.IsPresent && (!a.IsPresent || a.Value == b.Value);
    }
};

enum PropertyState { PropertyState_DIRECT_VALUE, PropertyState_DEFAULT_VALUE, PropertyState_AMBIGUOUS_VALUE };

struct PropertyValue {
    OUString Name;
    sal_Int32 Handle = 0;
    ::zel::uno::Any Value;
    PropertyState State = PropertyState_DIRECT_VALUE;
    friend bool operator==(const PropertyValue&, const PropertyValue&) = default;
};

struct NamedValue {
    OUString Name;
    ::zel::uno::Any Value;
    friend bool operator==(const NamedValue&, const NamedValue&) = default;
};

} // namespace com::qam::vexo::beans

template <class T>
struct cppu::UnoType<::com::qam::vexo::beans::Optional<T>> {
    static const ::zel::uno::Type& get() {
        static const ::zel::uno::Type t(::zel::uno::TypeClass_STRUCT,
                                        u"com.qam.vexo.beans.Optional<" + cppu::UnoType<T>::get().getTypeName() + u">");
        return t;
    }
};
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::beans::PropertyState, ENUM, "com.qam.vexo.beans.PropertyState")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::beans::PropertyValue, STRUCT, "com.qam.vexo.beans.PropertyValue")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::beans::NamedValue, STRUCT, "com.qam.vexo.beans.NamedValue")
