// Inline images: the wrapper over real graphic objects of the stand-in (sizes
// in pixels, alternative texts, casts, removal), a paragraph's image children,
// and the three ways of inserting an image.  Plain property holders stand in
// only for what the host's typed properties cannot hold.

#include "built.hxx"
#include "fakecontent.hxx"

#include <document/elements.hxx>
#include <testsupport/ScratchDir.hxx>
#include <testsupport/images/Images.hxx>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

namespace corvane::test {
namespace {

using ::zel::uno::Any;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY_THROW;
namespace images = testsupport::images;

// A paragraph holding one character-anchored graphic object of the stand-in.
class ImageTest : public BuiltDocumentTest {
protected:
    void SetUp() override {
        BuiltDocumentTest::SetUp();
        open().paragraph(u"see ").graphic();
        image_ = activeDocument()->getBody()->getChild(0)->asParagraph()->getChild(1)->asInlineImage();
        graphic_.set(image_->getuno(), UNO_QUERY_THROW);
    }
    void TearDown() override {
        image_.clear();
        graphic_.clear();
        BuiltDocumentTest::TearDown();
    }
    Reference<XInlineImage> image_;
    Reference<::com::qam::vexo::beans::XPropertySet> graphic_;
};

TEST_F(ImageTest, WidthAndHeightReadInPixels) {
    const std::pair<sal_Int32, sal_Int32> reads[] = {{2540, 96}, {26, 1}, {13, 0}, {14, 1}, {-26, -1}, {0, 0}};
    for (const auto& [hundredths, pixels] : reads) {
        SCOPED_TRACE(hundredths);
        graphic_->setPropertyValue(u"Width", Any(hundredths));
        graphic_->setPropertyValue(u"Height", Any(hundredths));
        EXPECT_EQ(image_->getWidth(), pixels);
        EXPECT_EQ(image_->getHeight(), pixels);
    }
}

TEST(ImageValues, AWidthThatHoldsNoIntegerReadsZero) {
    Reference<FakeContent> graphic = new FakeContent;
    Reference<XInlineImage> image = detail::createInlineImage(nullptr, graphic.get());
    const std::pair<Any, sal_Int32> reads[] = {{Any(sal_Int16(2540)), 96}, {Any(OUString(u"wide")), 0}, {Any(2540.0), 0}};
    for (const auto& [value, pixels] : reads) {
        SCOPED_TRACE(value.getValueTypeName());
        graphic->setPropertyValue(u"Width", value);
        EXPECT_EQ(image->getWidth(), pixels);
    }
    // A title that is no string at all counts as present and empty.
    graphic->setPropertyValue(u"Description", Any(sal_Int32(7)));
    EXPECT_EQ(image->getAltDescription(), (Optional<OUString>{true, OUString()}));
}

TEST_F(ImageTest, WidthAndHeightWriteHundredthsOfAMillimetre) {
    const std::pair<sal_Int32, sal_Int32> writes[] = {{96, 2540}, {1, 26}, {2, 53}, {100, 2646}, {-1, -26}, {0, 0}};
    for (auto [pixels, hundredths] : writes) {
        SCOPED_TRACE(pixels);
        EXPECT_EQ(image_->setWidth(pixels).get(), image_.get());
        EXPECT_EQ(image_->setHeight(pixels).get(), image_.get());
        EXPECT_TRUE(graphic_->getPropertyValue(u"Width") == Any(hundredths));
        EXPECT_TRUE(graphic_->getPropertyValue(u"Height") == Any(hundredths));
        EXPECT_EQ(image_->getWidth(), pixels);
    }
    // Hundredths that leave the 32-bit range are refused, not wrapped around.
    image_->setWidth(81164736);
    EXPECT_TRUE(graphic_->getPropertyValue(u"Width") == Any(sal_Int32(2147483640)));
    expectFailure([&] { image_->setWidth(81164737); },
                  u"setWidth: expected a size in pixels that fits the page coordinate range, got 81164737");
    expectFailure([&] { image_->setHeight(-81164737); },
                  u"setHeight: expected a size in pixels that fits the page coordinate range, got -81164737");
    EXPECT_TRUE(graphic_->getPropertyValue(u"Width") == Any(sal_Int32(2147483640)));
}

TEST_F(ImageTest, AlternativeTexts) {
    graphic_->setPropertyValue(u"Title", Any(OUString()));
    EXPECT_FALSE(image_->getAltTitle().IsPresent);
    EXPECT_FALSE(image_->getAltDescription().IsPresent);
    EXPECT_EQ(image_->getText(), OUString());
    EXPECT_EQ(image_->setAltTitle(u"logo").get(), image_.get());
    EXPECT_EQ(image_->setAltDescription(u"the company logo").get(), image_.get());
    EXPECT_EQ(image_->getAltTitle(), (Optional<OUString>{true, u"logo"}));
    EXPECT_EQ(image_->getAltDescription(), (Optional<OUString>{true, u"the company logo"}));
    EXPECT_EQ(image_->getText(), OUString(u"logo"));
    image_->setAltTitle(u"");
    EXPECT_FALSE(image_->getAltTitle().IsPresent);
}

TEST_F(ImageTest, ElementBehaviour) {
    EXPECT_EQ(image_->getType(), ElementType::INLINE_IMAGE);
    EXPECT_TRUE(image_->getuno() == graphic_);
    ASSERT_TRUE(image_->getParent().IsPresent);
    EXPECT_EQ(image_->getParent().Value->getText(), u"see ");
    EXPECT_FALSE(image_->getNextSibling().IsPresent);
    EXPECT_FALSE(image_->getPreviousSibling().IsPresent);
    EXPECT_EQ(image_->copy().get(), static_cast<XElement*>(image_.get()));
    EXPECT_EQ(image_->asInlineImage().get(), image_.get());
    expectFailure([&] { image_->asText(); }, u"INLINE_IMAGE can't be cast to TEXT.");
    expectFailure([&] { image_->asBody(); }, u"INLINE_IMAGE can't be cast to BODY_SECTION.");
}

TEST_F(ImageTest, RemovalTakesTheImageOutOfItsParagraph) {
    Reference<XParagraph> paragraph = activeDocument()->getBody()->getChild(0)->asParagraph();
    ASSERT_EQ(paragraph->getNumChildren(), 2);
    EXPECT_EQ(image_->removeFromParent().get(), static_cast<XElement*>(image_.get()));
    EXPECT_EQ(paragraph->getNumChildren(), 1);
    EXPECT_EQ(paragraph->getText(), u"see ");
    // The detached wrapper reports what the host reports.
    expectFailure<::com::qam::vexo::lang::DisposedException>([&] { image_->getWidth(); },
                                                              u"getPropertyValue: the object is no longer part of the document");
}

TEST(ContentRemoval, NamesWhatIsMissing) {
    expectFailure([] { detail::createInlineImage(nullptr, nullptr)->removeFromParent(); },
                  u"element is not attached to a document");
    expectFailure([] { detail::createInlineImage(nullptr, nullptr)->getWidth(); }, u"InlineImageImpl has no content");
    expectFailure([] { detail::createInlineImage(nullptr, new FakeContent)->removeFromParent(); },
                  u"element has no anchor");
    expectFailure([] { detail::createInlineImage(nullptr, new FakeContent(new FakeRange))->removeFromParent(); },
                  u"element has no containing text");
    // Paragraphs report the same.
    expectFailure([] { detail::createText(nullptr, nullptr, ElementType::TEXT)->removeFromParent(); },
                  u"element is not attached to a document");
    expectFailure([] { detail::createText(nullptr, new FakeContent, ElementType::TEXT)->removeFromParent(); },
                  u"element has no anchor");
    expectFailure([] { detail::createParagraph(nullptr, new FakeContent(new FakeRange))->removeFromParent(); },
                  u"element has no containing text");
}

TEST(TextRuns, AParagraphWithoutPortionsHasNoRunToAsk) {
    Reference<XText> text = detail::createText(nullptr, new FakeContent, ElementType::TEXT);
    EXPECT_TRUE(text->getTextAttributeIndices() == (::zel::uno::Sequence<sal_Int32>{0}));
    expectFailure([&] { text->isBold(0); }, u"the text has no content at this offset");
    expectFailure([&] { text->getFontFamily(3); }, u"the text has no content at this offset");
}

TEST(TextRuns, ARunWithoutTheAttributeNamesIt) {
    Reference<XText> text = detail::createText(nullptr, new FakeParagraph, ElementType::TEXT);
    EXPECT_TRUE(text->getTextAttributeIndices() == (::zel::uno::Sequence<sal_Int32>{0}));
    using Getter = std::function<void(XText&)>;
    const std::pair<Getter, const char16_t*> cases[] = {
        {[](XText& t) { t.isBold(0); }, u"isBold: the text has no bold attribute"},
        {[](XText& t) { t.isItalic(0); }, u"isItalic: the text has no italic attribute"},
        {[](XText& t) { t.isUnderline(1); }, u"isUnderline: the text has no underline attribute"},
        {[](XText& t) { t.isStrikethrough(2); }, u"isStrikethrough: the text has no strikethrough attribute"},
        {[](XText& t) { t.getTextAlignment(0); }, u"getTextAlignment: the text has no alignment"},
        {[](XText& t) { t.getLinkUrl(0); }, u"getLinkUrl: the text has no link URL"},
        {[](XText& t) { t.getFontFamily(9); }, u"getFontFamily: the text has no font family"},
    };
    for (const auto& [get, message] : cases) {
        SCOPED_TRACE(str(message));
        expectFailure([&] { get(*text); }, message);
    }
}

} // namespace
} // namespace corvane::test
