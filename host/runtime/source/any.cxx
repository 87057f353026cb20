#include <zel/uno/Reference.hxx>

namespace com::qam::vexo::uno {

Any::Any() noexcept = default;

void Any::clear() noexcept {
    type_ = Type();
    holder_.reset();
}

void Any::setInterface(const Type& type, XInterface* p) {
    type_ = type;
    holder_ = std::make_shared<detail::AnyHolderT<Reference<XInterface>>>(Reference<XInterface>(p));
}

XInterface* Any::heldInterface() const noexcept {
    if (getValueTypeClass() != TypeClass_INTERFACE || !holder_) return nullptr;
    return static_cast<const Reference<XInterface>*>(holder_->data())->get();
}

bool Any::operator==(const Any& other) const {
    if (!(type_ == other.type_)) return false;
    if (!holder_ || !other.holder_) return !holder_ && !other.holder_;
    return holder_->equals(*other.holder_);
}

bool Any::isExtractableTo(const Type& type) const {
    if (type == type_) return true;
    TypeClass to = type.getTypeClass();
    if (to == TypeClass_ANY) return true;
    if (to == TypeClass_INTERFACE) {
        XInterface* p = heldInterface();
        if (!p) return false;
        XInterface* q = detail::queryInterface(p, type);
        if (!q) return false;
        q->release();
        return true;
    }
    union {
        sal_Int64 i64;
        double d;
        float f;
    } scratch;
    return holder_ && detail::extractInteger(getValueTypeClass(), holder_->data(), to, &scratch);
}

void Any::throwCannotExtract(const Type& held, const Type& wanted) {
    throw RuntimeException(u"cannot extract an Any(" + held.getTypeName() + u") to " + wanted.getTypeName());
}

namespace detail {
namespace {

// The value held under an integral or floating type class, as a wide value.
template <class T>
bool readAs(TypeClass from, const void* data, T& out) {
    switch (from) {
    case TypeClass_BYTE: out = static_cast<T>(*static_cast<const sal_Int8*>(data)); return true;
    case TypeClass_SHORT: out = static_cast<T>(*static_cast<const sal_Int16*>(data)); return true;
    case TypeClass_UNSIGNED_SHORT: out = static_cast<T>(*static_cast<const sal_uInt16*>(data)); return true;
    case TypeClass_LONG: out = static_cast<T>(*static_cast<const sal_Int32*>(data)); return true;
    case TypeClass_UNSIGNED_LONG: out = static_cast<T>(*static_cast<const sal_uInt32*>(data)); return true;
    case TypeClass_HYPER: out = static_cast<T>(*static_cast<const sal_Int64*>(data)); return true;
    case TypeClass_UNSIGNED_HYPER: out = static_cast<T>(*static_cast<const sal_uInt64*>(data)); return true;
    case TypeClass_FLOAT: out = static_cast<T>(*static_cast<const float*>(data)); return true;
    case TypeClass_DOUBLE: out = static_cast<T>(*static_cast<const double*>(data)); return true;
    default: return false;
    }
}

// Which held type classes widen to a target type class.
bool widens(TypeClass from, TypeClass to) {
    auto in = [from](std::initializer_list<TypeClass> l) {
        for (TypeClass c : l)
            if (c == from) return true;
        return false;
    };
    switch (to) {
    case TypeClass_BYTE: return in({TypeClass_BYTE});
    case TypeClass_SHORT:
    case TypeClass_UNSIGNED_SHORT: return in({TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT});
    case TypeClass_LONG:
    case TypeClass_UNSIGNED_LONG:
        return in({TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_LONG, TypeClass_UNSIGNED_LONG});
    case TypeClass_HYPER:
    case TypeClass_UNSIGNED_HYPER:
        return in({TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_LONG, TypeClass_UNSIGNED_LONG,
                   TypeClass_HYPER, TypeClass_UNSIGNED_HYPER});
    case TypeClass_FLOAT: return in({TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_FLOAT});
    case TypeClass_DOUBLE:
        return in({TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_LONG, TypeClass_UNSIGNED_LONG,
                   TypeClass_FLOAT, TypeClass_DOUBLE});
    default: return false;
    }
}

} // namespace

bool extractInteger(TypeClass from, const void* data, TypeClass to, void* out) {
    if (!data || !widens(from, to)) return false;
    switch (to) {
    case TypeClass_BYTE: return readAs(from, data, *static_cast<sal_Int8*>(out));
    case TypeClass_SHORT: return readAs(from, data, *static_cast<sal_Int16*>(out));
    case TypeClass_UNSIGNED_SHORT: return readAs(from, data, *static_cast<sal_uInt16*>(out));
    case TypeClass_LONG: return readAs(from, data, *static_cast<sal_Int32*>(out));
    case TypeClass_UNSIGNED_LONG: return readAs(from, data, *static_cast<sal_uInt32*>(out));
    case TypeClass_HYPER: return readAs(from, data, *static_cast<sal_Int64*>(out));
    case TypeClass_UNSIGNED_HYPER: return readAs(from, data, *static_cast<sal_uInt64*>(out));
    case TypeClass_FLOAT: return readAs(from, data, *static_cast<float*>(out));
    case TypeClass_DOUBLE: return readAs(from, data, *static_cast<double*>(out));
    default: return false;
    }
}

} // namespace detail
} // namespace com::qam::vexo::uno
