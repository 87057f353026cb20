#include <testsupport/images/Images.hxx>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace testsupport::images {
namespace {

unsigned char shade(int x, int y) { return static_cast<unsigned char>((x * 37 + y * 91) & 0xff); }

void pngWrite(png_structp png, png_bytep data, png_size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}
void pngFlush(png_structp) {}

// Plain values only between setjmp and the end: nothing to destroy on longjmp.
bool encodePng(int width, int height, unsigned pixelsPerMetre, std::string* out, std::vector<unsigned char>* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, pngWrite, pngFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (pixelsPerMetre > 0) png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) (*row)[x] = shade(x, y);
        png_write_row(png, row->data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};
void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }

bool encodeJpeg(int width, int height, DensityUnit unit, int xDensity, int yDensity, std::string* out,
                std::vector<unsigned char>* row) {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegFail;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = static_cast<UINT8>(unit);
    cinfo.X_density = static_cast<UINT16>(xDensity);
    cinfo.Y_density = static_cast<UINT16>(yDensity);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) (*row)[x] = shade(x, static_cast<int>(cinfo.next_scanline));
        JSAMPROW rows[1] = {row->data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    out->assign(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return true;
}

int gifWrite(GifFileType* gif, const GifByteType* data, int n) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), n);
    return n;
}

} // namespace

std::string png(int width, int height, unsigned pixelsPerMetre) {
    std::string out;
    std::vector<unsigned char> row(static_cast<std::size_t>(width));
    if (!encodePng(width, height, pixelsPerMetre, &out, &row)) throw std::runtime_error("png: encoding failed");
    return out;
}

std::string jpeg(int width, int height, DensityUnit unit, int xDensity, int yDensity) {
    std::string out;
    std::vector<unsigned char> row(static_cast<std::size_t>(width));
    if (!encodeJpeg(width, height, unit, xDensity, yDensity, &out, &row))
        throw std::runtime_error("jpeg: encoding failed");
    return out;
}

std::string gif(int width, int height) {
    std::string out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, gifWrite, &error);
    if (!file) throw std::runtime_error("gif: cannot start encoding");
    GifColorType colours[4] = {{0, 0, 0}, {85, 85, 85}, {170, 170, 170}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    bool ok = map && EGifPutScreenDesc(file, width, height, 2, 0, map) == GIF_OK &&
              EGifPutImageDesc(file, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (int y = 0; ok && y < height; ++y) {
        for (int x = 0; x < width; ++x) line[x] = static_cast<GifPixelType>(shade(x, y) % 4);
        ok = EGifPutLine(file, line.data(), width) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(file, &error) != GIF_OK) ok = false;
    if (!ok) throw std::runtime_error("gif: encoding failed");
    return out;
}

::zel::uno::Sequence<sal_Int8> toSequence(const std::string& bytes) {
    return ::zel::uno::Sequence<sal_Int8>(reinterpret_cast<const sal_Int8*>(bytes.data()),
                                          static_cast<sal_Int32>(bytes.size()));
}

} // namespace testsupport::images
