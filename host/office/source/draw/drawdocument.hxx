#pragma once
// What the desktop area uses to make drawing and presentation documents and
// their views.  Not exported from libmergedqx.

#include <com/qam/vexo/frame/frame.hxx>

namespace officehost::draw {

// A new document: a presentation (slides with notes pages, "Layout") or a
// drawing.  It has one master page ("Default") and `slides` slides (0 is the
// state of a document that a loader has not filled yet); its location is `url`.
::zel::uno::Reference<::com::qam::vexo::frame::XModel> createDrawDocument(bool presentation, sal_Int32 slides,
                                                                         const OUString& url);

// A new view of a document made by createDrawDocument (IllegalArgumentException for
// any other model), attached to the model but not yet connected to it.
::zel::uno::Reference<::com::qam::vexo::frame::XController> createDrawController(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace officehost::draw
