// The slide selection: what the presentation's view has selected, asked afresh
// on every call, and the snapshots of selected pages and page elements.

#include "shared.hxx"

#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

namespace corvane::presentation {
namespace {

using ::zel::uno::Any;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::XInterface;

class PageRangeImpl : public cppu::WeakImplHelper<XPageRange> {
public:
    PageRangeImpl(Model model, std::vector<Page> pages) : model_(std::move(model)), pages_(std::move(pages)) {}
    Reference<XInterface> getuno() override { return {}; }
    Sequence<Reference<XPage>> getPages() override {
        std::vector<Reference<XPage>> all;
        for (const Page& p : pages_) all.push_back(makePage(model_, p));
        return Sequence<Reference<XPage>>(all);
    }

private:
    const Model model_;
    const std::vector<Page> pages_;
};

class PageElementRangeImpl : public cppu::WeakImplHelper<XPageElementRange> {
public:
    PageElementRangeImpl(Reference<drawing::XShapes> shapes, std::vector<Reference<XPageElement>> elements)
        : shapes_(std::move(shapes)), elements_(std::move(elements)) {}
    Reference<XInterface> getuno() override { return Reference<XInterface>(shapes_); }
    Sequence<Reference<XPageElement>> getPageElements() override { return Sequence<Reference<XPageElement>>(elements_); }

private:
    const Reference<drawing::XShapes> shapes_;
    const std::vector<Reference<XPageElement>> elements_;
};

// A non-empty shape collection held by a selection, or an empty reference.
Reference<drawing::XShapes> selectedShapes(const Any& selection) {
    Reference<drawing::XShapes> shapes;
    if (selection.getValueTypeClass() == ::zel::uno::TypeClass_INTERFACE) shapes.set(selection, UNO_QUERY);
    if (shapes.is() && shapes->getCount() > 0) return shapes;
    return {};
}

bool holdsObjects(const Any& selection, Sequence<Reference<XInterface>>& objects) {
    return (selection >>= objects) && objects.getLength() > 0;
}

Reference<hosttext::XTextRange> selectedText(const Any& selection) {
    Reference<hosttext::XTextRange> range;
    if (selection.getValueTypeClass() == ::zel::uno::TypeClass_INTERFACE) range.set(selection, UNO_QUERY);
    return range;
}

class SlideSelectionImpl : public cppu::WeakImplHelper<XSlideSelection> {
public:
    explicit SlideSelectionImpl(Model model) : model_(std::move(model)) {}

    Reference<XInterface> getuno() override {
        Reference<::com::qam::vexo::frame::XController> controller = model_->getCurrentController();
        if (!controller.is()) throw RuntimeException(u"getuno: the presentation has no view");
        return Reference<XInterface>(controller);
    }

    Optional<Reference<XPage>> getCurrentPage() override {
        Reference<drawing::XDrawView> view(model_->getCurrentController(), UNO_QUERY);
        if (!view.is()) return {};
        Page page = view->getCurrentPage();
        if (!page.is()) return {};
        return {true, makePage(model_, page)};
    }

    Optional<Reference<XPageElementRange>> getPageElementRange() override {
        Reference<drawing::XShapes> shapes = selectedShapes(currentSelection());
        if (!shapes.is()) return {};
        std::vector<Reference<XPageElement>> elements;
        for (const HostShape& shape : shapeList(shapes)) {
            Reference<::com::qam::vexo::container::XChild> child(shape, UNO_QUERY);
            Page page;
            if (child.is()) page.set(child->getParent(), UNO_QUERY);
            elements.push_back(makePageElement(page, shape));
        }
        return {true, new PageElementRangeImpl(shapes, std::move(elements))};
    }

    Optional<Reference<XPageRange>> getPageRange() override {
        Sequence<Reference<XInterface>> objects;
        if (!holdsObjects(currentSelection(), objects)) return {};
        std::vector<Page> pages;
        for (const Reference<XInterface>& o : objects) {
            Page page(o, UNO_QUERY);
            if (page.is()) pages.push_back(page);
        }
        return {true, new PageRangeImpl(model_, std::move(pages))};
    }

    SelectionType getSelectionType() override {
        const Any selection = currentSelection();
        if (selectedText(selection).is()) return SelectionType::TEXT;
        if (selectedShapes(selection).is()) return SelectionType::PAGE_ELEMENT;
        Sequence<Reference<XInterface>> objects;
        if (holdsObjects(selection, objects)) return SelectionType::PAGE;
        return getCurrentPage().IsPresent ? SelectionType::CURRENT_PAGE : SelectionType::NONE;
    }

    void getTableCellRange() override { notImplemented(u"getTableCellRange"); }

    // A range whose text is gone (the host gives none) is no text selection.
    Optional<Reference<XTextRange>> getTextRange() override {
        Reference<hosttext::XTextRange> range = selectedText(currentSelection());
        if (!range.is()) return {};
        Reference<hosttext::XText> text = range->getText();
        if (!text.is()) return {};
        return {true, makeTextRange(text, range, false)};
    }

private:
    Any currentSelection() {
        Reference<::com::qam::vexo::view::XSelectionSupplier> supplier(model_->getCurrentController(), UNO_QUERY);
        return supplier.is() ? supplier->getSelection() : Any();
    }

    const Model model_;
};

} // namespace

Reference<XSlideSelection> makeSlideSelection(const Model& model) { return new SlideSelectionImpl(model); }

} // namespace corvane::presentation
