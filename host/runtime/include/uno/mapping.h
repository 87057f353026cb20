#pragma once
// Mappings of the runtime's C level: objects that map an interface of one
// environment into another (a proxy there), and the registry that finds them.
//
// The registry holds mappings weakly by source, target and purpose.
// Registering a mapping for which one is registered already hands back the
// registered one, acquired, and frees the new one through its free function;
// registering the same mapping again counts, and revoking takes one
// registration and at none frees it.  uno_getMapping gives a registered
// mapping, acquired, else one from the factories that creators register, else
// null.
//
// Leaves out: mapping chains through intermediate environments and loading
// bridges by name.

#include <uno/environment.h>

extern "C" {

struct uno_Mapping {
    void (*acquire)(uno_Mapping* mapping);
    void (*release)(uno_Mapping* mapping);
    // *ppOut (released first when set) becomes pInterface mapped, counted, or null.
    void (*mapInterface)(uno_Mapping* mapping, void** ppOut, void* pInterface,
                         typelib_InterfaceTypeDescription* pTypeDescr);
};

typedef void (*uno_freeMappingFunc)(uno_Mapping* pMapping);

SALQX_DLLPUBLIC void uno_registerMapping(uno_Mapping** ppMapping, uno_freeMappingFunc freeMapping,
                                         uno_Environment* pFrom, uno_Environment* pTo, rtl_uString* pAddPurpose);
SALQX_DLLPUBLIC void uno_revokeMapping(uno_Mapping* pMapping);
// *ppMapping (released first when set) becomes the mapping, counted, or null.
SALQX_DLLPUBLIC void uno_getMapping(uno_Mapping** ppMapping, uno_Environment* pFrom, uno_Environment* pTo,
                                    rtl_uString* pAddPurpose);

// A factory sets *ppMapping to a new or registered mapping, or leaves it null.
typedef void uno_getMappingFunc(uno_Mapping** ppMapping, uno_Environment* pFrom, uno_Environment* pTo,
                                rtl_uString* pAddPurpose, void* pContext);
SALQX_DLLPUBLIC void uno_registerMappingFactory(uno_getMappingFunc* pFactory, void* pContext);
SALQX_DLLPUBLIC void uno_revokeMappingFactory(uno_getMappingFunc* pFactory, void* pContext);

} // extern "C"
