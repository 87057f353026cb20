#pragma once
// Property sets of the office model (module com.qam.vexo.beans).

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::beans {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class SAL_DLLPUBLIC_EXPORT UnknownPropertyException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(UnknownPropertyException, Exception)
};

class SAL_DLLPUBLIC_EXPORT PropertyVetoException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(PropertyVetoException, Exception)
};

namespace PropertyAttribute {
constexpr sal_Int16 MAYBEVOID = 1;
constexpr sal_Int16 BOUND = 2;
constexpr sal_Int16 READONLY = 16;
constexpr sal_Int16 MAYBEDEFAULT = 64;
} // namespace PropertyAttribute

struct Property {
    OUString Name;
    sal_Int32 Handle = -1;
    ::zel::uno::Type Type;
    sal_Int16 Attributes = 0;
};

class ZEL_UNO_INTERFACE_CLASS XPropertySetInfo : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XPropertySetInfo, "com.qam.vexo.beans.XPropertySetInfo")
    virtual Sequence<Property> getProperties() = 0;
    // UnknownPropertyException when there is no such property.
    virtual Property getPropertyByName(const OUString& name) = 0;
    virtual bool hasPropertyByName(const OUString& name) = 0;
};


class ZEL_UNO_INTERFACE_CLASS XPropertySet : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XPropertySet, "com.qam.vexo.beans.XPropertySet")
    virtual Reference<XPropertySetInfo> getPropertySetInfo() = 0;
    // UnknownPropertyException for an unknown name; IllegalArgumentException for a
    // value of the wrong type; PropertyVetoException for a read-only property.
    virtual void setPropertyValue(const OUString& name, const Any& value) = 0;
    virtual Any getPropertyValue(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XPropertyState : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XPropertyState, "com.qam.vexo.beans.XPropertyState")
    virtual PropertyState getPropertyState(const OUString& name) = 0;
    virtual Sequence<PropertyState> getPropertyStates(const Sequence<OUString>& names) = 0;
    virtual void setPropertyToDefault(const OUString& name) = 0;
    virtual Any getPropertyDefault(const OUString& name) = 0;
};

} // namespace com::qam::vexo::beans

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::beans::UnknownPropertyException, "com.qam.vexo.beans.UnknownPropertyException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::beans::PropertyVetoException, "com.qam.vexo.beans.PropertyVetoException")
ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::beans::Property, STRUCT, "com.qam.vexo.beans.Property")
