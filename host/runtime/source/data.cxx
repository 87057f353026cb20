// Values of the runtime's C level: construction, copy, conversion into another
// environment, equality and destruction, driven by type descriptions.

#include <uno/data.h>
#include <uno/dispatcher.h>
#include <uno/mapping.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// A description for the length of a call (see getTemporary).
class Temp {
public:
    explicit Temp(typelib_TypeDescriptionReference* ref) : owned_(typelib_typedescriptionreference_getTemporary(&td_, ref)) {
        // An interface type nobody describes is still an interface: its
        // values are handled as XInterface references.
        if (td_ == nullptr && ref->eTypeClass == typelib_TypeClass_INTERFACE)
            owned_ = typelib_typedescriptionreference_getTemporary(&td_, typelib_static_type_getXInterface());
    }
    ~Temp() {
        if (owned_) typelib_typedescription_release(td_);
    }
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    typelib_TypeDescription* get() const { return td_; }

private:
    typelib_TypeDescription* td_ = nullptr;
    bool owned_;
};

constexpr std::size_t kSequenceHeader = offsetof(uno_Sequence, elements);

char* elementsOf(uno_Sequence* s) { return reinterpret_cast<char*>(s) + kSequenceHeader; }

uno_Sequence* allocSequence(sal_Int32 n, sal_Int32 elementSize) {
    std::size_t bytes = kSequenceHeader + std::size_t(n > 0 ? n : 0) * std::size_t(elementSize);
    void* mem = std::malloc(bytes < sizeof(uno_Sequence) ? sizeof(uno_Sequence) : bytes);
    if (mem == nullptr) throw std::bad_alloc();
    auto* s = static_cast<uno_Sequence*>(mem);
    new (&s->nRefCount) std::atomic<sal_Int32>(1);
    s->nElements = n;
    return s;
}

void releaseInterface(void* p, uno_ReleaseFunc release) {
    if (p == nullptr) return;
    if (release != nullptr)
        release(p);
    else
        static_cast<uno_Interface*>(p)->release(static_cast<uno_Interface*>(p));
}

void acquireInterface(void* p, uno_AcquireFunc acquire) {
    if (p == nullptr) return;
    if (acquire != nullptr)
        acquire(p);
    else
        static_cast<uno_Interface*>(p)->acquire(static_cast<uno_Interface*>(p));
}

bool anyStoresInline(const typelib_TypeDescription* td) {
    return td->eTypeClass == typelib_TypeClass_INTERFACE || std::size_t(td->nSize) <= sizeof(void*);
}

void construct(void* mem, typelib_TypeDescription* td);
void destruct(void* value, typelib_TypeDescription* td, uno_ReleaseFunc release);
void copy(void* dest, void* src, typelib_TypeDescription* td, uno_AcquireFunc acquire, uno_Mapping* mapping);

void constructRef(void* mem, typelib_TypeDescriptionReference* ref) {
    Temp t(ref);
    construct(mem, t.get());
}

void destructRef(void* value, typelib_TypeDescriptionReference* ref, uno_ReleaseFunc release) {
    Temp t(ref);
    destruct(value, t.get(), release);
}

void copyRef(void* dest, void* src, typelib_TypeDescriptionReference* ref, uno_AcquireFunc acquire,
             uno_Mapping* mapping) {
    Temp t(ref);
    copy(dest, src, t.get(), acquire, mapping);
}

void anyConstructVoid(uno_Any* a) {
    a->pType = typelib_static_type_getByTypeClass(typelib_TypeClass_VOID);
    typelib_typedescriptionreference_acquire(a->pType);
    a->pReserved = nullptr;
    a->pData = &a->pReserved;
}

// Storage for a value of td in a, uninitialised.
void* anyStorage(uno_Any* a, typelib_TypeDescription* td) {
    a->pReserved = nullptr;
    if (anyStoresInline(td)) {
        a->pData = &a->pReserved;
    } else {
        a->pData = std::malloc(std::size_t(td->nSize));
        if (a->pData == nullptr) throw std::bad_alloc();
    }
    return a->pData;
}

void anyConstruct(uno_Any* dest, void* src, typelib_TypeDescriptionReference* ref, uno_AcquireFunc acquire,
                  uno_Mapping* mapping) {
    if (ref == nullptr || ref->eTypeClass == typelib_TypeClass_VOID) {
        anyConstructVoid(dest);
        return;
    }
    Temp t(ref);
    if (t.get() == nullptr) {
        anyConstructVoid(dest);
        return;
    }
    dest->pType = ref;
    typelib_typedescriptionreference_acquire(ref);
    void* storage = anyStorage(dest, t.get());
    if (src == nullptr)
        construct(storage, t.get());
    else
        copy(storage, src, t.get(), acquire, mapping);
}

