#pragma once
// What the units of the presentation model share: the host's slide and master
// containers, page identity tests, notes pages, page sizes and layout codes,
// replacing on one page, element kinds, and the constructors of the wrappers.
// Host interfaces are always named with their module (drawing::XShape): the
// scripting interfaces share their names.

#include <corvane/presentation.hxx>

#include <com/qam/vexo/drawing/drawing.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/text/text.hxx>

#include <vector>

namespace corvane::detail {

::zel::uno::Reference<XPresentation> createPresentation(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);
::zel::uno::Reference<XDrawing> createDrawing(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace corvane::detail

namespace corvane::presentation {

namespace drawing = ::com::qam::vexo::drawing;
namespace hosttext = ::com::qam::vexo::text;
using ::zel::uno::Reference;
using Model = Reference<::com::qam::vexo::frame::XModel>;
using Page = Reference<drawing::XDrawPage>;
using HostShape = Reference<drawing::XShape>;

// The layout code that stands for "no layout" throughout the model.
constexpr sal_Int16 kNoLayout = 20;

// The master page container (unsatisfied-query failure without XMasterPagesSupplier).
Reference<drawing::XDrawPages> masterPages(const Model& model);
// The pages of a container, in order; elements that are no draw page are skipped.
std::vector<Page> pageList(const Reference<drawing::XDrawPages>& pages);
bool containsPage(const Reference<drawing::XDrawPages>& pages, const Page& page);
bool isSlide(const Model& model, const Page& page);
bool isMasterPage(const Model& model, const Page& page);
// The notes page of a slide or master (unsatisfied-query failure without XPresentationPage).
Page notesPageOf(const Page& page);
// "Width" or "Height" of the page in points.
double pageSizePoints(const Page& page, const OUString& property);
// The page's "Layout", or kNoLayout when it has none that can be read.
sal_Int16 pageAutoLayout(const Page& page);
// Replaces on one page; "replaceAllText: expected a non-empty search text" for an empty find text.
sal_Int32 replaceAllOnPage(const Page& page, const OUString& find, const OUString& replacement, bool matchCase);
// The message of an empty search text, checked once by the presentation before any page.
[[noreturn]] void emptySearchText();

// The shapes of a page (or any shape collection), in order; elements that are no shape are skipped.
std::vector<HostShape> shapeList(const Reference<drawing::XShapes>& shapes);
PageElementType pageElementType(const HostShape& shape);
PlaceholderType placeholderType(const HostShape& shape, sal_Int16 layout);

// Wrapper constructors.
Reference<XSlide> makeSlide(const Model& model, const Page& page);
Reference<XPage> makePage(const Model& model, const Page& page);
Reference<XMaster> makeMaster(const Model& model, const Page& page);
Reference<XLayout> makeLayout(const Model& model, const Page& page);
Reference<XNotesPage> makeNotesPage(const Model& model, const Page& page);
Reference<XNotesMaster> makeNotesMaster(const Model& model, const Page& page);
Reference<XSlideSelection> makeSlideSelection(const Model& model);
Reference<XPageElement> makePageElement(const Page& page, const HostShape& shape);
Reference<XShape> makeShape(const Page& page, const HostShape& shape);
// A text range over the text: the whole text (empty sub-range), a run or a paragraph.
Reference<XTextRange> makeTextRange(const Reference<hosttext::XText>& text,
                                    const Reference<hosttext::XTextRange>& range, bool paragraph);
// A paragraph over a paragraph's text range.
Reference<XTextParagraph> makeTextParagraph(const Reference<XTextRange>& range);

// Throws "<operation>: not implemented".
[[noreturn]] void notImplemented(const char16_t* operation);

} // namespace corvane::presentation
