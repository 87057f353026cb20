// The graphic provider: the format told from the bytes, pixel sizes and
// natural sizes with and without a stated resolution, and what it makes of
// data that is no image, a missing "URL" and an unreadable one.

#include <com/qam/vexo/graphic/graphic.hxx>
#include <com/qam/vexo/io/io.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <comphelper/processfactory.hxx>
#include <osl/file.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/ScratchDir.hxx>
#include <testsupport/images/Images.hxx>

#include <gtest/gtest.h>

namespace {

namespace css = ::com::qam::vexo;
namespace images = testsupport::images;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY_THROW;

class GraphicProviderTest : public testsupport::HostTest {
protected:
    Reference<css::graphic::XGraphicProvider> provider() {
        auto context = comphelper::getProcessComponentContext();
        return Reference<css::graphic::XGraphicProvider>(
            context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.graphic.GraphicProvider", context),
            UNO_QUERY_THROW);
    }
    OUString urlOf(const std::string& name, const std::string& bytes) {
        testsupport::writeFile(dir_.path(name), bytes);
        OUString url;
        osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(dir_.path(name)), url);
        return url;
    }
    Reference<css::graphic::XGraphic> load(const std::string& bytes) {
        return provider()->queryGraphic({css::beans::PropertyValue{u"URL", 0, Any(urlOf("image", bytes)), {}}});
    }

    testsupport::ScratchDir dir_{"qx-graphic"};
};

TEST_F(GraphicProviderTest, SizesComeFromTheImageAndItsResolution) {
    struct Case {
        const char* name;
        std::string bytes;
        const char16_t* mime;
        css::awt::Size pixels;
        css::awt::Size hundredths;
    };
    const Case cases[] = {
        // No resolution stated: 96 pixels per inch.
        {"png without pHYs", images::png(96, 48), u"image/png", {96, 48}, {2540, 1270}},
        {"png at 300 dpi", images::png(300, 150, 11811), u"image/png", {300, 150}, {2540, 1270}},
        {"png at 96 dpi", images::png(10, 10, 3780), u"image/png", {10, 10}, {265, 265}},
        {"jpeg without density", images::jpeg(96, 96), u"image/jpeg", {96, 96}, {2540, 2540}},
        {"jpeg at 72 dpi", images::jpeg(72, 36, images::DensityUnit::INCH, 72, 72), u"image/jpeg", {72, 36}, {2540, 1270}},
        {"jpeg at 100 per cm", images::jpeg(100, 50, images::DensityUnit::CENTIMETRE, 100, 100), u"image/jpeg",
         {100, 50}, {1000, 500}},
        {"gif", images::gif(48, 24), u"image/gif", {48, 24}, {1270, 635}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reference<css::graphic::XGraphic> graphic = load(c.bytes);
        ASSERT_TRUE(graphic.is());
        EXPECT_EQ(graphic->getMimeType(), OUString(c.mime));
        EXPECT_EQ(graphic->getSizePixel(), c.pixels);
        EXPECT_EQ(graphic->getSize100thMM(), c.hundredths);
    }
}

TEST_F(GraphicProviderTest, DataThatIsNoWholeImageGivesNoGraphic) {
    const std::string png = images::png(20, 20);
    const std::string jpeg = images::jpeg(64, 64);
    const std::string gif = images::gif(20, 20);
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"text", "not an image at all"},
        {"png signature only", png.substr(0, 8)},
        {"truncated png", png.substr(0, png.size() / 2)},
        {"png with a damaged chunk", png.substr(0, 20) + std::string(8, '\x55') + png.substr(28)},
        {"truncated jpeg", jpeg.substr(0, jpeg.size() / 2)},
        {"jpeg header only", jpeg.substr(0, 4)},
        {"truncated gif", gif.substr(0, gif.size() - 8)},
        {"gif header only", gif.substr(0, 6)},
        // A header claiming 65535 x 65535 pixels over a few bytes of data.
        {"gif claiming a huge image",
         std::string("GIF89a\xff\xff\xff\xff\x80\x00\x00", 13) + std::string("\0\0\0\xff\xff\xff", 6) +
             std::string(",\0\0\0\0\xff\xff\xff\xff\0\x02\x02\x44\x01\0;", 17)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(load(bytes).is());
    }
}

TEST_F(GraphicProviderTest, ADescriptorWithoutAURLIsRefused) {
    try {
        provider()->queryGraphic({css::beans::PropertyValue{u"MimeType", 0, Any(OUString(u"image/png")), {}}});
        ADD_FAILURE() << "no exception";
    } catch (const css::lang::IllegalArgumentException& e) {
        EXPECT_EQ(e.Message, OUString(u"queryGraphic: the descriptor names no URL"));
    }
}

TEST_F(GraphicProviderTest, AnUnreadableURLIsAnIOException) {
    OUString missing;
    osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(dir_.path("missing.png")), missing);
    for (const OUString& url : {missing, OUString(u"http://example.invalid/a.png")}) {
        SCOPED_TRACE(url.toUtf8().getStr());
        try {
            provider()->queryGraphic({css::beans::PropertyValue{u"URL", 0, Any(url), {}}});
            ADD_FAILURE() << "no exception";
        } catch (const css::io::IOException& e) {
            EXPECT_EQ(e.Message, u"queryGraphic: cannot read " + url);
        }
    }
}

} // namespace