void anyDestruct(uno_Any* a, uno_ReleaseFunc release) {
    if (a->pType->eTypeClass != typelib_TypeClass_VOID) {
        Temp t(a->pType);
        destruct(a->pData, t.get(), release);
        if (a->pData != &a->pReserved) std::free(a->pData);
    }
    typelib_typedescriptionreference_release(a->pType);
}

void sequenceRelease(uno_Sequence* s, typelib_TypeDescriptionReference* elem, uno_ReleaseFunc release) {
    if (s->nRefCount.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    if (s->nElements > 0) {
        Temp t(elem);
        for (sal_Int32 i = 0; i < s->nElements; ++i)
            destruct(elementsOf(s) + std::size_t(i) * std::size_t(t.get()->nSize), t.get(), release);
    }
    std::free(s);
}

bool mayHoldInterfaces(typelib_TypeClass c) {
    return c == typelib_TypeClass_ANY || c == typelib_TypeClass_INTERFACE || c == typelib_TypeClass_STRUCT
           || c == typelib_TypeClass_EXCEPTION || c == typelib_TypeClass_SEQUENCE;
}

void construct(void* mem, typelib_TypeDescription* td) {
    switch (td->eTypeClass) {
    case typelib_TypeClass_STRING: *static_cast<rtl_uString**>(mem) = rtl_uString_newEmpty(); return;
    case typelib_TypeClass_TYPE: {
        auto* v = typelib_static_type_getByTypeClass(typelib_TypeClass_VOID);
        typelib_typedescriptionreference_acquire(v);
        *static_cast<typelib_TypeDescriptionReference**>(mem) = v;
        return;
    }
    case typelib_TypeClass_ANY: anyConstructVoid(static_cast<uno_Any*>(mem)); return;
    case typelib_TypeClass_ENUM:
        *static_cast<sal_Int32*>(mem) = reinterpret_cast<typelib_EnumTypeDescription*>(td)->nDefaultEnumValue;
        return;
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(td);
        if (c->pBaseTypeDescription != nullptr) construct(mem, &c->pBaseTypeDescription->aBase);
        for (sal_Int32 i = 0; i < c->nMembers; ++i)
            constructRef(static_cast<char*>(mem) + c->pMemberOffsets[i], c->ppTypeRefs[i]);
        return;
    }
    case typelib_TypeClass_SEQUENCE: *static_cast<uno_Sequence**>(mem) = allocSequence(0, 0); return;
    case typelib_TypeClass_INTERFACE: *static_cast<void**>(mem) = nullptr; return;
    default: std::memset(mem, 0, std::size_t(td->nSize)); return;
    }
}

void destruct(void* value, typelib_TypeDescription* td, uno_ReleaseFunc release) {
    switch (td->eTypeClass) {
    case typelib_TypeClass_STRING: rtl_uString_release(*static_cast<rtl_uString**>(value)); return;
    case typelib_TypeClass_TYPE:
        typelib_typedescriptionreference_release(*static_cast<typelib_TypeDescriptionReference**>(value));
        return;
    case typelib_TypeClass_ANY: anyDestruct(static_cast<uno_Any*>(value), release); return;
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(td);
        for (sal_Int32 i = 0; i < c->nMembers; ++i)
            destructRef(static_cast<char*>(value) + c->pMemberOffsets[i], c->ppTypeRefs[i], release);
        if (c->pBaseTypeDescription != nullptr) destruct(value, &c->pBaseTypeDescription->aBase, release);
        return;
    }
    case typelib_TypeClass_SEQUENCE:
        sequenceRelease(*static_cast<uno_Sequence**>(value), reinterpret_cast<typelib_IndirectTypeDescription*>(td)->pType,
                        release);
        return;
    case typelib_TypeClass_INTERFACE: releaseInterface(*static_cast<void**>(value), release); return;
    default: return;
    }
}

