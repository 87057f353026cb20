#pragma once
// Values of the runtime's C level: their layout and the functions that
// construct, copy, convert, compare and destroy them by type description.
//
// Layouts: numbers as in C; a string is an rtl_uString* (held); a type is a
// typelib_TypeDescriptionReference* (held); an any is a uno_Any; a sequence is
// a counted uno_Sequence*, shared between copies; an interface is a
// uno_Interface* (held, may be null); structs and exceptions lay their base out
// first and then their members at the offsets of their description.
//
// Conversion into another environment maps every interface, wherever it sits
// (in anys, structs, exceptions and sequences), through the mapping's
// map-interface member.  Where a release function is null, interfaces are
// released through their own release member; where an acquire function is
// null, through their own acquire member.
//
// Leaves out: widening conversions between types and interface identity by
// query in the equality test (interfaces compare by pointer).

#include <typelib/typedescription.h>

extern "C" {

struct uno_Mapping;

struct uno_Any {
    typelib_TypeDescriptionReference* pType;  // held; void for an empty any
    void* pData;                              // &pReserved for values that fit a pointer
    void* pReserved;
};

struct uno_Sequence {
    std::atomic<sal_Int32> nRefCount;
    sal_Int32 nElements;
    alignas(8) char elements[1];
};

typedef void (*uno_AcquireFunc)(void* pInterface);
typedef void (*uno_ReleaseFunc)(void* pInterface);

// Default values: zero, empty string, void type, void any, the enum's default,
// empty sequence, null interface; structs member by member.
SALQX_DLLPUBLIC void uno_constructData(void* pMem, typelib_TypeDescription* pTD);
SALQX_DLLPUBLIC void uno_type_constructData(void* pMem, typelib_TypeDescriptionReference* pType);
SALQX_DLLPUBLIC void uno_destructData(void* pValue, typelib_TypeDescription* pTD, uno_ReleaseFunc release);
SALQX_DLLPUBLIC void uno_type_destructData(void* pValue, typelib_TypeDescriptionReference* pType,
                                           uno_ReleaseFunc release);
// A copy within one environment: interfaces acquired.
SALQX_DLLPUBLIC void uno_copyData(void* pDest, void* pSource, typelib_TypeDescription* pTD, uno_AcquireFunc acquire);
SALQX_DLLPUBLIC void uno_type_copyData(void* pDest, void* pSource, typelib_TypeDescriptionReference* pType,
                                       uno_AcquireFunc acquire);
// A copy into the mapping's target environment: interfaces mapped.
SALQX_DLLPUBLIC void uno_copyAndConvertData(void* pDest, void* pSource, typelib_TypeDescription* pTD,
                                            uno_Mapping* mapping);
SALQX_DLLPUBLIC void uno_type_copyAndConvertData(void* pDest, void* pSource,
                                                 typelib_TypeDescriptionReference* pType, uno_Mapping* mapping);
// Whether two values of one type are equal.
SALQX_DLLPUBLIC sal_Bool uno_type_equalData(void* pVal1, void* pVal2, typelib_TypeDescriptionReference* pType);

// Anys.  pData null with a non-void type constructs the type's default value.
SALQX_DLLPUBLIC void uno_any_construct(uno_Any* pDest, void* pSource, typelib_TypeDescriptionReference* pType,
                                       uno_AcquireFunc acquire);
SALQX_DLLPUBLIC void uno_type_any_constructAndConvert(uno_Any* pDest, void* pSource,
                                                      typelib_TypeDescriptionReference* pType, uno_Mapping* mapping);
SALQX_DLLPUBLIC void uno_any_destruct(uno_Any* pValue, uno_ReleaseFunc release);

// A new sequence of the sequence type pType with nLen elements copied from
// pElements (or default-constructed when it is null), replacing *ppSeq (which
// must be null or hold a sequence, released through release semantics of
// uno_type_destructData).
SALQX_DLLPUBLIC void uno_type_sequence_construct(uno_Sequence** ppSeq, typelib_TypeDescriptionReference* pType,
                                                 void* pElements, sal_Int32 nLen, uno_AcquireFunc acquire);

} // extern "C"
