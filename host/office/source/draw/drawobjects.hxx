#pragma once
// How the interface objects of the draw area find each other: the one object
// of a page or shape, made when none presents it yet.  Not exported.

#include "drawcore.hxx"

#include <com/qam/vexo/drawing/drawing.hxx>

namespace officehost::draw {

using DrawCorePtr = std::shared_ptr<DrawCore>;

::zel::uno::Reference<::com::qam::vexo::drawing::XShape> shapeObject(const DrawCorePtr& core, ShapeNode* node);
::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> pageObject(const DrawCorePtr& core, PageNode* node);
// A new shape of the kind, on no page, owned by its object.
::zel::uno::Reference<::com::qam::vexo::drawing::XShape> newShape(const DrawCorePtr& core, const ShapeKind& kind);
// The node of a shape object of this core that is on no page and no group (the
// object hands it over), or nullptr when the shape is not such an object.
std::unique_ptr<ShapeNode> adoptShape(const DrawCore& core, ::zel::uno::XInterface* shape);
// The node of a shape object of this core, nullptr for anything else.
ShapeNode* shapeNodeOf(const DrawCore& core, ::zel::uno::XInterface* shape);
// Gives the node back to the object that presents it (after takeShape).
void returnShape(std::unique_ptr<ShapeNode> node);

// The shapes of a page or group as XShapes operations share them.
::zel::uno::Any shapeAt(const DrawCorePtr& core, std::vector<std::unique_ptr<ShapeNode>>& list, sal_Int32 index,
                        const OUString& op);

[[noreturn]] void pageGone(const OUString& operation);

// The node of a page object of this core, nullptr for anything else (or a page that is gone).
PageNode* pageNodeOf(const DrawCore& core, ::zel::uno::XInterface* page);

// A new background property set ("FillStyle", "FillColor") with these values.
::zel::uno::Reference<::zel::uno::XInterface> newBackground(sal_Int32 fillStyle, sal_Int32 fillColor);

} // namespace officehost::draw
