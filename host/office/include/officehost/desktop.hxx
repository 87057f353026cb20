#pragma once
// Opening and closing documents in the host stand-in, as a user would: each
// document is shown in a new frame of the process desktop (the service
// "com.qam.vexo.frame.Desktop" of the process component context), with a
// controller of its own, and that frame becomes the current one.
//
// Call officehost::initProcessContext() first; shutdownProcessContext() closes
// whatever is still open.

#include <com/qam/vexo/frame/frame.hxx>

namespace officehost {

// The process desktop; RuntimeException when the process context has none.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XDesktop> getDesktop();

// A new, empty text document (one empty paragraph, the standard paragraph styles
// including "List Number") in a new current frame.  The model supports
// "com.qam.vexo.text.TextDocument"; its controller is the view
// (text::XTextViewCursorSupplier, view::XSelectionSupplier), with the view
// cursor at the start of the body.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XModel> openTextDocument();

// A new spreadsheet document (one empty sheet "Sheet1") in a new current frame.  The
// model supports "com.qam.vexo.sheet.SpreadsheetDocument"; its controller is the view
// (sheet::XSpreadsheetView, view::XSelectionSupplier, sheet::XViewFreezable), with
// "Sheet1" active and its A1 selected.  A non-empty location is the URL the
// document was loaded from, as a loader gives it (XModel::getURL, the title).
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XModel> openSpreadsheetDocument(
    const OUString& location = OUString());

// How a drawing or presentation document opens: its location (empty for a new,
// never stored document) and its number of slides (0 is a loader's intermediate
// state, a document with master pages but no slides yet).
struct DrawDocumentOptions {
    OUString location;
    sal_Int32 slides = 1;
};

// A presentation ("com.qam.vexo.presentation.PresentationDocument", which also
// reports "com.qam.vexo.drawing.DrawingDocument") in a new current frame: one
// master page "Default", the slides asked for (layout 0), a notes page for every
// slide and master.  See host/office/source/draw/README.md.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XModel> openPresentationDocument(
    const DrawDocumentOptions& options = {});

// A drawing ("com.qam.vexo.drawing.DrawingDocument" only) in a new current
// frame: pages without notes pages and without "Layout".
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XModel> openDrawingDocument(
    const DrawDocumentOptions& options = {});

// Placeholder models for tests of the kind of the active document: models with
// a controller in a frame and no content at all.
enum class PlaceholderKind {
    NoServiceInfo   // a model that does not implement lang::XServiceInfo at all
};
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XModel> openPlaceholderDocument(PlaceholderKind kind);

// A new current frame that shows nothing (no controller).
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XFrame> openEmptyFrame();

// The frame that shows the model, empty when none does.
SAL_DLLPUBLIC_EXPORT ::zel::uno::Reference<::com::qam::vexo::frame::XFrame> frameOf(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// Makes the frame that shows the model current; RuntimeException when no frame shows it.
SAL_DLLPUBLIC_EXPORT void activateDocument(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// Closes the frame that shows the model (RuntimeException when none does).  When it
// was the current frame, no frame is current afterwards.
SAL_DLLPUBLIC_EXPORT void closeDocument(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// Closes every frame: afterwards there is no document and no current frame.
SAL_DLLPUBLIC_EXPORT void closeAllDocuments();

} // namespace officehost
