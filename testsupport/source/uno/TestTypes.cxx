#include <testsupport/uno/TestTypes.hxx>

#include <rtl/ustring.hxx>

namespace testsupport::uno {

namespace {
rtl::OUString str(std::u16string_view s) { return rtl::OUString(s); }
} // namespace

typelib_TypeDescription* TypeDescr::member(std::u16string_view name) const {
    auto* i = iface();
    for (sal_Int32 n = 0; n < i->nAllMembers; ++n) {
        auto* m = reinterpret_cast<typelib_InterfaceMemberTypeDescription*>(i->ppAllMembers[n]);
        if (std::u16string_view(m->pMemberName->buffer, std::size_t(m->pMemberName->length)) == name)
            return i->ppAllMembers[n];
    }
    return nullptr;
}

TypeDescr TypeDescr::byName(std::u16string_view name) {
    typelib_TypeDescription* td = nullptr;
    typelib_typedescription_getByName(&td, str(name).pData);
    return TypeDescr(td);
}

TypeRef::TypeRef(typelib_TypeClass c, std::u16string_view name) {
    typelib_typedescriptionreference_new(&ref_, c, str(name).pData);
}

TypeDescr makeStruct(typelib_TypeClass cls, std::u16string_view name, const std::vector<MemberSpec>& members,
                     typelib_TypeDescriptionReference* base) {
    std::vector<rtl::OUString> keep;
    std::vector<typelib_CompoundMember_Init> init;
    keep.reserve(members.size() * 2);
    for (const MemberSpec& m : members) {
        keep.push_back(str(m.typeName));
        keep.push_back(str(m.name));
        init.push_back({m.typeClass, keep[keep.size() - 2].pData, keep.back().pData});
    }
    typelib_TypeDescription* td = nullptr;
    typelib_typedescription_newStruct(&td, cls, str(name).pData, base, sal_Int32(init.size()), init.data());
    if (td != nullptr) typelib_typedescription_register(&td);
    return TypeDescr(td);
}

TypeDescr makeInterface(std::u16string_view name, const std::vector<InterfaceMemberSpec>& members,
                        typelib_TypeDescriptionReference* base) {
    std::vector<TypeDescr> made;
    for (const InterfaceMemberSpec& m : members) {
        rtl::OUString full = str(name) + u"::" + str(m.name);
        typelib_TypeDescription* td = nullptr;
        if (m.attribute) {
            typelib_typedescription_newInterfaceAttribute(&td, full.pData, m.typeClass, str(m.typeName).pData,
                                                          m.readOnly);
        } else {
            std::vector<rtl::OUString> keep;
            keep.reserve(m.params.size() * 2);
            std::vector<typelib_Parameter_Init> params;
            for (const ParamSpec& p : m.params) {
                keep.push_back(str(p.typeName));
                keep.push_back(str(p.name));
                params.push_back({p.typeClass, keep[keep.size() - 2].pData, keep.back().pData, p.in, p.out});
            }
            std::vector<rtl::OUString> exc;
            std::vector<rtl_uString*> excData;
            for (auto& e : m.exceptions) exc.push_back(str(e));
            for (auto& e : exc) excData.push_back(e.pData);
            typelib_typedescription_newInterfaceMethod(&td, full.pData, false, m.typeClass, str(m.typeName).pData,
                                                       sal_Int32(params.size()), params.data(),
                                                       sal_Int32(excData.size()), excData.data());
        }
        made.emplace_back(td);
    }
    std::vector<typelib_TypeDescription*> raw;
    for (auto& t : made) raw.push_back(t.get());
    typelib_TypeDescription* td = nullptr;
    typelib_typedescription_newInterface(&td, str(name).pData, base, sal_Int32(raw.size()), raw.data());
    if (td != nullptr) typelib_typedescription_register(&td);
    return TypeDescr(td);
}

const TestTypes& TestTypes::get() {
    static const TestTypes* types = [] {
        auto* t = new TestTypes;
        const std::u16string xi = u"com.qam.vexo.uno.XInterface";
        const std::u16string exc = u"com.qam.vexo.uno.Exception";
        t->xinterface = TypeDescr::byName(xi);
        t->exception = TypeDescr::byName(exc);
        t->runtimeException = TypeDescr::byName(u"com.qam.vexo.uno.RuntimeException");
        t->holder = makeStruct(typelib_TypeClass_STRUCT, u"test.uno.Holder",
                               {{typelib_TypeClass_INTERFACE, xi, u"Obj"}, {typelib_TypeClass_LONG, u"long", u"Count"}});
        t->node = makeStruct(typelib_TypeClass_STRUCT, u"test.uno.Node",
                             {{typelib_TypeClass_LONG, u"long", u"Value"},
                              {typelib_TypeClass_SEQUENCE, u"[]test.uno.Node", u"Children"}});
        t->wrapped = makeStruct(typelib_TypeClass_STRUCT, u"test.uno.Wrapped",
                                {{typelib_TypeClass_SEQUENCE, u"[]test.uno.Holder", u"Items"}});
        using P = ParamSpec;
        t->xcalc = makeInterface(
            u"test.uno.XCalc",
            {{u"add", typelib_TypeClass_LONG, u"long",
              {P{typelib_TypeClass_LONG, u"long", u"a"}, P{typelib_TypeClass_LONG, u"long", u"b"}}},
             {u"describe", typelib_TypeClass_STRING, u"string", {P{typelib_TypeClass_LONG, u"long", u"n"}}},
             {u"echo", typelib_TypeClass_INTERFACE, xi, {P{typelib_TypeClass_INTERFACE, xi, u"x"}}},
             {u"swapHolder", typelib_TypeClass_VOID, u"void",
              {P{typelib_TypeClass_STRUCT, u"test.uno.Holder", u"h", true, true}}, {exc}},
             {u"produce", typelib_TypeClass_VOID, u"void",
              {P{typelib_TypeClass_INTERFACE, xi, u"x", false, true}, P{typelib_TypeClass_LONG, u"long", u"n", false, true}}},
             {u"fail", typelib_TypeClass_VOID, u"void", {P{typelib_TypeClass_STRING, u"string", u"message"}}, {exc}},
             {u"Value", typelib_TypeClass_LONG, u"long", {}, {}, true},
             {u"Peer", typelib_TypeClass_INTERFACE, xi, {}, {}, true},
             {u"roundTrip", typelib_TypeClass_ANY, u"any", {P{typelib_TypeClass_ANY, u"any", u"a"}}}});
        TypeRef calcRef(t->xcalc);
        t->xcalc2 = makeInterface(u"test.uno.XCalc2",
                                  {{u"twice", typelib_TypeClass_LONG, u"long", {P{typelib_TypeClass_LONG, u"long", u"n"}}}},
                                  calcRef.get());
        return t;
    }();
    return *types;
}

} // namespace testsupport::uno
