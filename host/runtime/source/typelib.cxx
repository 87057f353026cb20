// The runtime's C-level type library: descriptions, references, the registry
// by name, providers and the built-in types.
//
// One mutex guards the two name tables and the provider list.  The tables do
// not count what they hold: a description or reference leaves its table when
// its count reaches zero, and a lookup that meets one already at zero treats
// it as absent.  Providers are called with no lock held.

#include <typelib/typedescription.h>

#include <rtl/ustring.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct Registry {
    std::mutex mutex;
    std::unordered_map<std::u16string, typelib_TypeDescription*> descriptions;
    std::unordered_map<std::u16string, typelib_TypeDescriptionReference*> references;
    std::vector<std::pair<void*, typelib_typedescription_Callback*>> providers;
    // Incomplete descriptions that references held before they learnt the
    // complete one; kept because lock-free readers may still look at them.
    std::vector<typelib_TypeDescription*> retired;
};

Registry& reg() {
    static Registry* r = new Registry;  // lives as long as the process
    return *r;
}

std::u16string key(const rtl_uString* s) { return std::u16string(s->buffer, static_cast<std::size_t>(s->length)); }

rtl_uString* newStr(std::u16string_view s) {
    return rtl_uString_newFromStr(s.data(), static_cast<sal_Int32>(s.size()));
}

template <class T>
bool tryAcquire(T* p) {
    sal_Int32 n = p->nRefCount.load(std::memory_order_relaxed);
    while (n > 0)
        if (p->nRefCount.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel)) return true;
    return false;
}

const char16_t* const kSimpleNames[] = {u"void",          u"char",  u"boolean",        u"byte",
                                        u"short",         u"unsigned short",           u"long",
                                        u"unsigned long", u"hyper", u"unsigned hyper", u"float",
                                        u"double",        u"string", u"type",          u"any"};

// Size and alignment of a value of class c; structs and exceptions need their
// description.
bool layoutOf(typelib_TypeClass c, rtl_uString* name, sal_Int32& size, sal_Int32& align);

void freeDescription(typelib_TypeDescription* td);

typelib_TypeDescription* lookupLocked(Registry& r, const std::u16string& name) {
    auto it = r.descriptions.find(name);
    if (it == r.descriptions.end() || !tryAcquire(it->second)) return nullptr;
    return it->second;
}

typelib_TypeDescriptionReference* newRefImpl(typelib_TypeClass c, rtl_uString* name) {
    Registry& r = reg();
    std::u16string k = key(name);
    std::lock_guard g(r.mutex);
    auto it = r.references.find(k);
    if (it != r.references.end() && tryAcquire(it->second)) {
        // A reference made before its description was registered learns it now.
        typelib_TypeDescriptionReference* ref = it->second;
        if (ref->pType.load(std::memory_order_acquire) == nullptr) {
            typelib_TypeDescription* td = lookupLocked(r, k);
            typelib_TypeDescription* expected = nullptr;
            if (td != nullptr && !ref->pType.compare_exchange_strong(expected, td)) {
                // Set meanwhile by a lookup, which holds its own count.
                td->nRefCount.fetch_sub(1);
            }
        }
        return ref;
    }
    auto* ref = new typelib_TypeDescriptionReference{};
    ref->nRefCount.store(1);
    ref->eTypeClass = c;
    ref->pTypeName = name;
    rtl_uString_acquire(name);
    ref->pType.store(lookupLocked(r, k));
    r.references[k] = ref;
    return ref;
}

typelib_TypeDescriptionReference* newRefAscii(typelib_TypeClass c, std::u16string_view name) {
    rtl_uString* s = newStr(name);
    typelib_TypeDescriptionReference* ref = newRefImpl(c, s);
    rtl_uString_release(s);
    return ref;
}

void registerImpl(typelib_TypeDescription** ppNew);

