// The text document wrapper: the entry into the element tree.

#include "elements.hxx"

#include <com/qam/vexo/view/selection.hxx>

namespace corvane::detail {

using ::com::qam::vexo::frame::XModel;

namespace {

// The document: the entry into the element tree, the cursor and the selection.
// It stores the cursor last passed to setCursor until the view moves away from
// it; the cursor holds the model, not this wrapper, so no cycle forms.
class DocumentImpl : public cppu::WeakImplHelper<XDocument> {
public:
    explicit DocumentImpl(const Reference<XModel>& model) : model_(model) {}

    Reference<::zel::uno::XInterface> getuno() override { return model_; }

    Optional<Reference<XSelection>> getSelection() override { return currentSelection(model_); }
    Reference<XBody> getBody() override {
        Reference<text::XTextDocument> document(model_, UNO_QUERY_THROW);
        return createBody(model_, document->getText());
    }
    // Absent while content is selected; the stored cursor while the view stays
    // at it; otherwise a live cursor that follows the view.
    Optional<Reference<XCursor>> getCursor() override {
        if (getSelection().IsPresent) return {};
        if (cursor_.is()) {
            const Reference<text::XTextRange> view = viewCursorOf(model_);
            const Reference<text::XTextRange> point = pointOf(cursor_);
            Reference<text::XTextRangeCompare> compare(view->getText(), UNO_QUERY_THROW);
            bool same = false;
            try {
                same = compare->compareRegionStarts(view, point) == 0;
            } catch (const ::com::qam::vexo::lang::IllegalArgumentException&) {
                // A point in another text is not where the view is.
            }
            if (same) return {true, cursor_};
            cursor_.clear();
        }
        return {true, createLiveCursor(model_)};
    }
    Sequence<Reference<XFootnote>> getFootnotes() override { return footnotesOf(model_); }
    void insertImage(const Sequence<signed char>& image, const ImageOptions& options) override {
        insertImageAtView(model_, image, options);
    }
    Reference<XCursor> newPosition(const Reference<XElement>& element, sal_Int32 offset) override {
        return detail::newPosition(model_, element, offset);
    }
    Reference<XRangeBuilder> newRange() override { return createRangeBuilder(); }
    Reference<XDocument> setCursor(const Reference<XCursor>& cursor) override {
        if (!cursor.is()) throw RuntimeException(u"setCursor: the position must not be null");
        const Reference<text::XTextRange> point = pointOf(cursor);
        Reference<::com::qam::vexo::view::XSelectionSupplier> supplier(model_->getCurrentController(), UNO_QUERY_THROW);
        if (!supplier->select(Any(point->getStart())))
            throw RuntimeException(u"setCursor: the position is not somewhere the cursor can be");
        cursor_ = cursor;
        return this;
    }
    Reference<XDocument> setSelection(const Reference<XSelection>& selection) override {
        selectInView(model_, selection);
        return this;
    }

private:
    const Reference<XModel> model_;
    Reference<XCursor> cursor_;
};

} // namespace

Reference<XDocument> createDocument(const Reference<XModel>& model) { return new DocumentImpl(model); }

} // namespace corvane::detail
