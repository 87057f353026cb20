// A paragraph's image children, and inserting images: appendImage of the
// body, insertInlineImage of a position and insertImage of the document, with
// the temporary files they leave (none) and the documents they fail on
// (unchanged).

#include "built.hxx"

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

// Each test has a private temporary directory, to see what loading leaves behind.
class InsertImageTest : public BuiltDocumentTest {
protected:
    void SetUp() override {
        BuiltDocumentTest::SetUp();
        const char* old = std::getenv("TMPDIR");
        hadTmpdir_ = old != nullptr;
        if (old) oldTmpdir_ = old;
        setenv("TMPDIR", tmp_.root().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmpdir_)
            setenv("TMPDIR", oldTmpdir_.c_str(), 1);
        else
            unsetenv("TMPDIR");
        BuiltDocumentTest::TearDown();
    }
    Reference<XBlob> blob(const std::string& bytes) {
        return newFactory()->newBlobBytes(images::toSequence(bytes));
    }
    sal_Int32 hostProperty(const Reference<::zel::uno::XInterface>& object, const char16_t* name) {
        sal_Int32 value = -1;
        Reference<::com::qam::vexo::beans::XPropertySet>(object, UNO_QUERY_THROW)->getPropertyValue(OUString(name)) >>=
            value;
        return value;
    }

    testsupport::ScratchDir tmp_{"qx-images"};

private:
    bool hadTmpdir_ = false;
    std::string oldTmpdir_;
};

TEST_F(InsertImageTest, ImageChildrenInTheOrderInWhichTheyStand) {
    using hosttext::TextContentAnchorType_AS_CHARACTER;
    using hosttext::TextContentAnchorType_AT_PARAGRAPH;
    open()
        .paragraph(u"a")
        .graphic(TextContentAnchorType_AS_CHARACTER, u"first")
        .run(u"b")
        .graphic(TextContentAnchorType_AT_PARAGRAPH, u"anchored at the paragraph")
        .graphic(TextContentAnchorType_AS_CHARACTER, u"second")
        .paragraph(u"no images");
    Reference<XBody> body = activeDocument()->getBody();
    Reference<XParagraph> paragraph = body->getChild(0)->asParagraph();
    ASSERT_EQ(paragraph->getNumChildren(), 3);
    EXPECT_EQ(paragraph->getChild(0)->getType(), ElementType::TEXT);
    EXPECT_EQ(paragraph->getChild(0)->getText(), u"ab");
    const char16_t* titles[] = {u"first", u"second"};
    for (sal_Int32 i = 1; i <= 2; ++i) {
        SCOPED_TRACE(i);
        Reference<XElement> child = paragraph->getChild(i);
        EXPECT_EQ(child->getType(), ElementType::INLINE_IMAGE);
        EXPECT_EQ(child->getText(), OUString(titles[i - 1]));
        EXPECT_EQ(child->getParent().Value.get(), static_cast<XElement*>(paragraph.get()));
        EXPECT_EQ(paragraph->getChildIndex(child), i);
    }
    EXPECT_FALSE(paragraph->getChild(3).is());
    EXPECT_EQ(body->getChild(1)->asParagraph()->getNumChildren(), 1);
}

