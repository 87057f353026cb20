#pragma once
// Number formats of a document (module com.qam.vexo.util): format codes and the
// keys under which a document keeps them.

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/Locale.hxx>

namespace com::qam::vexo::util {

using ::zel::uno::Reference;

// A format code that cannot be parsed.
class SAL_DLLPUBLIC_EXPORT MalformedNumberFormatException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(MalformedNumberFormatException, Exception)
};

class ZEL_UNO_INTERFACE_CLASS XNumberFormats : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XNumberFormats, "com.qam.vexo.util.XNumberFormats")
    // The format's properties ("FormatString", "Type"); lang::IllegalArgumentException for an unknown key.
    virtual Reference<::com::qam::vexo::beans::XPropertySet> getByKey(sal_Int32 key) = 0;
    // The key of a format code, -1 when the document has no such format.  With scan,
    // the code is parsed first (MalformedNumberFormatException when it cannot be).
    virtual sal_Int32 queryKey(const OUString& code, const ::com::qam::vexo::lang::Locale& locale, bool scan) = 0;
    // Adds a format code and returns its new key; MalformedNumberFormatException for
    // a code that cannot be parsed, container::ElementExistException when it is known.
    virtual sal_Int32 addNew(const OUString& code, const ::com::qam::vexo::lang::Locale& locale) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNumberFormatsSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XNumberFormatsSupplier, "com.qam.vexo.util.XNumberFormatsSupplier")
    virtual Reference<::com::qam::vexo::beans::XPropertySet> getNumberFormatSettings() = 0;
    virtual Reference<XNumberFormats> getNumberFormats() = 0;
};

} // namespace com::qam::vexo::util

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::util::MalformedNumberFormatException,
                       "com.qam.vexo.util.MalformedNumberFormatException")
