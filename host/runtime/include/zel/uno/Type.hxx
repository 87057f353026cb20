#pragma once
// Types of the runtime: a type class and a dotted type name for every type that
// crosses an interface.  cppu::UnoType<T>::get() gives the Type of T.

#include <rtl/ustring.hxx>

namespace com::qam::vexo::uno {

enum TypeClass {
    TypeClass_VOID,
    TypeClass_CHAR,
    TypeClass_BOOLEAN,
    TypeClass_BYTE,
    TypeClass_SHORT,
    TypeClass_UNSIGNED_SHORT,
    TypeClass_LONG,
    TypeClass_UNSIGNED_LONG,
    TypeClass_HYPER,
    TypeClass_UNSIGNED_HYPER,
    TypeClass_FLOAT,
    TypeClass_DOUBLE,
    TypeClass_STRING,
    TypeClass_TYPE,
    TypeClass_ANY,
    TypeClass_ENUM,
    TypeClass_STRUCT,
    TypeClass_EXCEPTION,
    TypeClass_SEQUENCE,
    TypeClass_INTERFACE
};

class XInterface;

// What the runtime knows of a type.  Descriptions are created once per type and
// live for the whole process, so a Type is a cheap pointer.
struct TypeDescription {
    TypeClass typeClass;
    OUString name;
    // Interfaces only: the object's interface of this type, or nullptr.
    XInterface* (*castInterface)(XInterface*) = nullptr;
};

class SALQX_DLLPUBLIC Type {
public:
    Type() noexcept;  // void
    explicit Type(const TypeDescription* d) noexcept : desc_(d) {}
    // A type known only by class and name (e.g. from a type library).
    Type(TypeClass typeClass, const OUString& name);

    TypeClass getTypeClass() const noexcept { return desc_->typeClass; }
    const OUString& getTypeName() const noexcept { return desc_->name; }
    const TypeDescription* getDescription() const noexcept { return desc_; }
    bool equals(const Type& t) const noexcept { return desc_ == t.desc_ || desc_->name == t.desc_->name; }
    friend bool operator==(const Type& a, const Type& b) noexcept { return a.equals(b); }

private:
    const TypeDescription* desc_;
};

// Registers (once) and returns the description of a type.
SALQX_DLLPUBLIC const TypeDescription* registerType(TypeClass typeClass, const char16_t* name,
                                                    XInterface* (*castInterface)(XInterface*) = nullptr);

} // namespace com::qam::vexo::uno

namespace zel {
namespace uno = ::com::qam::vexo::uno;
}

namespace cppu {

// Specialised for every type that can cross an interface.  Interfaces are
// handled by their static_type(); structs and enums by ZEL_UNO_DECLARE_TYPE.
template <class T>
struct UnoType {
    static const ::zel::uno::Type& get() { return T::static_type(); }
};

#define ZEL_UNO_DETAIL_PRIMITIVE(T, cls, nm)                                          \
    template <>                                                                         \
    struct UnoType<T> {                                                                 \
        static const ::zel::uno::Type& get() {                                          \
            static const ::zel::uno::Type t(::zel::uno::registerType(::zel::uno::cls, nm)); \
            return t;                                                                   \
        }                                                                               \
    };

ZEL_UNO_DETAIL_PRIMITIVE(void, TypeClass_VOID, u"void")
ZEL_UNO_DETAIL_PRIMITIVE(bool, TypeClass_BOOLEAN, u"boolean")
ZEL_UNO_DETAIL_PRIMITIVE(sal_Unicode, TypeClass_CHAR, u"char")
ZEL_UNO_DETAIL_PRIMITIVE(sal_Int8, TypeClass_BYTE, u"byte")
ZEL_UNO_DETAIL_PRIMITIVE(sal_Int16, TypeClass_SHORT, u"short")
ZEL_UNO_DETAIL_PRIMITIVE(sal_uInt16, TypeClass_UNSIGNED_SHORT, u"unsigned short")
ZEL_UNO_DETAIL_PRIMITIVE(sal_Int32, TypeClass_LONG, u"long")
ZEL_UNO_DETAIL_PRIMITIVE(sal_uInt32, TypeClass_UNSIGNED_LONG, u"unsigned long")
ZEL_UNO_DETAIL_PRIMITIVE(sal_Int64, TypeClass_HYPER, u"hyper")
ZEL_UNO_DETAIL_PRIMITIVE(sal_uInt64, TypeClass_UNSIGNED_HYPER, u"unsigned hyper")
ZEL_UNO_DETAIL_PRIMITIVE(float, TypeClass_FLOAT, u"float")
ZEL_UNO_DETAIL_PRIMITIVE(double, TypeClass_DOUBLE, u"double")
ZEL_UNO_DETAIL_PRIMITIVE(rtl::OUString, TypeClass_STRING, u"string")
ZEL_UNO_DETAIL_PRIMITIVE(::zel::uno::Type, TypeClass_TYPE, u"type")

} // namespace cppu

// Declares the type of a struct, enum or exception by its dotted name, at namespace scope:
//   ZEL_UNO_DECLARE_TYPE(com::qam::vexo::beans::PropertyValue, STRUCT, "com.qam.vexo.beans.PropertyValue")
#define ZEL_UNO_DECLARE_TYPE(T, cls, nm)                                                   \
    template <>                                                                              \
    struct cppu::UnoType<T> {                                                                \
        static const ::zel::uno::Type& get() {                                               \
            static const ::zel::uno::Type t(::zel::uno::registerType(::zel::uno::TypeClass_##cls, u"" nm)); \
            return t;                                                                        \
        }                                                                                    \
    };
