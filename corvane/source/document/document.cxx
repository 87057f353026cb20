// The text document wrapper: the entry into the element tree.

#include "elements.hxx"

namespace corvane::detail {

using ::com::qam::vexo::frame::XModel;

namespace {

// The cursor, selection, footnote and image operations belong to the position,
// range, footnote and image wrappers, which this library does not have yet;
// they refuse plainly rather than answer with something made up.
class DocumentImpl : public cppu::WeakImplHelper<XDocument> {
public:
    explicit DocumentImpl(const Reference<XModel>& model) : model_(model) {}

    Reference<::zel::uno::XInterface> getuno() override { return model_; }

    Optional<Reference<XSelection>> getSelection() override { notImplemented(u"getSelection"); }
    Reference<XBody> getBody() override {
        Reference<text::XTextDocument> document(model_, UNO_QUERY_THROW);
        return createBody(model_, document->getText());
    }
    Optional<Reference<XCursor>> getCursor() override { notImplemented(u"getCursor"); }
    Sequence<Reference<XFootnote>> getFootnotes() override { notImplemented(u"getFootnotes"); }
    void insertImage(const Sequence<signed char>&, const ImageOptions&) override { notImplemented(u"insertImage"); }
    Reference<XCursor> newPosition(const Reference<XElement>&, sal_Int32) override { notImplemented(u"newPosition"); }
    Reference<XRangeBuilder> newRange() override { notImplemented(u"newRange"); }
    Reference<XDocument> setCursor(const Reference<XCursor>&) override { notImplemented(u"setCursor"); }
    Reference<XDocument> setSelection(const Reference<XSelection>&) override { notImplemented(u"setSelection"); }

private:
    [[noreturn]] static void notImplemented(std::u16string_view operation) {
        throw RuntimeException(OUString(operation) + u": not implemented");
    }

    const Reference<XModel> model_;
};

} // namespace

Reference<XDocument> createDocument(const Reference<XModel>& model) { return new DocumentImpl(model); }

} // namespace corvane::detail
