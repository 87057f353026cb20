#pragma once
// The runtime's C-level type library.
//
// Models counted descriptions of types together with the C layout of their
// values (size, alignment, member offsets): the simple types, string, type,
// any, enum, struct and exception (one base, members), sequence (element type),
// interface (one base, members in slot order, XInterface's three first) and the
// interface members (methods with parameters and declared exceptions,
// attributes).  Member descriptions are named "<interface>::<member>".
// Descriptions are found by name; a description may be incomplete (an interface
// known only by name) and is completed through providers that its creator
// registers.  References (typelib_TypeDescriptionReference) are counted handles
// by name, one per name while any is held; a reference holds the description it
// once found, so a description lives while a reference to its name does.
//
// Leaves out: typedefs, polymorphic structs, services, modules, constants,
// interfaces with several bases, and unloading of providers while in use.
// Descriptions that refer to themselves through their members (a struct
// holding a sequence of itself) keep each other alive until the process ends.

#include <rtl/ustring.h>
#include <sal/types.h>
#include <typelib/typeclass.h>

#include <atomic>

extern "C" {

struct typelib_TypeDescription;

struct typelib_TypeDescriptionReference {
    std::atomic<sal_Int32> nRefCount;
    typelib_TypeClass eTypeClass;
    rtl_uString* pTypeName;
    // The description found for the name (one count held), set at most once and
    // then read without a lock; null until some lookup finds one.
    std::atomic<typelib_TypeDescription*> pType;
};

struct typelib_TypeDescription {
    std::atomic<sal_Int32> nRefCount;
    typelib_TypeClass eTypeClass;
    rtl_uString* pTypeName;
    sal_Int32 nSize;       // bytes of a value in the C layout
    sal_Int32 nAlignment;  // its alignment
    sal_Bool bComplete;    // false for a description known only by name
};

// Struct and exception.
struct typelib_CompoundTypeDescription {
    typelib_TypeDescription aBase;
    typelib_CompoundTypeDescription* pBaseTypeDescription;  // counted, or null
    sal_Int32 nMembers;                                     // own members only
    sal_Int32* pMemberOffsets;                              // from the value's start
    typelib_TypeDescriptionReference** ppTypeRefs;
    rtl_uString** ppMemberNames;
};

struct typelib_EnumTypeDescription {
    typelib_TypeDescription aBase;
    sal_Int32 nDefaultEnumValue;
    sal_Int32 nEnumValues;
    rtl_uString** ppEnumNames;
    sal_Int32* pEnumValues;
};

// Sequence: pType is the element type.
struct typelib_IndirectTypeDescription {
    typelib_TypeDescription aBase;
    typelib_TypeDescriptionReference* pType;
};

struct typelib_MethodParameter {
    rtl_uString* pName;
    typelib_TypeDescriptionReference* pTypeRef;
    sal_Bool bIn;
    sal_Bool bOut;
};

struct typelib_InterfaceMemberTypeDescription {
    typelib_TypeDescription aBase;  // named "<interface>::<member>"
    sal_Int32 nPosition;            // slot in the interface, counting inherited members
    rtl_uString* pMemberName;       // "<member>"
};

struct typelib_InterfaceMethodTypeDescription {
    typelib_InterfaceMemberTypeDescription aBase;
    typelib_TypeDescriptionReference* pReturnTypeRef;
    sal_Int32 nParams;
    typelib_MethodParameter* pParams;
    sal_Int32 nExceptions;
    typelib_TypeDescriptionReference** ppExceptions;
    sal_Bool bOneWay;
};

struct typelib_InterfaceAttributeTypeDescription {
    typelib_InterfaceMemberTypeDescription aBase;
    sal_Bool bReadOnly;
    typelib_TypeDescriptionReference* pAttributeTypeRef;
};

struct typelib_InterfaceTypeDescription {
    typelib_TypeDescription aBase;
    typelib_InterfaceTypeDescription* pBaseTypeDescription;  // counted; null for XInterface
    sal_Int32 nMembers;                                      // own members
    sal_Int32 nAllMembers;                                   // with the inherited ones
    typelib_TypeDescription** ppAllMembers;                  // slot order, counted
};

// Initialisers for the constructors below.  Names are borrowed for the call.
struct typelib_CompoundMember_Init {
    typelib_TypeClass eTypeClass;
    rtl_uString* pTypeName;
    rtl_uString* pMemberName;
};
struct typelib_Parameter_Init {
    typelib_TypeClass eTypeClass;
    rtl_uString* pTypeName;
    rtl_uString* pParamName;
    sal_Bool bIn;
    sal_Bool bOut;
};

// --- descriptions ----------------------------------------------------------
// Every constructor replaces *ppRet (releasing what it held) by a new
// description with one count for the caller.  It is not registered yet.

// Struct (eTypeClass STRUCT) or exception (EXCEPTION) with an optional base of
// the same class.  Member types must be known to the library when their layout
// depends on them (structs and exceptions); otherwise *ppRet becomes null.
SALQX_DLLPUBLIC void typelib_typedescription_newStruct(typelib_TypeDescription** ppRet, typelib_TypeClass eTypeClass,
                                                       rtl_uString* pTypeName,
                                                       typelib_TypeDescriptionReference* pBaseType,
                                                       sal_Int32 nMembers, const typelib_CompoundMember_Init* pMembers);
SALQX_DLLPUBLIC void typelib_typedescription_newEnum(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                                     sal_Int32 nDefaultValue, sal_Int32 nEnumValues,
                                                     rtl_uString** ppEnumNames, const sal_Int32* pEnumValues);
// "[]<element>".
SALQX_DLLPUBLIC void typelib_typedescription_newSequence(typelib_TypeDescription** ppRet,
                                                         typelib_TypeDescriptionReference* pElementType);
// pTypeName is the full name "<interface>::<member>".  The position is set when
// the member joins its interface.
SALQX_DLLPUBLIC void typelib_typedescription_newInterfaceMethod(
    typelib_TypeDescription** ppRet, rtl_uString* pTypeName, sal_Bool bOneWay, typelib_TypeClass eReturnTypeClass,
    rtl_uString* pReturnTypeName, sal_Int32 nParams, const typelib_Parameter_Init* pParams, sal_Int32 nExceptions,
    rtl_uString** ppExceptionNames);
SALQX_DLLPUBLIC void typelib_typedescription_newInterfaceAttribute(typelib_TypeDescription** ppRet,
                                                                   rtl_uString* pTypeName,
                                                                   typelib_TypeClass eAttributeTypeClass,
                                                                   rtl_uString* pAttributeTypeName,
                                                                   sal_Bool bReadOnly);
// An interface whose members are its base's (a complete interface description;
// XInterface when null) followed by the given own members, which must be new
// member descriptions of no other interface.
SALQX_DLLPUBLIC void typelib_typedescription_newInterface(typelib_TypeDescription** ppRet, rtl_uString* pTypeName,
                                                          typelib_TypeDescriptionReference* pBaseType,
                                                          sal_Int32 nMembers, typelib_TypeDescription** ppMembers);
// A description known only by its class and name (bComplete false).
SALQX_DLLPUBLIC void typelib_typedescription_newIncomplete(typelib_TypeDescription** ppRet,
                                                           typelib_TypeClass eTypeClass, rtl_uString* pTypeName);

SALQX_DLLPUBLIC void typelib_typedescription_acquire(typelib_TypeDescription* pTD) noexcept;
SALQX_DLLPUBLIC void typelib_typedescription_release(typelib_TypeDescription* pTD) noexcept;

// Makes *ppNew findable by its name.  When a complete description of that name
// is registered already, *ppNew is replaced by it (counted); an incomplete one
// gives way to a complete one.
SALQX_DLLPUBLIC void typelib_typedescription_register(typelib_TypeDescription** ppNew);
// The registered description of that name, counted, else one from the
// providers, else (for "[]<element>") a new sequence description; null if none.
SALQX_DLLPUBLIC void typelib_typedescription_getByName(typelib_TypeDescription** ppRet, rtl_uString* pName);
// Completes *ppTD through the providers when it is incomplete, replacing it by
// the complete description.  Returns whether *ppTD is complete afterwards.
SALQX_DLLPUBLIC sal_Bool typelib_typedescription_complete(typelib_TypeDescription** ppTD);
SALQX_DLLPUBLIC sal_Bool typelib_typedescription_equals(const typelib_TypeDescription* p1,
                                                        const typelib_TypeDescription* p2) noexcept;

// Providers: asked, in registration order, for a complete description by name;
// a provider that knows none leaves *ppRet null.
typedef void typelib_typedescription_Callback(void* pContext, typelib_TypeDescription** ppRet,
                                              rtl_uString* pTypeName);
SALQX_DLLPUBLIC void typelib_typedescription_registerCallback(void* pContext,
                                                              typelib_typedescription_Callback* pCallback);
SALQX_DLLPUBLIC void typelib_typedescription_revokeCallback(void* pContext,
                                                            typelib_typedescription_Callback* pCallback);

// --- references ------------------------------------------------------------

// Replaces *ppRef by the reference of that name, counted.
SALQX_DLLPUBLIC void typelib_typedescriptionreference_new(typelib_TypeDescriptionReference** ppRef,
                                                          typelib_TypeClass eTypeClass, rtl_uString* pTypeName);
SALQX_DLLPUBLIC void typelib_typedescriptionreference_newByAsciiName(typelib_TypeDescriptionReference** ppRef,
                                                                     typelib_TypeClass eTypeClass,
                                                                     const char* pTypeName);
SALQX_DLLPUBLIC void typelib_typedescriptionreference_acquire(typelib_TypeDescriptionReference* pRef) noexcept;
SALQX_DLLPUBLIC void typelib_typedescriptionreference_release(typelib_TypeDescriptionReference* pRef) noexcept;
// Replaces *ppRet by the reference's description, counted and completed where
// possible; null when the library knows none.
SALQX_DLLPUBLIC void typelib_typedescriptionreference_getDescription(typelib_TypeDescription** ppRet,
                                                                     typelib_TypeDescriptionReference* pRef);
SALQX_DLLPUBLIC sal_Bool typelib_typedescriptionreference_equals(const typelib_TypeDescriptionReference* p1,
                                                                 const typelib_TypeDescriptionReference* p2) noexcept;
// Replaces *ppDest by pSource (both counted).
SALQX_DLLPUBLIC void typelib_typedescriptionreference_assign(typelib_TypeDescriptionReference** ppDest,
                                                             typelib_TypeDescriptionReference* pSource) noexcept;

// The built-in references, which live as long as the process (not counted for
// the caller): the simple types, string, type and any by class, XInterface,
// "com.qam.vexo.uno.Exception" and "com.qam.vexo.uno.RuntimeException".
SALQX_DLLPUBLIC typelib_TypeDescriptionReference* typelib_static_type_getByTypeClass(typelib_TypeClass eTypeClass);
SALQX_DLLPUBLIC typelib_TypeDescriptionReference* typelib_static_type_getXInterface();
SALQX_DLLPUBLIC typelib_TypeDescriptionReference* typelib_static_type_getException();
SALQX_DLLPUBLIC typelib_TypeDescriptionReference* typelib_static_type_getRuntimeException();

// Temporary access for the length of a call.  *ppRet is the reference's own
// description when it holds a complete one (no lock, no allocation, no count),
// otherwise one looked up and counted.  Returns whether the caller must pass it
// to typelib_typedescription_release afterwards.
inline bool typelib_typedescriptionreference_getTemporary(typelib_TypeDescription** ppRet,
                                                          typelib_TypeDescriptionReference* pRef) {
    typelib_TypeDescription* held = pRef->pType.load(std::memory_order_acquire);
    if (held != nullptr && held->bComplete) {
        *ppRet = held;
        return false;
    }
    *ppRet = nullptr;
    typelib_typedescriptionreference_getDescription(ppRet, pRef);
    return *ppRet != nullptr;
}

} // extern "C"
