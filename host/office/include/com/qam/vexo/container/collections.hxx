#pragma once
// Collections of the office model (module com.qam.vexo.container).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::container {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class SAL_DLLPUBLIC_EXPORT NoSuchElementException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(NoSuchElementException, Exception)
};

class SAL_DLLPUBLIC_EXPORT ElementExistException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(ElementExistException, Exception)
};

class ZEL_UNO_INTERFACE_CLASS XEnumeration : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XEnumeration, "com.qam.vexo.container.XEnumeration")
    virtual bool hasMoreElements() = 0;
    // NoSuchElementException past the end.
    virtual Any nextElement() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XElementAccess : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XElementAccess, "com.qam.vexo.container.XElementAccess")
    virtual ::zel::uno::Type getElementType() = 0;
    virtual bool hasElements() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XEnumerationAccess : public XElementAccess {
public:
    ZEL_UNO_INTERFACE(XEnumerationAccess, "com.qam.vexo.container.XEnumerationAccess")
    virtual Reference<XEnumeration> createEnumeration() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XIndexAccess : public XElementAccess {
public:
    ZEL_UNO_INTERFACE(XIndexAccess, "com.qam.vexo.container.XIndexAccess")
    virtual sal_Int32 getCount() = 0;
    // IndexOutOfBoundsException outside [0, count).
    virtual Any getByIndex(sal_Int32 index) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XIndexReplace : public XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XIndexReplace, "com.qam.vexo.container.XIndexReplace")
    virtual void replaceByIndex(sal_Int32 index, const Any& element) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNameAccess : public XElementAccess {
public:
    ZEL_UNO_INTERFACE(XNameAccess, "com.qam.vexo.container.XNameAccess")
    // NoSuchElementException for an unknown name.
    virtual Any getByName(const OUString& name) = 0;
    virtual Sequence<OUString> getElementNames() = 0;
    virtual bool hasByName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNameReplace : public XNameAccess {
public:
    ZEL_UNO_INTERFACE(XNameReplace, "com.qam.vexo.container.XNameReplace")
    virtual void replaceByName(const OUString& name, const Any& element) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNameContainer : public XNameReplace {
public:
    ZEL_UNO_INTERFACE(XNameContainer, "com.qam.vexo.container.XNameContainer")
    virtual void insertByName(const OUString& name, const Any& element) = 0;
    virtual void removeByName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XContentEnumerationAccess : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XContentEnumerationAccess, "com.qam.vexo.container.XContentEnumerationAccess")
    // The objects of that service anchored at this object (an empty enumeration when none).
    virtual Reference<XEnumeration> createContentEnumeration(const OUString& serviceName) = 0;
    virtual Sequence<OUString> getAvailableServiceNames() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNamed : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XNamed, "com.qam.vexo.container.XNamed")
    virtual OUString getName() = 0;
    virtual void setName(const OUString& name) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XChild : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XChild, "com.qam.vexo.container.XChild")
    virtual Reference<::zel::uno::XInterface> getParent() = 0;
    virtual void setParent(const Reference<::zel::uno::XInterface>& parent) = 0;
};

} // namespace com::qam::vexo::container

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::container::NoSuchElementException, "com.qam.vexo.container.NoSuchElementException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::container::ElementExistException, "com.qam.vexo.container.ElementExistException")