void copy(void* dest, void* src, typelib_TypeDescription* td, uno_AcquireFunc acquire, uno_Mapping* mapping) {
    switch (td->eTypeClass) {
    case typelib_TypeClass_STRING: {
        rtl_uString* s = *static_cast<rtl_uString**>(src);
        rtl_uString_acquire(s);
        *static_cast<rtl_uString**>(dest) = s;
        return;
    }
    case typelib_TypeClass_TYPE: {
        auto* r = *static_cast<typelib_TypeDescriptionReference**>(src);
        typelib_typedescriptionreference_acquire(r);
        *static_cast<typelib_TypeDescriptionReference**>(dest) = r;
        return;
    }
    case typelib_TypeClass_ANY: {
        auto* a = static_cast<uno_Any*>(src);
        anyConstruct(static_cast<uno_Any*>(dest), a->pData, a->pType, acquire, mapping);
        return;
    }
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(td);
        if (c->pBaseTypeDescription != nullptr) copy(dest, src, &c->pBaseTypeDescription->aBase, acquire, mapping);
        for (sal_Int32 i = 0; i < c->nMembers; ++i)
            copyRef(static_cast<char*>(dest) + c->pMemberOffsets[i], static_cast<char*>(src) + c->pMemberOffsets[i],
                    c->ppTypeRefs[i], acquire, mapping);
        return;
    }
    case typelib_TypeClass_SEQUENCE: {
        uno_Sequence* s = *static_cast<uno_Sequence**>(src);
        auto* elemRef = reinterpret_cast<typelib_IndirectTypeDescription*>(td)->pType;
        if (mapping == nullptr || s->nElements == 0 || !mayHoldInterfaces(elemRef->eTypeClass)) {
            s->nRefCount.fetch_add(1, std::memory_order_relaxed);
            *static_cast<uno_Sequence**>(dest) = s;
            return;
        }
        Temp t(elemRef);
        const sal_Int32 size = t.get()->nSize;
        uno_Sequence* n = allocSequence(s->nElements, size);
        for (sal_Int32 i = 0; i < s->nElements; ++i)
            copy(elementsOf(n) + std::size_t(i) * std::size_t(size), elementsOf(s) + std::size_t(i) * std::size_t(size),
                 t.get(), acquire, mapping);
        *static_cast<uno_Sequence**>(dest) = n;
        return;
    }
    case typelib_TypeClass_INTERFACE: {
        void* p = *static_cast<void**>(src);
        if (mapping == nullptr || p == nullptr) {
            acquireInterface(p, acquire);
            *static_cast<void**>(dest) = p;
            return;
        }
        void* out = nullptr;
        mapping->mapInterface(mapping, &out, p, reinterpret_cast<typelib_InterfaceTypeDescription*>(td));
        *static_cast<void**>(dest) = out;
        return;
    }
    default: std::memcpy(dest, src, std::size_t(td->nSize)); return;
    }
}

bool equal(void* a, void* b, typelib_TypeDescription* td);

bool equalRef(void* a, void* b, typelib_TypeDescriptionReference* ref) {
    Temp t(ref);
    return equal(a, b, t.get());
}

bool equal(void* a, void* b, typelib_TypeDescription* td) {
    switch (td->eTypeClass) {
    case typelib_TypeClass_VOID: return true;
    case typelib_TypeClass_FLOAT: return *static_cast<float*>(a) == *static_cast<float*>(b);
    case typelib_TypeClass_DOUBLE: return *static_cast<double*>(a) == *static_cast<double*>(b);
    case typelib_TypeClass_STRING: {
        auto* x = *static_cast<rtl_uString**>(a);
        auto* y = *static_cast<rtl_uString**>(b);
        return x->length == y->length
               && std::memcmp(x->buffer, y->buffer, std::size_t(x->length) * sizeof(sal_Unicode)) == 0;
    }
    case typelib_TypeClass_TYPE:
        return typelib_typedescriptionreference_equals(*static_cast<typelib_TypeDescriptionReference**>(a),
                                                       *static_cast<typelib_TypeDescriptionReference**>(b));
    case typelib_TypeClass_ANY: {
        auto* x = static_cast<uno_Any*>(a);
        auto* y = static_cast<uno_Any*>(b);
        return typelib_typedescriptionreference_equals(x->pType, y->pType) && equalRef(x->pData, y->pData, x->pType);
    }
    case typelib_TypeClass_STRUCT:
    case typelib_TypeClass_EXCEPTION: {
        auto* c = reinterpret_cast<typelib_CompoundTypeDescription*>(td);
        if (c->pBaseTypeDescription != nullptr && !equal(a, b, &c->pBaseTypeDescription->aBase)) return false;
        for (sal_Int32 i = 0; i < c->nMembers; ++i)
            if (!equalRef(static_cast<char*>(a) + c->pMemberOffsets[i], static_cast<char*>(b) + c->pMemberOffsets[i],
                          c->ppTypeRefs[i]))
                return false;
        return true;
    }
    case typelib_TypeClass_SEQUENCE: {
        uno_Sequence* x = *static_cast<uno_Sequence**>(a);
        uno_Sequence* y = *static_cast<uno_Sequence**>(b);
        if (x == y) return true;
        if (x->nElements != y->nElements) return false;
        if (x->nElements == 0) return true;
        Temp t(reinterpret_cast<typelib_IndirectTypeDescription*>(td)->pType);
        const std::size_t size = std::size_t(t.get()->nSize);
        for (sal_Int32 i = 0; i < x->nElements; ++i)
            if (!equal(elementsOf(x) + std::size_t(i) * size, elementsOf(y) + std::size_t(i) * size, t.get()))
                return false;
        return true;
    }
    case typelib_TypeClass_INTERFACE: return *static_cast<void**>(a) == *static_cast<void**>(b);
    default: return std::memcmp(a, b, std::size_t(td->nSize)) == 0;
    }
}

} // namespace