// Counted description of that name, through providers and sequence synthesis.
typelib_TypeDescription* getByNameImpl(rtl_uString* name) {
    Registry& r = reg();
    std::u16string k = key(name);
    typelib_TypeDescription* found;
    std::vector<std::pair<void*, typelib_typedescription_Callback*>> providers;
    {
        std::lock_guard g(r.mutex);
        found = lookupLocked(r, k);
        if (found != nullptr && found->bComplete) return found;
        providers = r.providers;
    }
    for (auto& [ctx, cb] : providers) {
        typelib_TypeDescription* p = nullptr;
        cb(ctx, &p, name);
        if (p == nullptr) continue;
        if (!p->bComplete || key(p->pTypeName) != k) {
            typelib_typedescription_release(p);
            continue;
        }
        registerImpl(&p);
        if (found != nullptr) typelib_typedescription_release(found);
        return p;
    }
    if (found != nullptr) return found;
    if (k.starts_with(u"[]")) {
        typelib_TypeDescription* elem = nullptr;
        typelib_TypeClass ec = typelib_TypeClass_VOID;
        std::u16string_view en = std::u16string_view(k).substr(2);
        bool known = false;
        for (int i = 0; i < int(SAL_N_ELEMENTS(kSimpleNames)); ++i)
            if (en == kSimpleNames[i]) {
                ec = typelib_TypeClass(i);
                known = true;
            }
        if (!known && en.starts_with(u"[]")) {
            ec = typelib_TypeClass_SEQUENCE;
            known = true;
        }
        if (!known) {
            rtl_uString* es = newStr(en);
            elem = getByNameImpl(es);
            rtl_uString_release(es);
            if (elem == nullptr) return nullptr;
            ec = elem->eTypeClass;
            typelib_typedescription_release(elem);
        }
        if (ec == typelib_TypeClass_VOID) return nullptr;
        typelib_TypeDescriptionReference* er = newRefAscii(ec, en);
        typelib_TypeDescription* seq = nullptr;
        typelib_typedescription_newSequence(&seq, er);
        typelib_typedescriptionreference_release(er);
        registerImpl(&seq);
        return seq;
    }
    return nullptr;
}

void registerImpl(typelib_TypeDescription** ppNew) {
    Registry& r = reg();
    typelib_TypeDescription* td = *ppNew;
    std::u16string k = key(td->pTypeName);
    typelib_TypeDescription* drop = nullptr;
    {
        std::lock_guard g(r.mutex);
        typelib_TypeDescription* existing = lookupLocked(r, k);
        if (existing == td) {
            drop = existing;  // the count lookupLocked took
        } else if (existing != nullptr && existing->bComplete) {
            drop = td;
            *ppNew = existing;
        } else {
            r.descriptions[k] = td;
            drop = existing;
        }
    }
    if (drop != nullptr) typelib_typedescription_release(drop);
}

typelib_TypeDescription* getDescriptionImpl(typelib_TypeDescriptionReference* ref) {
    typelib_TypeDescription* held = ref->pType.load(std::memory_order_acquire);
    if (held != nullptr && held->bComplete) {
        typelib_typedescription_acquire(held);
        return held;
    }
    typelib_TypeDescription* d = getByNameImpl(ref->pTypeName);
    if (d == nullptr) {
        if (held == nullptr) return nullptr;
        typelib_typedescription_acquire(held);  // the incomplete one is all there is
        return held;
    }
    if (held == nullptr || (!held->bComplete && d->bComplete)) {
        typelib_typedescription_acquire(d);
        if (ref->pType.compare_exchange_strong(held, d, std::memory_order_acq_rel)) {
            if (held != nullptr) {
                std::lock_guard g(reg().mutex);
                reg().retired.push_back(held);
            }
        } else {
            typelib_typedescription_release(d);
        }
    }
    return d;
}

