#pragma once
// zel::uno::Any: a value of any runtime type, with its Type.
//
// Extraction (operator>>=, has<T>(), get<T>()) succeeds for the value's own type
// and for the runtime's widenings of small integers:
//   byte                  -> short, unsigned short, long, unsigned long, hyper, unsigned hyper, float, double
//   short, unsigned short -> each other, long, unsigned long, hyper, unsigned hyper, float, double
//   long, unsigned long   -> each other, hyper, unsigned hyper, double
//   hyper, unsigned hyper -> each other
//   float                 -> double
// An interface is extracted by querying the held object (empty Any: no interface).
// Anything else (void, another type) fails and leaves the target unchanged.

#include <zel/uno/Exception.hxx>
#include <zel/uno/Type.hxx>
#include <zel/uno/XInterface.hxx>

#include <memory>
#include <type_traits>

namespace com::qam::vexo::uno {

template <class T>
class Reference;
template <class T>
class Sequence;

namespace detail {
struct AnyHolder {
    virtual ~AnyHolder() = default;
    virtual const void* data() const noexcept = 0;
    virtual bool equals(const AnyHolder& other) const = 0;
};
template <class T>
struct AnyHolderT final : AnyHolder {
    explicit AnyHolderT(const T& v) : value(v) {}
    const void* data() const noexcept override { return &value; }
    bool equals(const AnyHolder& other) const override {
        if constexpr (std::equality_comparable<T>)
            return value == *static_cast<const T*>(other.data());
        else
            return this == &other;
    }
    T value;
};

template <class T>
struct IsReference : std::false_type {};
template <class T>
struct IsReference<Reference<T>> : std::true_type {};

// Numeric extraction with widening; false when the type class does not widen to T.
SALQX_DLLPUBLIC bool extractInteger(TypeClass from, const void* data, TypeClass to, void* out);
} // namespace detail

class SALQX_DLLPUBLIC Any {
public:
    Any() noexcept;
    template <class T, class = std::enable_if_t<!std::is_same_v<std::decay_t<T>, Any>>>
    explicit Any(const T& value) {
        setValue(value);
    }
    // Plain char arrays are strings, not booleans.
    template <std::size_t N>
    explicit Any(const char16_t (&lit)[N]) : Any(OUString(lit)) {}

    const Type& getValueType() const noexcept { return type_; }
    TypeClass getValueTypeClass() const noexcept { return type_.getTypeClass(); }
    const OUString& getValueTypeName() const noexcept { return type_.getTypeName(); }
    bool hasValue() const noexcept { return type_.getTypeClass() != TypeClass_VOID; }
    bool isExtractableTo(const Type& type) const;
    // The held value, or nullptr for void.  For interfaces it is a Reference<XInterface>.
    const void* getValue() const noexcept { return holder_ ? holder_->data() : nullptr; }
    void clear() noexcept;

    template <class T>
    void setValue(const T& value);

    template <class T>
    bool has() const {
        T probe{};
        return extract(probe);
    }
    // The value as T; RuntimeException "cannot extract an Any(<held type>) to <T's type>" otherwise.
    template <class T>
    T get() const;

    template <class T>
    bool extract(T& out) const;

    bool operator==(const Any& other) const;

    // Holds p as an interface of the given type (p may be null).
    void setInterface(const Type& type, XInterface* p);

private:
    [[noreturn]] static void throwCannotExtract(const Type& held, const Type& wanted);
    XInterface* heldInterface() const noexcept;

    Type type_;
    std::shared_ptr<const detail::AnyHolder> holder_;
};

template <class T>
void Any::setValue(const T& value) {
    if constexpr (detail::IsReference<T>::value) {
        setInterface(T::static_type(), value.get());
    } else if constexpr (std::is_same_v<T, Any>) {
        *this = value;
    } else {
        type_ = cppu::UnoType<T>::get();
        holder_ = std::make_shared<detail::AnyHolderT<T>>(value);
    }
}

template <class T>
bool Any::extract(T& out) const {
    if constexpr (std::is_same_v<T, Any>) {
        out = *this;
        return true;
    } else if constexpr (detail::IsReference<T>::value) {
        XInterface* p = heldInterface();
        if (!p) return false;
        T r(p, UNO_QUERY);
        if (!r.is()) return false;
        out = std::move(r);
        return true;
    } else if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, sal_Unicode>) {
        return detail::extractInteger(getValueTypeClass(), getValue(), cppu::UnoType<T>::get().getTypeClass(), &out);
    } else {
        if (!holder_ || !(type_ == cppu::UnoType<T>::get())) return false;
        out = *static_cast<const T*>(holder_->data());
        return true;
    }
}

template <class T>
T Any::get() const {
    T v{};
    if (!extract(v)) throwCannotExtract(type_, cppu::UnoType<T>::get());
    return v;
}

template <class T>
inline bool operator>>=(const Any& a, T& value) {
    return a.extract(value);
}
template <class T>
inline void operator<<=(Any& a, const T& value) {
    a.setValue(value);
}
template <class T>
inline Any makeAny(const T& value) {
    return Any(value);
}
template <class T>
inline Any toAny(const T& value) {
    return Any(value);
}

} // namespace com::qam::vexo::uno

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::uno::Any, ANY, "any")
