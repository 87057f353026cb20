// The C-level type library: layouts, members, references, registration,
// completion through providers and temporary access.

#include <testsupport/uno/TestTypes.hxx>

#include <rtl/ustring.hxx>
#include <uno/data.h>

#include <gtest/gtest.h>

namespace {

using namespace testsupport::uno;

std::string nameOf(const typelib_TypeDescription* td) { return rtl::OUString(td->pTypeName).toUtf8().getStr(); }

TEST(TypeLibrary, BuiltInTypesHaveTheirNamesAndLayouts) {
    struct Case {
        typelib_TypeClass cls;
        const char* name;
        sal_Int32 size, align;
    } cases[] = {
        {typelib_TypeClass_VOID, "void", 0, 1},         {typelib_TypeClass_CHAR, "char", 2, 2},
        {typelib_TypeClass_BOOLEAN, "boolean", 1, 1},   {typelib_TypeClass_BYTE, "byte", 1, 1},
        {typelib_TypeClass_SHORT, "short", 2, 2},       {typelib_TypeClass_UNSIGNED_SHORT, "unsigned short", 2, 2},
        {typelib_TypeClass_LONG, "long", 4, 4},         {typelib_TypeClass_UNSIGNED_LONG, "unsigned long", 4, 4},
        {typelib_TypeClass_HYPER, "hyper", 8, 8},       {typelib_TypeClass_UNSIGNED_HYPER, "unsigned hyper", 8, 8},
        {typelib_TypeClass_FLOAT, "float", 4, 4},       {typelib_TypeClass_DOUBLE, "double", 8, 8},
        {typelib_TypeClass_STRING, "string", 8, 8},     {typelib_TypeClass_TYPE, "type", 8, 8},
        {typelib_TypeClass_ANY, "any", sal_Int32(sizeof(uno_Any)), 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        typelib_TypeDescriptionReference* ref = typelib_static_type_getByTypeClass(c.cls);
        ASSERT_NE(ref, nullptr);
        EXPECT_EQ(rtl::OUString(ref->pTypeName), rtl::OUString::fromUtf8(c.name));
        typelib_TypeDescription* td = nullptr;
        EXPECT_FALSE(typelib_typedescriptionreference_getTemporary(&td, ref));  // held and complete: no count
        EXPECT_EQ(td->eTypeClass, c.cls);
        EXPECT_EQ(td->nSize, c.size);
        EXPECT_EQ(td->nAlignment, c.align);
    }
}

TEST(TypeLibrary, StructsAndExceptionsLayTheirBaseOutFirst) {
    const TestTypes& t = TestTypes::get();
    struct Case {
        const TypeDescr* td;
        const char* name;
        sal_Int32 size;
        std::vector<sal_Int32> offsets;
        const char* base;
    } cases[] = {
        {&t.holder, "test.uno.Holder", 16, {0, 8}, nullptr},
        {&t.exception, "com.qam.vexo.uno.Exception", 16, {0, 8}, nullptr},
        {&t.runtimeException, "com.qam.vexo.uno.RuntimeException", 16, {}, "com.qam.vexo.uno.Exception"},
        {&t.node, "test.uno.Node", 16, {0, 8}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* cd = reinterpret_cast<typelib_CompoundTypeDescription*>(c.td->get());
        EXPECT_EQ(nameOf(c.td->get()), c.name);
        EXPECT_EQ(cd->aBase.nSize, c.size);
        EXPECT_EQ(std::vector<sal_Int32>(cd->pMemberOffsets, cd->pMemberOffsets + cd->nMembers), c.offsets);
        if (c.base == nullptr)
            EXPECT_EQ(cd->pBaseTypeDescription, nullptr);
        else
            EXPECT_EQ(nameOf(&cd->pBaseTypeDescription->aBase), c.base);
    }
    // A struct laid out after a narrower member: padding to the next member's alignment.
    TypeDescr mixed = makeStruct(typelib_TypeClass_STRUCT, u"test.uno.Mixed",
                                 {{typelib_TypeClass_BYTE, u"byte", u"B"},
                                  {typelib_TypeClass_DOUBLE, u"double", u"D"},
                                  {typelib_TypeClass_SHORT, u"short", u"S"}});
    auto* cd = reinterpret_cast<typelib_CompoundTypeDescription*>(mixed.get());
    EXPECT_EQ(std::vector<sal_Int32>(cd->pMemberOffsets, cd->pMemberOffsets + 3), (std::vector<sal_Int32>{0, 8, 16}));
    EXPECT_EQ(mixed.get()->nSize, 24);
    // A member struct that nobody knows: no description.
    EXPECT_EQ(makeStruct(typelib_TypeClass_STRUCT, u"test.uno.Broken",
                         {{typelib_TypeClass_STRUCT, u"test.uno.Unknown", u"U"}})
                  .get(),
              nullptr);
}

TEST(TypeLibrary, InterfacesListTheirMembersInSlotOrderAfterXInterface) {
    const TestTypes& t = TestTypes::get();
    auto* xi = t.xinterface.iface();
    ASSERT_EQ(xi->nAllMembers, 3);
    const char* xiNames[] = {"com.qam.vexo.uno.XInterface::queryInterface", "com.qam.vexo.uno.XInterface::acquire",
                             "com.qam.vexo.uno.XInterface::release"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(nameOf(xi->ppAllMembers[i]), xiNames[i]);

    auto* calc = t.xcalc2.iface();
    EXPECT_EQ(nameOf(&calc->pBaseTypeDescription->aBase), "test.uno.XCalc");
    const std::vector<std::string> expected{
        "com.qam.vexo.uno.XInterface::queryInterface", "com.qam.vexo.uno.XInterface::acquire",
        "com.qam.vexo.uno.XInterface::release",         "test.uno.XCalc::add",
        "test.uno.XCalc::describe",                     "test.uno.XCalc::echo",
        "test.uno.XCalc::swapHolder",                   "test.uno.XCalc::produce",
        "test.uno.XCalc::fail",                         "test.uno.XCalc::Value",
        "test.uno.XCalc::Peer",                         "test.uno.XCalc::roundTrip",
        "test.uno.XCalc2::twice"};
    ASSERT_EQ(calc->nAllMembers, sal_Int32(expected.size()));
    for (sal_Int32 i = 0; i < calc->nAllMembers; ++i) {
        EXPECT_EQ(nameOf(calc->ppAllMembers[i]), expected[std::size_t(i)]);
        EXPECT_EQ(reinterpret_cast<typelib_InterfaceMemberTypeDescription*>(calc->ppAllMembers[i])->nPosition, i);
    }
    // Members are found by their full name too.
    EXPECT_EQ(TypeDescr::byName(u"test.uno.XCalc::produce").get(), t.xcalc.member(u"produce"));

    auto* produce = reinterpret_cast<typelib_InterfaceMethodTypeDescription*>(t.xcalc.member(u"produce"));
    ASSERT_EQ(produce->nParams, 2);
    EXPECT_FALSE(produce->pParams[0].bIn);
    EXPECT_TRUE(produce->pParams[0].bOut);
    EXPECT_EQ(rtl::OUString(produce->pParams[0].pName), u"x");
    auto* swap = reinterpret_cast<typelib_InterfaceMethodTypeDescription*>(t.xcalc.member(u"swapHolder"));
    EXPECT_TRUE(swap->pParams[0].bIn && swap->pParams[0].bOut);
    ASSERT_EQ(swap->nExceptions, 1);
    EXPECT_EQ(rtl::OUString(swap->ppExceptions[0]->pTypeName), u"com.qam.vexo.uno.Exception");
    auto* value = reinterpret_cast<typelib_InterfaceAttributeTypeDescription*>(t.xcalc.member(u"Value"));
    EXPECT_EQ(value->aBase.aBase.eTypeClass, typelib_TypeClass_INTERFACE_ATTRIBUTE);
    EXPECT_FALSE(value->bReadOnly);
    EXPECT_EQ(rtl::OUString(value->pAttributeTypeRef->pTypeName), u"long");
}

TEST(TypeLibrary, ADescriptionGoesWithItsLastReference) {
    const rtl::OUString name(u"test.uno.Passing");
    typelib_TypeDescriptionReference* ref = nullptr;
    {
        TypeDescr td = makeStruct(typelib_TypeClass_STRUCT, name.view(), {{typelib_TypeClass_LONG, u"long", u"N"}});
        typelib_typedescriptionreference_new(&ref, typelib_TypeClass_STRUCT, name.pData);
        EXPECT_EQ(ref->pType.load(), td.get());
    }
    EXPECT_NE(TypeDescr::byName(name.view()).get(), nullptr);  // the reference holds it
    typelib_TypeDescriptionReference* second = nullptr;
    typelib_typedescriptionreference_new(&second, typelib_TypeClass_STRUCT, name.pData);
    EXPECT_EQ(second, ref);  // one reference per name, counted
    EXPECT_EQ(ref->nRefCount.load(), 2);
    typelib_typedescriptionreference_release(second);
    typelib_typedescriptionreference_release(ref);
    EXPECT_EQ(TypeDescr::byName(name.view()).get(), nullptr);
}

int g_asked = 0;
void provideSoon(void*, typelib_TypeDescription** ppRet, rtl_uString* name) {
    ++g_asked;
    if (rtl::OUString(name) != u"test.uno.XSoon") return;
    TypeDescr td = makeInterface(u"test.uno.XSoon", {{u"ping", typelib_TypeClass_VOID, u"void"}});
    typelib_typedescription_acquire(td.get());
    *ppRet = td.get();
}

TEST(TypeLibrary, IncompleteDescriptionsAreCompletedThroughProviders) {
    typelib_TypeDescription* td = nullptr;
    const rtl::OUString name(u"test.uno.XSoon");
    typelib_typedescription_newIncomplete(&td, typelib_TypeClass_INTERFACE, name.pData);
    EXPECT_FALSE(td->bComplete);
    EXPECT_FALSE(typelib_typedescription_complete(&td));
    EXPECT_FALSE(td->bComplete);

    g_asked = 0;
    typelib_typedescription_registerCallback(nullptr, provideSoon);
    typelib_TypeDescription* before = td;
    EXPECT_TRUE(typelib_typedescription_complete(&td));
    EXPECT_NE(td, before);
    EXPECT_TRUE(td->bComplete);
    EXPECT_EQ(reinterpret_cast<typelib_InterfaceTypeDescription*>(td)->nAllMembers, 4);
    EXPECT_EQ(g_asked, 1);
    // A temporary look through a reference that holds no description asks the
    // library and hands out a counted one.
    TypeRef ref(typelib_TypeClass_INTERFACE, u"test.uno.XSoon");
    typelib_TypeDescription* temp = nullptr;
    const bool owned = typelib_typedescriptionreference_getTemporary(&temp, ref.get());
    EXPECT_EQ(temp, td);
    if (owned) typelib_typedescription_release(temp);
    typelib_typedescription_revokeCallback(nullptr, provideSoon);
    typelib_typedescription_release(td);
}

TEST(TypeLibrary, SequenceDescriptionsAreMadeFromTheirNames) {
    TestTypes::get();
    struct Case {
        const char16_t* name;
        const char16_t* element;  // null: no description
    } cases[] = {{u"[]long", u"long"},
                 {u"[][]string", u"[]string"},
                 {u"[]test.uno.Holder", u"test.uno.Holder"},
                 {u"[]test.uno.Nothing", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(rtl::OUString(std::u16string_view(c.name)).toUtf8().getStr());
        TypeDescr td = TypeDescr::byName(c.name);
        if (c.element == nullptr) {
            EXPECT_EQ(td.get(), nullptr);
            continue;
        }
        ASSERT_NE(td.get(), nullptr);
        EXPECT_EQ(td.get()->eTypeClass, typelib_TypeClass_SEQUENCE);
        EXPECT_EQ(td.get()->nSize, 8);
        EXPECT_EQ(rtl::OUString(reinterpret_cast<typelib_IndirectTypeDescription*>(td.get())->pType->pTypeName),
                  std::u16string_view(c.element));
    }
}

} // namespace
