#pragma once
// Graphics loaded from image data (module com.qam.vexo.graphic).

#include <com/qam/vexo/awt/size.hxx>
#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::graphic {

using ::zel::uno::Reference;
using ::zel::uno::Sequence;

// An image: its format and its size.
class ZEL_UNO_INTERFACE_CLASS XGraphic : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XGraphic, "com.qam.vexo.graphic.XGraphic")
    // "image/png", "image/jpeg", "image/gif".
    virtual OUString getMimeType() = 0;
    virtual ::com::qam::vexo::awt::Size getSizePixel() = 0;
    // The natural size in hundredths of a millimetre: the pixel size at the image's
    // own resolution, or at 96 pixels per inch when it states none.
    virtual ::com::qam::vexo::awt::Size getSize100thMM() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XGraphicProvider : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XGraphicProvider, "com.qam.vexo.graphic.XGraphicProvider")
    // The graphic that the descriptor names ("URL": a file URL).  An empty reference
    // when the data is no image that can be decoded; lang::IllegalArgumentException
    // without "URL"; io::IOException when the URL cannot be read.
    virtual Reference<XGraphic> queryGraphic(const Sequence<::com::qam::vexo::beans::PropertyValue>& descriptor) = 0;
};

} // namespace com::qam::vexo::graphic
