#pragma once
// zel::uno::Sequence<T>: a shared, copy-on-write array.  Copies share their
// elements until one of them is written through getArray() or realloc().

#include <zel/uno/Type.hxx>

#include <initializer_list>
#include <memory>
#include <vector>

namespace com::qam::vexo::uno {

template <class T>
class Sequence {
public:
    Sequence() = default;
    explicit Sequence(sal_Int32 len) : data_(len > 0 ? std::make_shared<std::vector<T>>(len) : nullptr) {}
    Sequence(const T* elements, sal_Int32 len)
        : data_(len > 0 ? std::make_shared<std::vector<T>>(elements, elements + len) : nullptr) {}
    Sequence(std::initializer_list<T> init)
        : data_(init.size() ? std::make_shared<std::vector<T>>(init) : nullptr) {}
    explicit Sequence(std::vector<T> v) : data_(v.empty() ? nullptr : std::make_shared<std::vector<T>>(std::move(v))) {}

    sal_Int32 getLength() const noexcept { return data_ ? static_cast<sal_Int32>(data_->size()) : 0; }
    bool hasElements() const noexcept { return getLength() != 0; }
    const T* getConstArray() const noexcept { return data_ ? data_->data() : nullptr; }
    const T& operator[](sal_Int32 i) const noexcept { return (*data_)[i]; }
    const T* begin() const noexcept { return getConstArray(); }
    const T* end() const noexcept { return getConstArray() + getLength(); }

    // Writable elements: unshares them first.
    T* getArray() {
        unshare();
        return data_ ? data_->data() : nullptr;
    }
    void realloc(sal_Int32 len) {
        unshare();
        if (len <= 0) {
            data_.reset();
            return;
        }
        if (!data_) data_ = std::make_shared<std::vector<T>>();
        data_->resize(len);
    }

    friend bool operator==(const Sequence& a, const Sequence& b) {
        if (a.data_ == b.data_) return true;
        if (a.getLength() != b.getLength()) return false;
        for (sal_Int32 i = 0; i < a.getLength(); ++i)
            if (!(a[i] == b[i])) return false;
        return true;
    }

    static const Type& static_type();

private:
    void unshare() {
        if (data_ && data_.use_count() > 1) data_ = std::make_shared<std::vector<T>>(*data_);
    }
    std::shared_ptr<std::vector<T>> data_;
};

namespace detail {
SALQX_DLLPUBLIC const TypeDescription* registerSequenceType(const Type& element);
}

template <class T>
const Type& Sequence<T>::static_type() {
    static const Type t(detail::registerSequenceType(cppu::UnoType<T>::get()));
    return t;
}

} // namespace com::qam::vexo::uno

template <class T>
struct cppu::UnoType<::zel::uno::Sequence<T>> {
    static const ::zel::uno::Type& get() { return ::zel::uno::Sequence<T>::static_type(); }
};
