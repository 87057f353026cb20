// Failures of positions, selections and footnotes that the stand-in's
// documents never produce: views without a cursor, cursors and ranges outside
// any text or paragraph, selections holding something other than ranges,
// footnote lists that are missing or hold other things.  The messages name
// what is missing.

#include "built.hxx"
#include "fakeview.hxx"

#include <document/document.hxx>
#include <document/elements.hxx>
#include <testsupport/images/Images.hxx>

namespace corvane::test {
namespace {

using ::zel::uno::Any;
using ::zel::uno::Sequence;

Reference<XDocument> documentWith(const Reference<hosttext::XTextViewCursor>& cursor,
                                  std::vector<Any> selection = {}) {
    return detail::createDocument(new fake::TextModel(new fake::View(new fake::RangeList(std::move(selection)), cursor)));
}

TEST(UnreachablePositions, AViewWithoutACursor) {
    Reference<XDocument> document = documentWith(nullptr);
    Reference<XCursor> live = document->getCursor().Value;
    expectFailure([&] { live->getElement(); }, u"the document view has no cursor");
    expectFailure([&] { live->insertText(u"x"); }, u"the document view has no cursor");
}

TEST(UnreachablePositions, ACursorOutsideAnyText) {
    Reference<XCursor> live = documentWith(new fake::ViewCursor(nullptr))->getCursor().Value;
    expectFailure([&] { live->getElement(); }, u"the text position is not part of the document");
    expectFailure([&] { live->insertText(u"x"); }, u"insertText: the cursor is not somewhere that accepts text");
    expectFailure([&] { live->insertInlineImage(nullptr); },
                  u"insertInlineImage: the cursor is not somewhere that accepts inline images");
}

TEST(UnreachablePositions, ACursorInATextWithoutParagraphs) {
    Reference<XCursor> live = documentWith(new fake::ViewCursor(new fake::RefusingText(std::vector<Any>())))->getCursor().Value;
    expectFailure([&] { live->getElement(); }, u"getElement: the cursor is not inside a paragraph");
    expectFailure([&] { live->getSurroundingText(); }, u"getSurroundingText: the cursor is not inside a paragraph");
    expectFailure([&] { live->getOffset(); }, u"getOffset: the cursor is not inside a paragraph");
    expectFailure([&] { live->getSurroundingTextOffset(); }, u"getOffset: the cursor is not inside a paragraph");
}

// A text without paragraphs whose string is not empty, so that a view selecting
// it has something selected.
class NamedText : public fake::RefusingText {
public:
    NamedText() : RefusingText(std::vector<Any>()) {}
    OUString getString() override { return u"named"; }
};

TEST(UnreachableSelections, ASelectionHoldingSomethingElse) {
    Reference<hosttext::XTextRange> range(static_cast<hosttext::XText*>(new NamedText));
    Optional<Reference<XSelection>> selection =
        documentWith(nullptr, {Any(range), Any(sal_Int32(7))})->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    expectFailure([&] { selection.Value->getText(); }, u"getText: the selection contains something that is not text");
    expectFailure([&] { selection.Value->replace(u"x"); }, u"replace: the selection contains something that is not text");
    expectFailure([&] { selection.Value->getRangeElements(); },
                  u"getRangeElements: the selection contains something other than text");
    // A selection whose first element is no range is no selection.
    EXPECT_FALSE(documentWith(nullptr, {Any(sal_Int32(7)), Any(range)})->getSelection().IsPresent);
}

TEST(UnreachableSelections, ASelectedRangeOutsideAnyText) {
    Reference<hosttext::XTextRange> range = new fake::Range(nullptr);
    Optional<Reference<XSelection>> selection = documentWith(nullptr, {Any(range)})->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    expectFailure([&] { selection.Value->getRangeElements(); }, u"the selected range is not part of the document");
}

TEST(UnreachableSelections, BuilderElementsOutsideAnyText) {
    Reference<XRangeBuilder> builder = detail::createRangeBuilder();
    Reference<XText> nowhere = detail::createText(nullptr, new fake::Paragraph, ElementType::TEXT);
    expectFailure([&] { builder->addElement(nowhere); }, u"the element is not part of the document");
    expectFailure([&] { builder->addElementRange(nowhere, 0, 0); },
                  u"addElementRange: the text is not part of the document");
    // A text that places no cursors.
    Reference<XText> stuck = detail::createText(nullptr, new fake::Paragraph(new FakeBodyText), ElementType::TEXT);
    expectFailure([&] { builder->addElement(stuck); }, u"cannot place a cursor at the range start");
    expectFailure([&] { builder->addElementRange(stuck, 0, 0); }, u"addElementRange: cannot place a cursor at the element");
}

class UnreachableImageTest : public BuiltDocumentTest {};

TEST_F(UnreachableImageTest, AnImageSelectionOfAnImageOutsideAnyParagraph) {
    open().paragraph(u"x");
    // A graphic object made but never inserted has no anchor.
    Reference<hosttext::XTextContent> pending(
        Reference<::com::qam::vexo::lang::XMultiServiceFactory>(doc().model(), ::zel::uno::UNO_QUERY_THROW)
            ->createInstance(u"com.qam.vexo.text.TextGraphicObject"),
        ::zel::uno::UNO_QUERY_THROW);
    Reference<XSelection> selection =
        detail::createRangeBuilder()->addElement(detail::createInlineImage(nullptr, pending))->build();
    expectFailure([&] { selection->getRangeElements()[0]->getElement(); }, u"getElement: the image has no anchor");
    // One anchored in a text without paragraphs.
    Reference<hosttext::XTextRange> anchor = new fake::Range(new fake::RefusingText(std::vector<Any>()));
    Reference<XSelection> floating =
        detail::createRangeBuilder()->addElement(detail::createInlineImage(nullptr, new FakeContent(anchor)))->build();
    expectFailure([&] { floating->getRangeElements()[0]->getElement(); },
                  u"getElement: the image is not anchored in a paragraph");
}

TEST_F(UnreachableImageTest, InsertImageIntoAViewWithoutACursor) {
    open().paragraph(u"x");
    Reference<::com::qam::vexo::lang::XMultiServiceFactory> factory(doc().model(), ::zel::uno::UNO_QUERY_THROW);
    Reference<XDocument> document = detail::createDocument(
        new fake::TextModel(new fake::View(new fake::RangeList(std::vector<Any>())), nullptr, factory));
    expectFailure([&] { document->insertImage(testsupport::images::toSequence(testsupport::images::png(2, 2)), {1.0, 1.0}); },
                  u"insertImage: no view cursor");
}

TEST(UnreachableFootnotes, AMissingOrForeignFootnoteList) {
    expectFailure([] { detail::createDocument(new fake::TextModel(nullptr))->getFootnotes(); },
                  u"getFootnotes: the document has no footnote list");
    Reference<::com::qam::vexo::container::XIndexAccess> list = new fake::RangeList({Any(sal_Int32(1))});
    expectFailure([&] { detail::createDocument(new fake::TextModel(nullptr, list))->getFootnotes(); },
                  u"getFootnotes: the document's footnote list contains something that is not a footnote");
}

} // namespace
} // namespace corvane::test