bool layoutOf(typelib_TypeClass c, rtl_uString* name, sal_Int32& size, sal_Int32& align) {
    switch (c) {
    case typelib_TypeClass_VOID: size = 0; align = 1; return true;
    case typelib_TypeClass_BOOLEAN:
    case typelib_TypeClass_BYTE: size = align = 1; return true;
    case typelib_TypeClass_CHAR:
    case typelib_TypeClass_SHORT:
    case typelib_TypeClass_UNSIGNED_SHORT: size = align = 2; return true;
    case typelib_TypeClass_LONG:
    case typelib_TypeClass_UNSIGNED_LONG:
    case typelib_TypeClass_FLOAT:
    case typelib_TypeClass_ENUM: size = align = 4; return true;
    case typelib_TypeClass_HYPER:
    case typelib_TypeClass_UNSIGNED_HYPER:
    case typelib_TypeClass_DOUBLE:
    case typelib_TypeClass_STRING:
    case typelib_TypeClass_TYPE:
    case typelib_TypeClass_SEQUENCE:
    case typelib_TypeClass_INTERFACE: size = align = 8; return true;
    case typelib_TypeClass_ANY: size = 3 * 8; align = 8; return true;
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        typelib_TypeDescription* td = getByNameImpl(name);
        bool ok = td != nullptr && td->bComplete && td->eTypeClass == c;
        if (ok) {
            size = td->nSize;
            align = td->nAlignment;
        }
        if (td != nullptr) typelib_typedescription_release(td);
        return ok;
    }
    case typelib_TypeClass_INTERFACE_METHOD:
    case typelib_TypeClass_INTERFACE_ATTRIBUTE: return false;
    }
    return false;
}

void initBase(typelib_TypeDescription& b, typelib_TypeClass c, rtl_uString* name, sal_Int32 size, sal_Int32 align) {
    b.nRefCount.store(1);
    b.eTypeClass = c;
    b.pTypeName = name;
    rtl_uString_acquire(name);
    b.nSize = size;
    b.nAlignment = align;
    b.bComplete = true;
}

void replace(typelib_TypeDescription** ppRet, typelib_TypeDescription* td) {
    if (*ppRet != nullptr) typelib_typedescription_release(*ppRet);
    *ppRet = td;
}

void freeDescription(typelib_TypeDescription* td) {
    switch (td->eTypeClass) {
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(td);
        if (c->pBaseTypeDescription != nullptr) typelib_typedescription_release(&c->pBaseTypeDescription->aBase);
        for (sal_Int32 i = 0; i < c->nMembers; ++i) {
            typelib_typedescriptionreference_release(c->ppTypeRefs[i]);
            rtl_uString_release(c->ppMemberNames[i]);
        }
        delete[] c->pMemberOffsets;
        delete[] c->ppTypeRefs;
        delete[] c->ppMemberNames;
        rtl_uString_release(td->pTypeName);
        delete c;
        return;
    }
    case typelib_TypeClass_ENUM: {
        auto* e = reinterpret_cast<typelib_EnumTypeDescription*>(td);
        for (sal_Int32 i = 0; i < e->nEnumValues; ++i) rtl_uString_release(e->ppEnumNames[i]);
        delete[] e->ppEnumNames;
        delete[] e->pEnumValues;
        rtl_uString_release(td->pTypeName);
        delete e;
        return;
    }
    case typelib_TypeClass_SEQUENCE: {
        auto* s = reinterpret_cast<typelib_IndirectTypeDescription*>(td);
        if (s->pType != nullptr) typelib_typedescriptionreference_release(s->pType);
        rtl_uString_release(td->pTypeName);
        delete s;
        return;
    }
    case typelib_TypeClass_INTERFACE: {
        auto* i = reinterpret_cast<typelib_InterfaceTypeDescription*>(td);
        if (i->pBaseTypeDescription != nullptr) typelib_typedescription_release(&i->pBaseTypeDescription->aBase);
        for (sal_Int32 n = 0; n < i->nAllMembers; ++n) typelib_typedescription_release(i->ppAllMembers[n]);
        delete[] i->ppAllMembers;
        rtl_uString_release(td->pTypeName);
        delete i;
        return;
    }
    case typelib_TypeClass_INTERFACE_METHOD: {
        auto* m = reinterpret_cast<typelib_InterfaceMethodTypeDescription*>(td);
        typelib_typedescriptionreference_release(m->pReturnTypeRef);
        for (sal_Int32 n = 0; n < m->nParams; ++n) {
            rtl_uString_release(m->pParams[n].pName);
            typelib_typedescriptionreference_release(m->pParams[n].pTypeRef);
        }
        for (sal_Int32 n = 0; n < m->nExceptions; ++n) typelib_typedescriptionreference_release(m->ppExceptions[n]);
        delete[] m->pParams;
        delete[] m->ppExceptions;
        rtl_uString_release(m->aBase.pMemberName);
        rtl_uString_release(td->pTypeName);
        delete m;
        return;
    }
    case typelib_TypeClass_INTERFACE_ATTRIBUTE: {
        auto* a = reinterpret_cast<typelib_InterfaceAttributeTypeDescription*>(td);
        typelib_typedescriptionreference_release(a->pAttributeTypeRef);
        rtl_uString_release(a->aBase.pMemberName);
        rtl_uString_release(td->pTypeName);
        delete a;
        return;
    }
    default:
        rtl_uString_release(td->pTypeName);
        delete td;
        return;
    }
}

