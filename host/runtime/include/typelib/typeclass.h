#pragma once
// Type classes of the runtime's C-level type library.  The first twenty agree,
// value for value, with com::qam::vexo::uno::TypeClass of the C++ binding; the
// two member classes exist only at this level.

enum typelib_TypeClass {
    typelib_TypeClass_VOID,
    typelib_TypeClass_CHAR,
    typelib_TypeClass_BOOLEAN,
    typelib_TypeClass_BYTE,
    typelib_TypeClass_SHORT,
    typelib_TypeClass_UNSIGNED_SHORT,
    typelib_TypeClass_LONG,
    typelib_TypeClass_UNSIGNED_LONG,
    typelib_TypeClass_HYPER,
    typelib_TypeClass_UNSIGNED_HYPER,
    typelib_TypeClass_FLOAT,
    typelib_TypeClass_DOUBLE,
    typelib_TypeClass_STRING,
    typelib_TypeClass_TYPE,
    typelib_TypeClass_ANY,
    typelib_TypeClass_ENUM,
    typelib_TypeClass_STRUCT,
    typelib_TypeClass_EXCEPTION,
    typelib_TypeClass_SEQUENCE,
    typelib_TypeClass_INTERFACE,
    typelib_TypeClass_INTERFACE_METHOD,
    typelib_TypeClass_INTERFACE_ATTRIBUTE
};
