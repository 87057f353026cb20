// The service "com.qam.vexo.graphic.GraphicProvider" and the graphics it makes.
//
// GraphicProviderImpl models a provider that loads an image from the file that
// a descriptor's "URL" names (file URLs only) and tells the format from the
// bytes; it decodes PNG, JPEG and GIF (decoders.hxx).  It leaves out every other
// way of naming an image (streams, private URLs, in-memory data), other
// formats, and descriptor properties other than "URL".
//
// GraphicImpl models a loaded image by its format and sizes only: the pixels
// are decoded to check the data and then dropped, since nothing in this host
// draws.

#include "decoders.hxx"

#include <com/qam/vexo/graphic/graphic.hxx>
#include <com/qam/vexo/io/io.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/services.hxx>
#include <osl/file.hxx>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace officehost::graphic {
namespace {

namespace css = ::com::qam::vexo;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

constexpr char16_t kService[] = u"com.qam.vexo.graphic.GraphicProvider";
constexpr double kDefaultDpi = 96.0;

// Pixels at a resolution as hundredths of a millimetre, rounded to the nearest.
sal_Int32 hundredths(sal_Int32 pixels, double dpi) {
    return static_cast<sal_Int32>(std::lround(pixels * 2540.0 / (dpi > 0 ? dpi : kDefaultDpi)));
}

class GraphicImpl : public cppu::WeakImplHelper<css::graphic::XGraphic> {
public:
    explicit GraphicImpl(const ImageInfo& info) : info_(info) {}

    OUString getMimeType() override { return OUString::createFromAscii(info_.mimeType.c_str()); }
    css::awt::Size getSizePixel() override { return {info_.width, info_.height}; }
    css::awt::Size getSize100thMM() override {
        return {hundredths(info_.width, info_.dpiX), hundredths(info_.height, info_.dpiY)};
    }

private:
    const ImageInfo info_;
};

class GraphicProviderImpl : public cppu::WeakImplHelper<css::graphic::XGraphicProvider> {
public:
    Reference<css::graphic::XGraphic> queryGraphic(const Sequence<css::beans::PropertyValue>& descriptor) override {
        OUString url;
        bool found = false;
        for (const auto& property : descriptor)
            if (property.Name == u"URL") found = property.Value >>= url;
        if (!found)
            throw css::lang::IllegalArgumentException(u"queryGraphic: the descriptor names no URL", {}, 0);
        const std::vector<unsigned char> bytes = read(url);
        const std::optional<ImageInfo> info = decodeImage(bytes.data(), bytes.size());
        if (!info) return {};
        return new GraphicImpl(*info);
    }

private:
    static std::vector<unsigned char> read(const OUString& url) {
        OUString path;
        if (!url.startsWith(u"file:") || osl::FileBase::getSystemPathFromFileURL(url, path) != osl_File_E_None)
            throw css::io::IOException(u"queryGraphic: cannot read " + url);
        std::ifstream in(path.toUtf8().getStr(), std::ios::binary);
        if (!in) throw css::io::IOException(u"queryGraphic: cannot read " + url);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) throw css::io::IOException(u"queryGraphic: cannot read " + url);
        return bytes;
    }
};

void registerGraphicProvider(const Reference<::zel::uno::XComponentContext>& context) {
    cppu::registerService(context, kService, [](const auto&, const auto&) {
        return Reference<::zel::uno::XInterface>(static_cast<css::graphic::XGraphicProvider*>(new GraphicProviderImpl));
    });
}

officehost::ServiceRegistration registration(&registerGraphicProvider);

} // namespace
} // namespace officehost::graphic
