#pragma once
// Searching and replacing text (module com.qam.vexo.util).
//
// A replace descriptor is also a beans::XPropertySet with the boolean property
// "SearchCaseSensitive" (false until set).

#include <com/qam/vexo/beans/properties.hxx>

namespace com::qam::vexo::util {

class ZEL_UNO_INTERFACE_CLASS XSearchDescriptor : public ::com::qam::vexo::beans::XPropertySet {
public:
    ZEL_UNO_INTERFACE(XSearchDescriptor, "com.qam.vexo.util.XSearchDescriptor")
    virtual OUString getSearchString() = 0;
    virtual void setSearchString(const OUString& text) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XReplaceDescriptor : public XSearchDescriptor {
public:
    ZEL_UNO_INTERFACE(XReplaceDescriptor, "com.qam.vexo.util.XReplaceDescriptor")
    virtual OUString getReplaceString() = 0;
    virtual void setReplaceString(const OUString& text) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XReplaceable : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XReplaceable, "com.qam.vexo.util.XReplaceable")
    virtual ::zel::uno::Reference<XReplaceDescriptor> createReplaceDescriptor() = 0;
    // Replaces every match and returns their number; IllegalArgumentException for
    // a descriptor that this object did not make.
    virtual sal_Int32 replaceAll(const ::zel::uno::Reference<XSearchDescriptor>& descriptor) = 0;
};

} // namespace com::qam::vexo::util
