#pragma once
// What the desktop area needs of the text area: making text documents and their
// views.  Not exported from libmergedqx.

#include <com/qam/vexo/frame/frame.hxx>

namespace officehost::text {

// A new, empty text document: one empty paragraph and the standard paragraph
// styles ("Standard", "Text body", "Heading", "Heading 1" to "Heading 6",
// "Title", "Subtitle", "List Bullet", "List Number").
::zel::uno::Reference<::com::qam::vexo::frame::XModel> createTextDocument();

// A new view of a text document made by createTextDocument (IllegalArgumentException
// for any other model), attached to the model but not yet connected to it.
::zel::uno::Reference<::com::qam::vexo::frame::XController> createTextController(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace officehost::text
