#pragma once
// Builds presentations through the host's own interfaces, in a few lines:
//
//   testsupport::draw::PresentationBuilder deck;       // new presentation, current frame
//   deck.title(u"Welcome").slide(1).outline({u"one", u"two"}).notes(u"say hello");
//   deck.master(u"Second");
//
// PresentationBuilder::sample() is the usual test deck: two slides (a title on
// the first, layout 0; a title and an outline of two paragraphs on the second,
// layout 1), notes on both, and a second master page "Second".
//
// The process context must be set up (officehost::initProcessContext()).  Every
// step goes through the published interfaces (XDrawPagesSupplier, XDrawPages,
// the document's service factory, XShapes, XShape, XText, XPropertySet,
// XPresentationPage, XNamed), so a deck built here is one a script could build.

#include <com/qam/vexo/drawing/drawing.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <officehost/desktop.hxx>

#include <initializer_list>
#include <vector>

namespace testsupport::draw {

class PresentationBuilder {
public:
    // A new presentation in a new current frame (officehost::openPresentationDocument).
    explicit PresentationBuilder(const officehost::DrawDocumentOptions& options = {});
    // Goes on building an open presentation or drawing.
    explicit PresentationBuilder(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

    static PresentationBuilder sample();

    // A new last slide with the host layout code (presentations only).  The first
    // slide of a new document is used before a new one is made.
    PresentationBuilder& slide(sal_Int16 layout = 0);
    // A shape of the type on the last slide, with the text when it has one; its
    // paragraphs are the lines of the text.
    PresentationBuilder& shape(const OUString& type, const OUString& text = {},
                               const ::com::qam::vexo::awt::Point& position = {1000, 1000},
                               const ::com::qam::vexo::awt::Size& size = {10000, 2000});
    PresentationBuilder& title(const OUString& text);
    PresentationBuilder& outline(std::initializer_list<OUString> paragraphs);
    PresentationBuilder& textBox(const OUString& text);
    // The text of the last slide's notes shape.
    PresentationBuilder& notes(const OUString& text);
    // A new last master page with the name.
    PresentationBuilder& master(const OUString& name);
    // A property of the last slide.
    PresentationBuilder& slideProperty(const OUString& name, const ::zel::uno::Any& value);

    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model() const { return model_; }
    ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPages> slides() const;
    ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPages> masters() const;
    ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> slideAt(sal_Int32 index) const;
    ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> masterAt(sal_Int32 index) const;
    ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> lastSlide() const;
    // The last shape added.
    const ::zel::uno::Reference<::com::qam::vexo::drawing::XShape>& lastShape() const { return lastShape_; }

private:
    ::zel::uno::Reference<::com::qam::vexo::frame::XModel> model_;
    ::zel::uno::Reference<::com::qam::vexo::drawing::XShape> lastShape_;
    bool firstIsFresh_ = false;  // the only slide is new and empty and may be used as it is
};

// The shapes of a page (or group), in order.
std::vector<::zel::uno::Reference<::com::qam::vexo::drawing::XShape>> shapesOf(
    const ::zel::uno::Reference<::com::qam::vexo::drawing::XShapes>& page);
// The notes page of a slide or master of a presentation.
::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage> notesPageOf(
    const ::zel::uno::Reference<::com::qam::vexo::drawing::XDrawPage>& page);
// The first shape of the type on the page; RuntimeException when there is none.
::zel::uno::Reference<::com::qam::vexo::drawing::XShape> firstShapeOf(
    const ::zel::uno::Reference<::com::qam::vexo::drawing::XShapes>& page, const OUString& type);
// The text of a shape that has one.
OUString textOf(const ::zel::uno::Reference<::com::qam::vexo::drawing::XShape>& shape);

} // namespace testsupport::draw
