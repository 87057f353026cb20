#pragma once
// Pages of presentation documents (module com.qam.vexo.presentation).

#include <com/qam/vexo/drawing/drawing.hxx>

namespace com::qam::vexo::presentation {

// A slide or master page of a presentation, with its notes page.
class ZEL_UNO_INTERFACE_CLASS XPresentationPage : public ::com::qam::vexo::drawing::XDrawPage {
public:
    ZEL_UNO_INTERFACE(XPresentationPage, "com.qam.vexo.presentation.XPresentationPage")
    virtual ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> getNotesPage() = 0;
};

} // namespace com::qam::vexo::presentation
