#pragma once
// Pages and shapes of drawing and presentation documents (module com.qam.vexo.drawing).
//
// Property names used by the draw model (all through beans::XPropertySet):
//   pages: "Width", "Height" (long, 1/100 mm; slides and masters share one size,
//     notes pages have another), "Layout" (short, slides of presentations only),
//     "Visible" (boolean) and "BookmarkURL" (string) on slides of presentations;
//   shapes that hold text: "TextAutoGrowHeight" (boolean);
//   custom shapes: "CustomShapeGeometry" (sequence of beans::PropertyValue; a
//     "TextPath" entry holds a sequence with a boolean "TextPath");
//   backgrounds ("com.qam.vexo.drawing.Background" from the document's factory,
//     the value of a page's "Background"): "FillStyle" (FillStyle), "FillColor" (long).

#include <com/qam/vexo/awt/geometry.hxx>
#include <com/qam/vexo/container/collections.hxx>

namespace com::qam::vexo::drawing {

using ::zel::uno::Reference;

// "FillStyle" of a background.
enum FillStyle { FillStyle_NONE, FillStyle_SOLID, FillStyle_GRADIENT, FillStyle_HATCH, FillStyle_BITMAP };

class ZEL_UNO_INTERFACE_CLASS XShapeDescriptor : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XShapeDescriptor, "com.qam.vexo.drawing.XShapeDescriptor")
    // The service name the shape was made with ("com.qam.vexo.drawing.TextShape").
    virtual OUString getShapeType() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XShape : public XShapeDescriptor {
public:
    ZEL_UNO_INTERFACE(XShape, "com.qam.vexo.drawing.XShape")
    // The top-left corner and the size, in hundredths of a millimetre.
    virtual ::com::qam::vexo::awt::Point getPosition() = 0;
    virtual void setPosition(const ::com::qam::vexo::awt::Point& position) = 0;
    virtual ::com::qam::vexo::awt::Size getSize() = 0;
    // IllegalArgumentException for a negative width or height.
    virtual void setSize(const ::com::qam::vexo::awt::Size& size) = 0;
};

// The shapes of a page or a group, in their drawing order, as an index access.
class ZEL_UNO_INTERFACE_CLASS XShapes : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XShapes, "com.qam.vexo.drawing.XShapes")
    // Adds a shape of the same document that is on no page yet, as the last one;
    // IllegalArgumentException otherwise.
    virtual void add(const Reference<XShape>& shape) = 0;
    // Takes the shape off (it stays usable and may be added again);
    // NoSuchElementException when it is not one of these shapes.
    virtual void remove(const Reference<XShape>& shape) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDrawPage : public XShapes {
public:
    ZEL_UNO_INTERFACE(XDrawPage, "com.qam.vexo.drawing.XDrawPage")
};

// The slides (draw pages) or the master pages of a document.
class ZEL_UNO_INTERFACE_CLASS XDrawPages : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XDrawPages, "com.qam.vexo.drawing.XDrawPages")
    // A new page behind the page at the index (the first page when there is none
    // and the index is 0); IndexOutOfBoundsException otherwise.
    virtual Reference<XDrawPage> insertNewByIndex(sal_Int32 index) = 0;
    // NoSuchElementException for a page that is not here; RuntimeException for the last one.
    virtual void remove(const Reference<XDrawPage>& page) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDrawPagesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDrawPagesSupplier, "com.qam.vexo.drawing.XDrawPagesSupplier")
    virtual Reference<XDrawPages> getDrawPages() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XMasterPagesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XMasterPagesSupplier, "com.qam.vexo.drawing.XMasterPagesSupplier")
    virtual Reference<XDrawPages> getMasterPages() = 0;
};

// A slide's master page.
class ZEL_UNO_INTERFACE_CLASS XMasterPageTarget : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XMasterPageTarget, "com.qam.vexo.drawing.XMasterPageTarget")
    virtual Reference<XDrawPage> getMasterPage() = 0;
    // IllegalArgumentException for a page that is not a master page of the document.
    virtual void setMasterPage(const Reference<XDrawPage>& master) = 0;
};

// Copies slides: a deep copy (shapes with their geometry, properties and text,
// the notes page, master and layout) right behind the original.
class ZEL_UNO_INTERFACE_CLASS XDrawPageDuplicator : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDrawPageDuplicator, "com.qam.vexo.drawing.XDrawPageDuplicator")
    // IllegalArgumentException for anything but a slide of this document.
    virtual Reference<XDrawPage> duplicate(const Reference<XDrawPage>& page) = 0;
};

// The page a view shows.
class ZEL_UNO_INTERFACE_CLASS XDrawView : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDrawView, "com.qam.vexo.drawing.XDrawView")
    // IllegalArgumentException for a page that is not one of the document's
    // slides, master pages or notes pages.
    virtual void setCurrentPage(const Reference<XDrawPage>& page) = 0;
    // Empty when the document has no page to show.
    virtual Reference<XDrawPage> getCurrentPage() = 0;
};

} // namespace com::qam::vexo::drawing

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::drawing::FillStyle, ENUM, "com.qam.vexo.drawing.FillStyle")