extern "C" {

void uno_constructData(void* pMem, typelib_TypeDescription* pTD) { construct(pMem, pTD); }
void uno_type_constructData(void* pMem, typelib_TypeDescriptionReference* pType) { constructRef(pMem, pType); }
void uno_destructData(void* pValue, typelib_TypeDescription* pTD, uno_ReleaseFunc release) {
    destruct(pValue, pTD, release);
}
void uno_type_destructData(void* pValue, typelib_TypeDescriptionReference* pType, uno_ReleaseFunc release) {
    destructRef(pValue, pType, release);
}
void uno_copyData(void* pDest, void* pSource, typelib_TypeDescription* pTD, uno_AcquireFunc acquire) {
    copy(pDest, pSource, pTD, acquire, nullptr);
}
void uno_type_copyData(void* pDest, void* pSource, typelib_TypeDescriptionReference* pType, uno_AcquireFunc acquire) {
    copyRef(pDest, pSource, pType, acquire, nullptr);
}
void uno_copyAndConvertData(void* pDest, void* pSource, typelib_TypeDescription* pTD, uno_Mapping* mapping) {
    copy(pDest, pSource, pTD, nullptr, mapping);
}
void uno_type_copyAndConvertData(void* pDest, void* pSource, typelib_TypeDescriptionReference* pType,
                                 uno_Mapping* mapping) {
    copyRef(pDest, pSource, pType, nullptr, mapping);
}
sal_Bool uno_type_equalData(void* pVal1, void* pVal2, typelib_TypeDescriptionReference* pType) {
    return equalRef(pVal1, pVal2, pType);
}
void uno_any_construct(uno_Any* pDest, void* pSource, typelib_TypeDescriptionReference* pType,
                       uno_AcquireFunc acquire) {
    anyConstruct(pDest, pSource, pType, acquire, nullptr);
}
void uno_type_any_constructAndConvert(uno_Any* pDest, void* pSource, typelib_TypeDescriptionReference* pType,
                                      uno_Mapping* mapping) {
    anyConstruct(pDest, pSource, pType, nullptr, mapping);
}
void uno_any_destruct(uno_Any* pValue, uno_ReleaseFunc release) { anyDestruct(pValue, release); }

void uno_type_sequence_construct(uno_Sequence** ppSeq, typelib_TypeDescriptionReference* pType, void* pElements,
                                 sal_Int32 nLen, uno_AcquireFunc acquire) {
    Temp seq(pType);
    auto* elemRef = reinterpret_cast<typelib_IndirectTypeDescription*>(seq.get())->pType;
    Temp t(elemRef);
    const std::size_t size = std::size_t(t.get()->nSize);
    uno_Sequence* n = allocSequence(nLen, t.get()->nSize);
    for (sal_Int32 i = 0; i < nLen; ++i) {
        char* d = elementsOf(n) + std::size_t(i) * size;
        if (pElements == nullptr)
            construct(d, t.get());
        else
            copy(d, static_cast<char*>(pElements) + std::size_t(i) * size, t.get(), acquire, nullptr);
    }
    if (*ppSeq != nullptr) sequenceRelease(*ppSeq, elemRef, nullptr);
    *ppSeq = n;
}

} // extern "C"