rtl_uString* memberNameOf(rtl_uString* fullName) {
    std::u16string_view v(fullName->buffer, static_cast<std::size_t>(fullName->length));
    std::size_t pos = v.rfind(u"::");
    return newStr(pos == std::u16string_view::npos ? v : v.substr(pos + 2));
}

// --- built-ins ---------------------------------------------------------------

struct Builtins {
    typelib_TypeDescriptionReference* simple[SAL_N_ELEMENTS(kSimpleNames)];
    typelib_TypeDescriptionReference* xinterface;
    typelib_TypeDescriptionReference* exception;
    typelib_TypeDescriptionReference* runtimeException;
};

typelib_TypeDescriptionReference* holdAndRegister(typelib_TypeDescription* td) {
    registerImpl(&td);
    typelib_TypeDescriptionReference* ref = newRefImpl(td->eTypeClass, td->pTypeName);
    typelib_typedescription_release(td);
    return ref;
}

thread_local bool t_building = false;

Builtins* makeBuiltins() {
    t_building = true;
    auto* b = new Builtins;
    for (std::size_t i = 0; i < SAL_N_ELEMENTS(kSimpleNames); ++i) {
        auto c = typelib_TypeClass(i);
        auto* td = new typelib_TypeDescription{};
        sal_Int32 size = 0, align = 1;
        layoutOf(c, nullptr, size, align);
        rtl_uString* name = newStr(kSimpleNames[i]);
        initBase(*td, c, name, size, align);
        rtl_uString_release(name);
        b->simple[i] = holdAndRegister(td);
    }
    // XInterface: queryInterface, acquire, release.
    rtl_uString* ifaceName = newStr(u"com.qam.vexo.uno.XInterface");
    rtl_uString* anyName = newStr(u"any");
    rtl_uString* voidName = newStr(u"void");
    rtl_uString* typeName = newStr(u"type");
    rtl_uString* aType = newStr(u"aType");
    rtl_uString* rtName = newStr(u"com.qam.vexo.uno.RuntimeException");
    rtl_uString* names[3] = {newStr(u"com.qam.vexo.uno.XInterface::queryInterface"),
                             newStr(u"com.qam.vexo.uno.XInterface::acquire"),
                             newStr(u"com.qam.vexo.uno.XInterface::release")};
    typelib_TypeDescription* members[3] = {};
    typelib_Parameter_Init qp{typelib_TypeClass_TYPE, typeName, aType, true, false};
    typelib_typedescription_newInterfaceMethod(&members[0], names[0], false, typelib_TypeClass_ANY, anyName, 1, &qp,
                                               1, &rtName);
    typelib_typedescription_newInterfaceMethod(&members[1], names[1], true, typelib_TypeClass_VOID, voidName, 0,
                                               nullptr, 0, nullptr);
    typelib_typedescription_newInterfaceMethod(&members[2], names[2], true, typelib_TypeClass_VOID, voidName, 0,
                                               nullptr, 0, nullptr);
    auto* xi = new typelib_InterfaceTypeDescription{};
    initBase(xi->aBase, typelib_TypeClass_INTERFACE, ifaceName, 8, 8);
    xi->nMembers = xi->nAllMembers = 3;
    xi->ppAllMembers = new typelib_TypeDescription*[3];
    for (int i = 0; i < 3; ++i) {
        reinterpret_cast<typelib_InterfaceMemberTypeDescription*>(members[i])->nPosition = i;
        xi->ppAllMembers[i] = members[i];
        registerImpl(&members[i]);
    }
    b->xinterface = holdAndRegister(&xi->aBase);
    // Exception (Message, Context) and RuntimeException.
    rtl_uString* excName = newStr(u"com.qam.vexo.uno.Exception");
    rtl_uString* stringName = newStr(u"string");
    rtl_uString* message = newStr(u"Message");
    rtl_uString* context = newStr(u"Context");
    typelib_CompoundMember_Init em[2] = {{typelib_TypeClass_STRING, stringName, message},
                                         {typelib_TypeClass_INTERFACE, ifaceName, context}};
    typelib_TypeDescription* exc = nullptr;
    typelib_typedescription_newStruct(&exc, typelib_TypeClass_EXCEPTION, excName, nullptr, 2, em);
    b->exception = holdAndRegister(exc);
    typelib_TypeDescription* rt = nullptr;
    typelib_typedescription_newStruct(&rt, typelib_TypeClass_EXCEPTION, rtName, b->exception, 0, nullptr);
    b->runtimeException = holdAndRegister(rt);
    for (rtl_uString* s : {ifaceName, anyName, voidName, typeName, aType, rtName, names[0], names[1], names[2],
                           excName, stringName, message, context})
        rtl_uString_release(s);
    t_building = false;
    return b;
}

