#pragma once
// Builders for C-level type descriptions, and the test types that the runtime's
// and the purpose-environment helper's tests share.
//
//   test.uno.Holder     struct { XInterface Obj; long Count; }
//   test.uno.Node       struct { long Value; []test.uno.Node Children; }   (refers to itself)
//   test.uno.Wrapped    struct { []test.uno.Holder Items; }
//   test.uno.XCalc      interface, members in slot order after XInterface's three:
//     long add([in] long a, [in] long b)
//     string describe([in] long n)
//     XInterface echo([in] XInterface x)
//     void swapHolder([inout] test.uno.Holder h) raises Exception
//     void produce([out] XInterface x, [out] long n)
//     void fail([in] string message) raises Exception
//     [attribute] long Value
//     [attribute] XInterface Peer
//     any roundTrip([in] any a)
//   test.uno.XCalc2     interface deriving XCalc: long twice([in] long n)

#include <typelib/typedescription.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport::uno {

// A counted type description (null allowed).
class TypeDescr {
public:
    TypeDescr() = default;
    // Takes over one count.
    explicit TypeDescr(typelib_TypeDescription* td) : td_(td) {}
    TypeDescr(const TypeDescr& o) : td_(o.td_) {
        if (td_ != nullptr) typelib_typedescription_acquire(td_);
    }
    TypeDescr(TypeDescr&& o) noexcept : td_(std::exchange(o.td_, nullptr)) {}
    TypeDescr& operator=(TypeDescr o) noexcept {
        std::swap(td_, o.td_);
        return *this;
    }
    ~TypeDescr() {
        if (td_ != nullptr) typelib_typedescription_release(td_);
    }
    typelib_TypeDescription* get() const { return td_; }
    typelib_InterfaceTypeDescription* iface() const {
        return reinterpret_cast<typelib_InterfaceTypeDescription*>(td_);
    }
    // The member of an interface by its short name (null when absent).
    typelib_TypeDescription* member(std::u16string_view name) const;
    // The description found by name, counted.
    static TypeDescr byName(std::u16string_view name);

private:
    typelib_TypeDescription* td_ = nullptr;
};

// A counted type reference.
class TypeRef {
public:
    TypeRef() = default;
    TypeRef(typelib_TypeClass c, std::u16string_view name);
    explicit TypeRef(const TypeDescr& td) : TypeRef(td.get()->eTypeClass, {td.get()->pTypeName->buffer, std::size_t(td.get()->pTypeName->length)}) {}
    TypeRef(const TypeRef& o) : ref_(o.ref_) {
        if (ref_ != nullptr) typelib_typedescriptionreference_acquire(ref_);
    }
    TypeRef& operator=(const TypeRef&) = delete;
    ~TypeRef() {
        if (ref_ != nullptr) typelib_typedescriptionreference_release(ref_);
    }
    typelib_TypeDescriptionReference* get() const { return ref_; }

private:
    typelib_TypeDescriptionReference* ref_ = nullptr;
};

struct MemberSpec {
    typelib_TypeClass typeClass;
    std::u16string typeName;
    std::u16string name;
};

struct ParamSpec {
    typelib_TypeClass typeClass;
    std::u16string typeName;
    std::u16string name;
    bool in = true;
    bool out = false;
};

// A method (attribute false) or an attribute (params empty; typeClass/typeName
// are the attribute's type) of an interface under construction.
struct InterfaceMemberSpec {
    std::u16string name;
    typelib_TypeClass typeClass;
    std::u16string typeName;
    std::vector<ParamSpec> params = {};
    std::vector<std::u16string> exceptions = {};
    bool attribute = false;
    bool readOnly = false;
};

// Creates and registers; the result holds the description.
TypeDescr makeStruct(typelib_TypeClass cls, std::u16string_view name, const std::vector<MemberSpec>& members,
                     typelib_TypeDescriptionReference* base = nullptr);
TypeDescr makeInterface(std::u16string_view name, const std::vector<InterfaceMemberSpec>& members,
                        typelib_TypeDescriptionReference* base = nullptr);

// The shared test types, registered once and kept for the process.
struct TestTypes {
    TypeDescr holder, node, wrapped, xcalc, xcalc2, xinterface, exception, runtimeException;
    static const TestTypes& get();
};

} // namespace testsupport::uno
