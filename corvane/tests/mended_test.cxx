// Faults mended in the element tree and the offset model: a body without text
// refuses clear() by name, a removed child is no match for getChildIndex, a
// table left without rows does not break the text of a range across it, and the
// text of a container walks each container's children once.

#include "built.hxx"
#include "fakecontent.hxx"

#include <document/elements.hxx>

#include <com/qam/vexo/table/table.hxx>

namespace corvane::test {
namespace {

using ::zel::uno::UNO_QUERY_THROW;

TEST(MendedBody, ClearWithoutTextNamesWhatIsMissing) {
    Reference<XBody> body = detail::createBody(new FakeModel, nullptr);
    expectFailure([&] { body->clear(); }, u"clear: the document body has no text");
    expectFailure([&] { body->appendImage(nullptr); }, u"XBody has no underlying text");
}

class MendedTest : public BuiltDocumentTest {};

TEST_F(MendedTest, ARemovedChildIsNoMatchForGetChildIndex) {
    open().paragraph(u"zero").paragraph(u"one").paragraph(u"two");
    Reference<XBody> body = activeDocument()->getBody();
    Reference<XElement> removed = body->getChild(1);
    Reference<XElement> kept = body->getChild(2);
    removed->removeFromParent();
    // Its host paragraph has gone: even its type cannot be read any more.
    expectFailure<::com::qam::vexo::lang::DisposedException>(
        [&] { removed->getType(); }, u"getPropertyValue: the object is no longer part of the document");
    expectFailure([&] { body->getChildIndex(removed); }, u"getChildIndex: the element does not contain the given child");
    EXPECT_EQ(body->getChildIndex(kept), 1);
}

TEST_F(MendedTest, ATableWithoutRowsAddsNothingToTheTextOfARangeAcrossIt) {
    open().paragraph(u"before").footnote(u"note").table(2, 1).paragraph(u"after");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<::com::qam::vexo::table::XTableRows> rows =
        Reference<hosttext::XTextTable>(doc().element(1), UNO_QUERY_THROW)->getRows();
    rows->removeByIndex(0, 2);
    ASSERT_EQ(rows->getCount(), 0);
    Reference<XSelection> selection = document->newRange()->addElement(body->getChild(0))->addElement(body->getChild(2))->build();
    EXPECT_EQ(selection->getText(), u"before\nafter");
    EXPECT_EQ(body->getText(), u"before\nafter");
}

// A container of this library's own kind stands behind the fake, so that the
// walk over it can be counted.
class CountingContainer : public cppu::WeakImplHelper<XContainerElement> {
public:
    explicit CountingContainer(Reference<XContainerElement> inner) : inner_(std::move(inner)) {}
    int numChildrenCalls = 0;
    int childCalls = 0;

    Reference<::zel::uno::XInterface> getuno() override { return inner_->getuno(); }
    Reference<XBody> asBody() override { return inner_->asBody(); }
    Reference<XFootnote> asFootnote() override { return inner_->asFootnote(); }
    Reference<XContainerElement> asFootnoteSection() override { return inner_->asFootnoteSection(); }
    Reference<XInlineImage> asInlineImage() override { return inner_->asInlineImage(); }
    Reference<XParagraph> asListItem() override { return inner_->asListItem(); }
    Reference<XParagraph> asParagraph() override { return inner_->asParagraph(); }
    Reference<XTable> asTable() override { return inner_->asTable(); }
    Reference<XTableCell> asTableCell() override { return inner_->asTableCell(); }
    Reference<XTableRow> asTableRow() override { return inner_->asTableRow(); }
    Reference<XText> asText() override { return detail::createContainerText(this); }
    Reference<XElement> copy() override { return this; }
    Optional<Reference<XElement>> getNextSibling() override { return {}; }
    Optional<Reference<XElement>> getParent() override { return {}; }
    Optional<Reference<XElement>> getPreviousSibling() override { return {}; }
    OUString getText() override { return inner_->getText(); }
    ElementType getType() override { return inner_->getType(); }
    Reference<XElement> removeFromParent() override { return inner_->removeFromParent(); }
    Reference<XContainerElement> clear() override { return inner_->clear(); }
    Reference<XText> editAsText() override { return asText(); }
    Reference<XElement> getChild(sal_Int32 index) override {
        ++childCalls;
        return inner_->getChild(index);
    }
    sal_Int32 getChildIndex(const Reference<XElement>& child) override { return detail::childIndexOf(*this, child); }
    sal_Int32 getNumChildren() override {
        ++numChildrenCalls;
        return inner_->getNumChildren();
    }

private:
    Reference<XContainerElement> inner_;
};

TEST_F(MendedTest, WalksOverAllChildrenAskEachChildOnce) {
    open().paragraph(u"a").paragraph(u"b").paragraph(u"c").paragraph(u"d");
    Reference<CountingContainer> counting = new CountingContainer(activeDocument()->getBody());
    EXPECT_EQ(counting->asText()->getText(), u"a\nb\nc\nd");
    EXPECT_EQ(counting->numChildrenCalls, 1);
    EXPECT_EQ(counting->childCalls, 4);
    counting->numChildrenCalls = counting->childCalls = 0;
    EXPECT_EQ(counting->getChildIndex(counting->getChild(3)), 3);
    EXPECT_EQ(counting->numChildrenCalls, 1);
    EXPECT_EQ(counting->childCalls, 5);
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

TEST_F(MendedTest, TheBodysChildrenFollowEveryEditBetweenCalls) {
    open().paragraph(u"zero").paragraph(u"one");
    Reference<XBody> body = activeDocument()->getBody();
    ASSERT_EQ(body->getNumChildren(), 2);
    EXPECT_NE(body->getChild(1).get(), body->getChild(1).get());  // new wrappers on every call
    // Edits through the host, between two calls.
    doc().paragraph(u"two").table(1, 1);
    ASSERT_EQ(body->getNumChildren(), 5);
    EXPECT_EQ(body->getChild(2)->getText(), u"two");
    EXPECT_EQ(body->getChild(3)->getType(), ElementType::TABLE);
    doc().body()->removeTextContent(doc().element(0));
    ASSERT_EQ(body->getNumChildren(), 4);
    EXPECT_EQ(body->getChild(0)->getText(), u"one");
    // Edits through the model itself.
    body->appendParagraph(u"last");
    EXPECT_EQ(body->getChild(body->getNumChildren() - 1)->getText(), u"last");
    doc().body()->setString(u"only");
    EXPECT_EQ(body->getNumChildren(), 1);
    EXPECT_EQ(body->getChildIndex(body->getChild(0)), 0);
    EXPECT_FALSE(body->getChild(1).is());
}

} // namespace
} // namespace corvane::test