Builtins& builtins() {
    static Builtins* b = makeBuiltins();
    return *b;
}

void ensure() {
    if (!t_building) (void)builtins();
}

} // namespace

extern "C" {

void typelib_typedescription_newStruct(typelib_TypeDescription** ppRet, typelib_TypeClass eTypeClass,
                                       rtl_uString* pTypeName, typelib_TypeDescriptionReference* pBaseType,
                                       sal_Int32 nMembers, const typelib_CompoundMember_Init* pMembers) {
    ensure();
    typelib_CompoundTypeDescription* base = nullptr;
    if (pBaseType != nullptr) {
        typelib_TypeDescription* b = getDescriptionImpl(pBaseType);
        if (b == nullptr || !b->bComplete || b->eTypeClass != eTypeClass) {
            if (b != nullptr) typelib_typedescription_release(b);
            replace(ppRet, nullptr);
            return;
        }
        base = reinterpret_cast<typelib_CompoundTypeDescription*>(b);
    }
    sal_Int32 offset = base ? base->aBase.nSize : 0;
    sal_Int32 maxAlign = base ? base->aBase.nAlignment : 1;
    std::vector<sal_Int32> offsets;
    for (sal_Int32 i = 0; i < nMembers; ++i) {
        sal_Int32 size = 0, align = 1;
        if (!layoutOf(pMembers[i].eTypeClass, pMembers[i].pTypeName, size, align)) {
            if (base != nullptr) typelib_typedescription_release(&base->aBase);
            replace(ppRet, nullptr);
            return;
        }
        offset = (offset + align - 1) / align * align;
        offsets.push_back(offset);
        offset += size;
        maxAlign = std::max(maxAlign, align);
    }
    auto* c = new typelib_CompoundTypeDescription{};
    initBase(c->aBase, eTypeClass, pTypeName, (offset + maxAlign - 1) / maxAlign * maxAlign, maxAlign);
    c->pBaseTypeDescription = base;
    c->nMembers = nMembers;
    c->pMemberOffsets = new sal_Int32[std::max<sal_Int32>(nMembers, 1)];
    c->ppTypeRefs = new typelib_TypeDescriptionReference*[std::max<sal_Int32>(nMembers, 1)];
    c->ppMemberNames = new rtl_uString*[std::max<sal_Int32>(nMembers, 1)];
    for (sal_Int32 i = 0; i < nMembers; ++i) {
        c->pMemberOffsets[i] = offsets[std::size_t(i)];
        c->ppTypeRefs[i] = newRefImpl(pMembers[i].eTypeClass, pMembers[i].pTypeName);
        c->ppMemberNames[i] = pMembers[i].pMemberName;
        rtl_uString_acquire(pMembers[i].pMemberName);
    }
    replace(ppRet, &c->aBase);
}

void typelib_typedescription_newEnum(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                     sal_Int32 nDefaultValue, sal_Int32 nEnumValues, rtl_uString** ppEnumNames,
                                     const sal_Int32* pEnumValues) {
    ensure();
    auto* e = new typelib_EnumTypeDescription{};
    initBase(e->aBase, typelib_TypeClass_ENUM, pTypeName, 4, 4);
    e->nDefaultEnumValue = nDefaultValue;
    e->nEnumValues = nEnumValues;
    e->ppEnumNames = new rtl_uString*[std::max<sal_Int32>(nEnumValues, 1)];
    e->pEnumValues = new sal_Int32[std::max<sal_Int32>(nEnumValues, 1)];
    for (sal_Int32 i = 0; i < nEnumValues; ++i) {
        e->ppEnumNames[i] = ppEnumNames[i];
        rtl_uString_acquire(ppEnumNames[i]);
        e->pEnumValues[i] = pEnumValues[i];
    }
    replace(ppRet, &e->aBase);
}

void typelib_typedescription_newSequence(typelib_TypeDescription** ppRet,
                                         typelib_TypeDescriptionReference* pElementType) {
    ensure();
    auto* s = new typelib_IndirectTypeDescription{};
    rtl_uString* name = newStr(u"[]" + key(pElementType->pTypeName));
    initBase(s->aBase, typelib_TypeClass_SEQUENCE, name, 8, 8);
    rtl_uString_release(name);
    s->pType = pElementType;
    typelib_typedescriptionreference_acquire(pElementType);
    replace(ppRet, &s->aBase);
}

void typelib_typedescription_newInterfaceMethod(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                                sal_Bool bOneWay, typelib_TypeClass eReturnTypeClass,
                                                rtl_uString* pReturnTypeName, sal_Int32 nParams,
                                                const typelib_Parameter_Init* pParams, sal_Int32 nExceptions,
                                                rtl_uString** ppExceptionNames) {
    ensure();
    auto* m = new typelib_InterfaceMethodTypeDescription{};
    initBase(m->aBase.aBase, typelib_TypeClass_INTERFACE_METHOD, pTypeName, 0, 1);
    m->aBase.pMemberName = memberNameOf(pTypeName);
    m->pReturnTypeRef = newRefImpl(eReturnTypeClass, pReturnTypeName);
    m->nParams = nParams;
    m->pParams = new typelib_MethodParameter[std::max<sal_Int32>(nParams, 1)];
    for (sal_Int32 i = 0; i < nParams; ++i) {
        m->pParams[i].pName = pParams[i].pParamName;
        rtl_uString_acquire(pParams[i].pParamName);
        m->pParams[i].pTypeRef = newRefImpl(pParams[i].eTypeClass, pParams[i].pTypeName);
        m->pParams[i].bIn = pParams[i].bIn;
        m->pParams[i].bOut = pParams[i].bOut;
    }
    m->nExceptions = nExceptions;
    m->ppExceptions = new typelib_TypeDescriptionReference*[std::max<sal_Int32>(nExceptions, 1)];
    for (sal_Int32 i = 0; i < nExceptions; ++i)
        m->ppExceptions[i] = newRefImpl(typelib_TypeClass_EXCEPTION, ppExceptionNames[i]);
    m->bOneWay = bOneWay;
    replace(ppRet, &m->aBase.aBase);
}

void typelib_typedescription_newInterfaceAttribute(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                                   typelib_TypeClass eAttributeTypeClass,
                                                   rtl_uString* pAttributeTypeName, sal_Bool bReadOnly) {
    ensure();
    auto* a = new typelib_InterfaceAttributeTypeDescription{};
    initBase(a->aBase.aBase, typelib_TypeClass_INTERFACE_ATTRIBUTE, pTypeName, 0, 1);
    a->aBase.pMemberName = memberNameOf(pTypeName);
    a->bReadOnly = bReadOnly;
    a->pAttributeTypeRef = newRefImpl(eAttributeTypeClass, pAttributeTypeName);
    replace(ppRet, &a->aBase.aBase);
}

void typelib_typedescription_newInterface(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                          typelib_TypeDescriptionReference* pBaseType, sal_Int32 nMembers,
                                          typelib_TypeDescription** ppMembers) {
    ensure();
    typelib_TypeDescription* b =
        getDescriptionImpl(pBaseType != nullptr ? pBaseType : builtins().xinterface);
    if (b == nullptr || !b->bComplete || b->eTypeClass != typelib_TypeClass_INTERFACE) {
        if (b != nullptr) typelib_typedescription_release(b);
        replace(ppRet, nullptr);
        return;
    }
    auto* base = reinterpret_cast<typelib_InterfaceTypeDescription*>(b);
    auto* i = new typelib_InterfaceTypeDescription{};
    initBase(i->aBase, typelib_TypeClass_INTERFACE, pTypeName, 8, 8);
    i->pBaseTypeDescription = base;
    i->nMembers = nMembers;
    i->nAllMembers = base->nAllMembers + nMembers;
    i->ppAllMembers = new typelib_TypeDescription*[std::size_t(i->nAllMembers)];
    for (sal_Int32 n = 0; n < base->nAllMembers; ++n) {
        i->ppAllMembers[n] = base->ppAllMembers[n];
        typelib_typedescription_acquire(base->ppAllMembers[n]);
    }
    for (sal_Int32 n = 0; n < nMembers; ++n) {
        typelib_TypeDescription* m = ppMembers[n];
        reinterpret_cast<typelib_InterfaceMemberTypeDescription*>(m)->nPosition = base->nAllMembers + n;
        typelib_typedescription_acquire(m);
        i->ppAllMembers[base->nAllMembers + n] = m;
        typelib_TypeDescription* reg = m;
        typelib_typedescription_acquire(reg);
        registerImpl(&reg);
        typelib_typedescription_release(reg);
    }
    replace(ppRet, &i->aBase);
}

void typelib_typedescription_newIncomplete(typelib_TypeDescription** ppRet, typelib_TypeClass eTypeClass,
                                           rtl_uString* pTypeName) {
    ensure();
    typelib_TypeDescription* td;
    switch (eTypeClass) {
    case typelib_TypeClass_INTERFACE: {
        auto* i = new typelib_InterfaceTypeDescription{};
        td = &i->aBase;
        break;
    }
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = new typelib_CompoundTypeDescription{};
        td = &c->aBase;
        break;
    }
    default:
        td = new typelib_TypeDescription{};
        break;
    }
    sal_Int32 size = 0, align = 1;
    if (eTypeClass != typelib_TypeClass_STRUCT && eTypeClass != typelib_TypeClass_EXCEPTION)
        layoutOf(eTypeClass, pTypeName, size, align);
    initBase(*td, eTypeClass, pTypeName, size, align);
    td->bComplete = false;
    replace(ppRet, td);
}

