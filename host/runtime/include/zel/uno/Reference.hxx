#pragma once
// zel::uno::Reference<T>: owns one reference count of an interface.
//
//   Reference<XText> t(obj, UNO_QUERY);        // checking query: empty when obj lacks XText
//   Reference<XText> t(obj, UNO_QUERY_THROW);  // throwing query: RuntimeException
//                                              //   "unsatisfied query for interface of type com.qam.vexo.text.XText!"
//   Reference<XText> t(obj, UNO_QUERY_THROW, ctx);  // the same, with ctx as the exception's context
//   Reference<XText> t(ptr, UNO_SET_THROW);    // RuntimeException when ptr is null

#include <zel/uno/Any.hxx>
#include <zel/uno/Exception.hxx>
#include <zel/uno/XInterface.hxx>

#include <type_traits>
#include <utility>

namespace com::qam::vexo::uno {

namespace detail {
// The object's interface of that type with one reference for the caller, or nullptr.
SALQX_DLLPUBLIC XInterface* queryInterface(XInterface* obj, const Type& type);
[[noreturn]] SALQX_DLLPUBLIC void throwUnsatisfiedQuery(const Type& type, XInterface* context);
[[noreturn]] SALQX_DLLPUBLIC void throwNullPointer(const Type& type);
} // namespace detail

template <class T>
class Reference {
public:
    Reference() noexcept = default;
    Reference(std::nullptr_t) noexcept {}
    Reference(T* p) noexcept : p_(p) {
        if (p_) p_->acquire();
    }
    Reference(T* p, UnoReference_NoAcquire) noexcept : p_(p) {}
    Reference(const Reference& r) noexcept : Reference(r.p_) {}
    Reference(Reference&& r) noexcept : p_(std::exchange(r.p_, nullptr)) {}
    // Upcast from a reference to a derived interface.
    template <class U, class = std::enable_if_t<std::is_base_of_v<T, U> && !std::is_same_v<T, U>>>
    Reference(const Reference<U>& r) noexcept : Reference(static_cast<T*>(r.get())) {}
    template <class U, class = std::enable_if_t<std::is_base_of_v<T, U> && !std::is_same_v<T, U>>>
    Reference(Reference<U>&& r) noexcept : p_(static_cast<T*>(r.release_raw())) {}

    template <class U>
    Reference(const Reference<U>& r, UnoReference_Query) : p_(queryFrom(r.get())) {}
    Reference(XInterface* p, UnoReference_Query) : p_(queryFrom(p)) {}
    Reference(const Any& a, UnoReference_Query) : p_(queryFrom(a)) {}
    template <class U>
    Reference(const Reference<U>& r, UnoReference_QueryThrow) : p_(queryThrow(r.get())) {}
    Reference(XInterface* p, UnoReference_QueryThrow) : p_(queryThrow(p)) {}
    Reference(const Any& a, UnoReference_QueryThrow);
    // Throwing query whose failure carries `context` (usually the object queried)
    // as the exception's context object.
    template <class U>
    Reference(const Reference<U>& r, UnoReference_QueryThrow, XInterface* context) : p_(queryFrom(r.get())) {
        if (!p_) detail::throwUnsatisfiedQuery(T::static_type(), context);
    }
    Reference(T* p, UnoReference_SetThrow) : Reference(p) {
        if (!p_) detail::throwNullPointer(T::static_type());
    }
    Reference(const Reference& r, UnoReference_SetThrow) : Reference(r.get(), UNO_SET_THROW) {}

    ~Reference() {
        if (p_) p_->release();
    }

    Reference& operator=(const Reference& r) noexcept { return set(r.p_), *this; }
    Reference& operator=(Reference&& r) noexcept {
        std::swap(p_, r.p_);
        return *this;
    }
    Reference& operator=(T* p) noexcept { return set(p), *this; }
    Reference& operator=(std::nullptr_t) noexcept { return clear(), *this; }

    void set(T* p) noexcept {
        if (p) p->acquire();
        T* old = std::exchange(p_, p);
        if (old) old->release();
    }
    bool set(XInterface* p, UnoReference_Query) {
        *this = Reference(p, UNO_QUERY);
        return is();
    }
    template <class U>
    bool set(const Reference<U>& r, UnoReference_Query) {
        *this = Reference(r, UNO_QUERY);
        return is();
    }
    bool set(const Any& a, UnoReference_Query) {
        *this = Reference(a, UNO_QUERY);
        return is();
    }
    template <class U>
    void set(const Reference<U>& r, UnoReference_QueryThrow) { *this = Reference(r, UNO_QUERY_THROW); }
    void clear() noexcept {
        if (T* old = std::exchange(p_, nullptr)) old->release();
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    bool is() const noexcept { return p_ != nullptr; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Drops ownership without releasing (for returning one reference to a C caller).
    T* release_raw() noexcept { return std::exchange(p_, nullptr); }

    // Identity: both sides queried for XInterface and compared.
    template <class U>
    bool operator==(const Reference<U>& r) const noexcept {
        return sameObject(p_, r.get());
    }
    bool operator==(std::nullptr_t) const noexcept { return p_ == nullptr; }

    static const Type& static_type() { return T::static_type(); }

    // Identity of two interface pointers of any types.
    static bool sameObject(XInterface* a, XInterface* b) noexcept;

private:
    static T* fromInterface(XInterface* x) noexcept {
        // x is T's XInterface subobject with one reference (see detail::queryInterface).
        return x ? dynamic_cast<T*>(x) : nullptr;
    }
    static T* queryFrom(XInterface* p) { return p ? fromInterface(detail::queryInterface(p, T::static_type())) : nullptr; }
    static T* queryFrom(const Any& a);
    static T* queryThrow(XInterface* p) {
        T* q = queryFrom(p);
        if (!q) detail::throwUnsatisfiedQuery(T::static_type(), nullptr);
        return q;
    }

    T* p_ = nullptr;
};

} // namespace com::qam::vexo::uno

template <class T>
struct cppu::UnoType<::zel::uno::Reference<T>> {
    static const ::zel::uno::Type& get() { return T::static_type(); }
};

#include <zel/uno/Reference.inl>
