#pragma once
// Byte streams and temporary files (module com.qam.vexo.io).
//
// Byte sequences are zel::uno::Sequence<sal_Int8>.  A stream that has been
// closed raises NotConnectedException; a failure of the file system under a
// stream raises IOException.

#include <com/qam/vexo/lang/interfaces.hxx>
#include <zel/uno/Sequence.hxx>

namespace com::qam::vexo::io {

using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class SAL_DLLPUBLIC_EXPORT IOException : public ::zel::uno::Exception {
public:
    ZEL_UNO_EXCEPTION_BODY(IOException, Exception)
};

// The stream has been closed (or was never opened).
class SAL_DLLPUBLIC_EXPORT NotConnectedException : public IOException {
public:
    ZEL_UNO_EXCEPTION_BODY(NotConnectedException, IOException)
};

class ZEL_UNO_INTERFACE_CLASS XInputStream : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XInputStream, "com.qam.vexo.io.XInputStream")
    // Reads up to count bytes into data (resized to what was read); 0 at the end.
    virtual sal_Int32 readBytes(Sequence<sal_Int8>& data, sal_Int32 count) = 0;
    virtual void skipBytes(sal_Int32 count) = 0;
    // The bytes that can be read without blocking.
    virtual sal_Int32 available() = 0;
    virtual void closeInput() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XOutputStream : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XOutputStream, "com.qam.vexo.io.XOutputStream")
    // Writes all the bytes, or raises IOException.
    virtual void writeBytes(const Sequence<sal_Int8>& data) = 0;
    virtual void flush() = 0;
    virtual void closeOutput() = 0;
};

// A stream that can be read and written.
class ZEL_UNO_INTERFACE_CLASS XStream : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XStream, "com.qam.vexo.io.XStream")
    virtual Reference<XInputStream> getInputStream() = 0;
    virtual Reference<XOutputStream> getOutputStream() = 0;
};

// A stream over a temporary file, which can be named by its URL while it lives.
class ZEL_UNO_INTERFACE_CLASS XTempFile : public XStream {
public:
    ZEL_UNO_INTERFACE(XTempFile, "com.qam.vexo.io.XTempFile")
    // The file URL of the temporary file.
    virtual OUString getUri() = 0;
};

} // namespace com::qam::vexo::io

ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::io::IOException, "com.qam.vexo.io.IOException")
ZEL_UNO_EXCEPTION_TYPE(::com::qam::vexo::io::NotConnectedException, "com.qam.vexo.io.NotConnectedException")