void typelib_typedescription_acquire(typelib_TypeDescription* pTD) noexcept {
    pTD->nRefCount.fetch_add(1, std::memory_order_relaxed);
}

void typelib_typedescription_release(typelib_TypeDescription* pTD) noexcept {
    if (pTD->nRefCount.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    {
        Registry& r = reg();
        std::lock_guard g(r.mutex);
        auto it = r.descriptions.find(key(pTD->pTypeName));
        if (it != r.descriptions.end() && it->second == pTD) r.descriptions.erase(it);
    }
    freeDescription(pTD);
}

void typelib_typedescription_register(typelib_TypeDescription** ppNew) {
    ensure();
    registerImpl(ppNew);
}

void typelib_typedescription_getByName(typelib_TypeDescription** ppRet, rtl_uString* pName) {
    ensure();
    replace(ppRet, getByNameImpl(pName));
}

sal_Bool typelib_typedescription_complete(typelib_TypeDescription** ppTD) {
    if ((*ppTD)->bComplete) return true;
    ensure();
    typelib_TypeDescription* d = getByNameImpl((*ppTD)->pTypeName);
    if (d == nullptr) return false;
    if (!d->bComplete) {
        typelib_typedescription_release(d);
        return false;
    }
    replace(ppTD, d);
    return true;
}

sal_Bool typelib_typedescription_equals(const typelib_TypeDescription* p1,
                                        const typelib_TypeDescription* p2) noexcept {
    return p1 == p2 || (p1->eTypeClass == p2->eTypeClass && key(p1->pTypeName) == key(p2->pTypeName));
}

void typelib_typedescription_registerCallback(void* pContext, typelib_typedescription_Callback* pCallback) {
    std::lock_guard g(reg().mutex);
    reg().providers.emplace_back(pContext, pCallback);
}

void typelib_typedescription_revokeCallback(void* pContext, typelib_typedescription_Callback* pCallback) {
    std::lock_guard g(reg().mutex);
    auto& v = reg().providers;
    v.erase(std::remove(v.begin(), v.end(), std::make_pair(pContext, pCallback)), v.end());
}

void typelib_typedescriptionreference_new(typelib_TypeDescriptionReference** ppRef, typelib_TypeClass eTypeClass,
                                          rtl_uString* pTypeName) {
    ensure();
    typelib_TypeDescriptionReference* ref = newRefImpl(eTypeClass, pTypeName);
    if (*ppRef != nullptr) typelib_typedescriptionreference_release(*ppRef);
    *ppRef = ref;
}

void typelib_typedescriptionreference_newByAsciiName(typelib_TypeDescriptionReference** ppRef,
                                                     typelib_TypeClass eTypeClass, const char* pTypeName) {
    std::u16string name(pTypeName, pTypeName + std::strlen(pTypeName));
    rtl_uString* s = newStr(name);
    typelib_typedescriptionreference_new(ppRef, eTypeClass, s);
    rtl_uString_release(s);
}

void typelib_typedescriptionreference_acquire(typelib_TypeDescriptionReference* pRef) noexcept {
    pRef->nRefCount.fetch_add(1, std::memory_order_relaxed);
}

void typelib_typedescriptionreference_release(typelib_TypeDescriptionReference* pRef) noexcept {
    if (pRef->nRefCount.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    {
        Registry& r = reg();
        std::lock_guard g(r.mutex);
        auto it = r.references.find(key(pRef->pTypeName));
        if (it != r.references.end() && it->second == pRef) r.references.erase(it);
    }
    if (typelib_TypeDescription* td = pRef->pType.load()) typelib_typedescription_release(td);
    rtl_uString_release(pRef->pTypeName);
    delete pRef;
}

void typelib_typedescriptionreference_getDescription(typelib_TypeDescription** ppRet,
                                                     typelib_TypeDescriptionReference* pRef) {
    ensure();
    replace(ppRet, getDescriptionImpl(pRef));
}

sal_Bool typelib_typedescriptionreference_equals(const typelib_TypeDescriptionReference* p1,
                                                 const typelib_TypeDescriptionReference* p2) noexcept {
    return p1 == p2 || (p1->eTypeClass == p2->eTypeClass && key(p1->pTypeName) == key(p2->pTypeName));
}

void typelib_typedescriptionreference_assign(typelib_TypeDescriptionReference** ppDest,
                                             typelib_TypeDescriptionReference* pSource) noexcept {
    typelib_typedescriptionreference_acquire(pSource);
    if (*ppDest != nullptr) typelib_typedescriptionreference_release(*ppDest);
    *ppDest = pSource;
}

typelib_TypeDescriptionReference* typelib_static_type_getByTypeClass(typelib_TypeClass eTypeClass) {
    if (std::size_t(eTypeClass) >= SAL_N_ELEMENTS(kSimpleNames)) return nullptr;
    return builtins().simple[eTypeClass];
}
typelib_TypeDescriptionReference* typelib_static_type_getXInterface() { return builtins().xinterface; }
typelib_TypeDescriptionReference* typelib_static_type_getException() { return builtins().exception; }
typelib_TypeDescriptionReference* typelib_static_type_getRuntimeException() { return builtins().runtimeException; }

} // extern "C"
