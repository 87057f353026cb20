#pragma once
// The root interface of the runtime.
//
// Every interface derives, directly or through its bases, *virtually* from
// XInterface, so that an object that implements several interfaces has one
// XInterface: its identity.  Declare an interface like this:
//
//   class ZEL_UNO_INTERFACE_CLASS XText : public XSimpleText {
//   public:
//       ZEL_UNO_INTERFACE(XText, "com.qam.vexo.text.XText")
//       virtual void insertTextContent(...) = 0;   // methods in slot order
//   };
//
// and derive root-level interfaces with `public virtual ::zel::uno::XInterface`.

#include <zel/uno/Type.hxx>

#define ZEL_UNO_INTERFACE_CLASS __attribute__((visibility("default")))

namespace com::qam::vexo::uno {

class Any;

// Tags of the Reference constructors.
enum UnoReference_Query { UNO_QUERY };
enum UnoReference_QueryThrow { UNO_QUERY_THROW };
enum UnoReference_SetThrow { UNO_SET_THROW };
enum UnoReference_NoAcquire { SAL_NO_ACQUIRE };

class ZEL_UNO_INTERFACE_CLASS XInterface {
public:
    // Any holding a Reference<XInterface> to the object's interface of that type,
    // or a void Any when the object lacks it.
    virtual Any queryInterface(const Type& type) = 0;
    virtual void acquire() noexcept = 0;
    virtual void release() noexcept = 0;

    static const Type& static_type();

protected:
    ~XInterface() = default;
};

} // namespace com::qam::vexo::uno

#define ZEL_UNO_INTERFACE(Name, dotted)                                                          \
    static const ::zel::uno::Type& static_type() {                                                \
        static const ::zel::uno::Type t(::zel::uno::registerType(                                 \
            ::zel::uno::TypeClass_INTERFACE, u"" dotted,                                          \
            [](::zel::uno::XInterface* p) -> ::zel::uno::XInterface* {                            \
                Name* q = dynamic_cast<Name*>(p);                                                 \
                return q ? static_cast<::zel::uno::XInterface*>(q) : nullptr;                     \
            }));                                                                                  \
        return t;                                                                                 \
    }                                                                                             \
                                                                                                  \
protected:                                                                                        \
    ~Name() = default;                                                                            \
                                                                                                  \
public:
