#pragma once
// Blobs: immutable bytes with an optional content type and name, the way scripts
// hand raw data (an image to insert) to the object model.

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XBlob : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XBlob, "corvane.XBlob")
    // The bytes as stored: the caller's sequence, shared, never copied.
    virtual ::zel::uno::Sequence<signed char> getBytes() = 0;
    virtual ::com::qam::vexo::beans::Optional<OUString> getContentType() = 0;
    virtual ::com::qam::vexo::beans::Optional<OUString> getName() = 0;
};

} // namespace corvane