TEST_F(InsertImageTest, AppendImageAddsOneParagraphHoldingTheImage) {
    open().paragraph(u"one").table(1, 1).paragraph(u"three");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    ASSERT_EQ(body->getNumChildren(), 3);
    Reference<XInlineImage> image = body->appendImage(blob(images::png(96, 48)));
    ASSERT_EQ(body->getNumChildren(), 4);
    Reference<XParagraph> last = body->getChild(3)->asParagraph();
    ASSERT_EQ(last->getNumChildren(), 2);
    EXPECT_TRUE(last->getChild(1)->getuno() == image->getuno());
    EXPECT_EQ(image->getParent().Value.get(), static_cast<XElement*>(body.get()));
    EXPECT_EQ(image->getType(), ElementType::INLINE_IMAGE);
    // A new graphic object takes the image's natural size: 96 x 48 pixels at 96 dpi.
    EXPECT_EQ(image->getWidth(), 96);
    EXPECT_EQ(image->getHeight(), 48);
    EXPECT_EQ(hostProperty(image->getuno(), u"Width"), 2540);
    EXPECT_EQ(body->getText(), u"one\nA1\nthree\n");
    EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(InsertImageTest, ImagesOfEveryFormatAtTheirResolution) {
    open().paragraph(u"x");
    Reference<XBody> body = activeDocument()->getBody();
    const std::tuple<const char*, std::string, sal_Int32, sal_Int32> cases[] = {
        {"png at 300 dpi", images::png(300, 150, 11811), 96, 48},
        {"jpeg at 72 dpi", images::jpeg(72, 36, images::DensityUnit::INCH, 72, 72), 96, 48},
        {"gif", images::gif(20, 10), 20, 10},
    };
    for (const auto& [name, bytes, width, height] : cases) {
        SCOPED_TRACE(name);
        Reference<XInlineImage> image = body->appendImage(blob(bytes));
        EXPECT_EQ(image->getWidth(), width);
        EXPECT_EQ(image->getHeight(), height);
    }
}

TEST_F(InsertImageTest, FailedLoadsLeaveTheDocumentUnchanged) {
    open().paragraph(u"one").paragraph(u"two");
    Reference<XDocument> document = activeDocument();
    Reference<XBody> body = document->getBody();
    Reference<XCursor> position = document->newPosition(body->getChild(0)->asText(), 1);
    const std::string png = images::png(8, 8);
    struct Case {
        const char* name;
        Reference<XBlob> blob;
        Sequence<signed char> bytes;
        const char16_t* blobMessage;
    };
    const Case cases[] = {
        {"null blob", nullptr, {}, u"createGraphicFromBlob: null blob"},
        {"empty bytes", blob(""), {}, u"createGraphicFromBlob: failed to load graphic"},
        {"text", blob("this is no image"), images::toSequence("this is no image"),
         u"createGraphicFromBlob: failed to load graphic"},
        {"truncated png", blob(png.substr(0, png.size() - 20)), images::toSequence(png.substr(0, png.size() - 20)),
         u"createGraphicFromBlob: failed to load graphic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectFailure([&] { body->appendImage(c.blob); }, c.blobMessage);
        expectFailure([&] { position->insertInlineImage(c.blob); }, c.blobMessage);
        expectFailure([&] { document->insertImage(c.bytes, ImageOptions{1.0, 1.0}); },
                      u"insertImage: failed to load graphic");
        EXPECT_EQ(doc().body()->getString(), u"one\ntwo");
        EXPECT_EQ(body->getNumChildren(), 2);
        EXPECT_EQ(body->getChild(0)->asParagraph()->getNumChildren(), 1);
        EXPECT_TRUE(tmp_.entries().empty());
    }
}

TEST_F(InsertImageTest, InsertInlineImageAtAPosition) {
    open().paragraph(u"before after");
    Reference<XDocument> document = activeDocument();
    Reference<XParagraph> paragraph = document->getBody()->getChild(0)->asParagraph();
    Reference<XCursor> position = document->newPosition(paragraph->asText(), 7);
    Optional<Reference<XInlineImage>> image = position->insertInlineImage(blob(images::gif(4, 4)));
    ASSERT_TRUE(image.IsPresent);
    EXPECT_FALSE(image.Value->getParent().IsPresent);
    EXPECT_EQ(image.Value->getType(), ElementType::INLINE_IMAGE);
    ASSERT_EQ(paragraph->getNumChildren(), 2);
    EXPECT_TRUE(paragraph->getChild(1)->getuno() == image.Value->getuno());
    // It stands between "before " and "after" and shows no text.
    EXPECT_EQ(paragraph->getText(), u"before after");
    Reference<hosttext::XTextContent> graphic(image.Value->getuno(), UNO_QUERY_THROW);
    EXPECT_EQ(hostParagraph(0)->getString(), u"before after");
    Reference<XCursor> end = document->newPosition(paragraph->asText(), 12);
    end->insertText(u"!");
    EXPECT_EQ(paragraph->getText(), u"before after!");
    EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(InsertImageTest, InsertImageAtTheViewCursorWithItsSize) {
    open().paragraph(u"text");
    Reference<XDocument> document = activeDocument();
    viewCursor()->gotoStart(false);
    document->insertImage(images::toSequence(images::png(10, 10)), ImageOptions{2.5, 1.0});
    Reference<XParagraph> paragraph = document->getBody()->getChild(0)->asParagraph();
    ASSERT_EQ(paragraph->getNumChildren(), 2);
    Reference<::zel::uno::XInterface> graphic = paragraph->getChild(1)->getuno();
    EXPECT_EQ(hostProperty(graphic, u"Width"), 2500);
    EXPECT_EQ(hostProperty(graphic, u"Height"), 1000);
    EXPECT_TRUE(tmp_.entries().empty());
}

TEST_F(InsertImageTest, InsertImageRoundsCentimetresAndRefusesSizesOutsideTheRange) {
    open().paragraph(u"text");
    Reference<XDocument> document = activeDocument();
    const Sequence<signed char> bytes = images::toSequence(images::png(2, 2));
    const std::pair<double, sal_Int32> sizes[] = {{0.0005, 1}, {0.0004, 0}, {-0.0005, -1}, {2147483.647, 2147483647}};
    for (const auto& [centimetres, hundredths] : sizes) {
        SCOPED_TRACE(centimetres);
        document->insertImage(bytes, ImageOptions{centimetres, 1.0});
        Reference<::zel::uno::XInterface> graphic = document->getBody()->getChild(0)->asParagraph()->getChild(1)->getuno();
        EXPECT_EQ(hostProperty(graphic, u"Width"), hundredths);
        document->getBody()->getChild(0)->asParagraph()->getChild(1)->removeFromParent();
    }
    const std::pair<ImageOptions, const char16_t*> refused[] = {
        {{std::nan(""), 1.0}, u"insertImage: expected a size in centimetres that fits the page coordinate range, got nan"},
        {{1.0, 2147483.648}, u"insertImage: expected a size in centimetres that fits the page coordinate range, got 2147483.648"},
        {{-std::numeric_limits<double>::infinity(), 1.0},
         u"insertImage: expected a size in centimetres that fits the page coordinate range, got -inf"},
    };
    for (const auto& [options, message] : refused) {
        SCOPED_TRACE(OUString(message));
        expectFailure([&] { document->insertImage(bytes, options); }, message);
        EXPECT_EQ(document->getBody()->getChild(0)->asParagraph()->getNumChildren(), 1);
    }
    EXPECT_TRUE(tmp_.entries().empty());
}

} // namespace
} // namespace corvane::test
