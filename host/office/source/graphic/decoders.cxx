// Each decoder runs the library's full decode, so that data which only starts
// like an image (a truncated file, a damaged stream) is refused.  libpng and
// libjpeg report errors by longjmp: the functions that call setjmp keep only
// plain values and buffers freed on both paths, so no destructor is skipped.

#include "decoders.hxx"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace officehost::graphic {
namespace {

// ---- PNG ------------------------------------------------------------------------

struct PngSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

void pngRead(png_structp png, png_bytep out, png_size_t n) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (n > src->size - src->pos) png_error(png, "truncated data");
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

// Errors end the decode quietly: the provider reports them as no graphic.
[[noreturn]] void pngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

bool decodePng(const unsigned char* data, std::size_t size, ImageInfo& info) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (!png) return false;
    png_infop pinfo = png_create_info_struct(png);
    if (!pinfo) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngSource src{data, size, 0};
    png_bytep volatile row = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        std::free(row);
        png_destroy_read_struct(&png, &pinfo, nullptr);
        return false;
    }
    png_set_read_fn(png, &src, pngRead);
    png_read_info(png, pinfo);
    const png_uint_32 width = png_get_image_width(png, pinfo);
    const png_uint_32 height = png_get_image_height(png, pinfo);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, pinfo);
    row = static_cast<png_bytep>(std::malloc(png_get_rowbytes(png, pinfo)));
    if (!row) png_error(png, "out of memory");
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, row, nullptr);
    png_read_end(png, pinfo);
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    if (png_get_pHYs(png, pinfo, &resX, &resY, &unit) && unit == PNG_RESOLUTION_METER && resX > 0 && resY > 0) {
        info.dpiX = resX * 0.0254;
        info.dpiY = resY * 0.0254;
    }
    std::free(row);
    png_destroy_read_struct(&png, &pinfo, nullptr);
    info.mimeType = "image/png";
    info.width = static_cast<std::int32_t>(width);
    info.height = static_cast<std::int32_t>(height);
    return true;
}

// ---- JPEG -----------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool truncated;
};

void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1); }

// Warnings are not printed; running out of data is remembered, since libjpeg
// would otherwise fill the rest of the image and call it a success.
void jpegMessage(j_common_ptr cinfo, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

bool decodeJpeg(const unsigned char* data, std::size_t size, ImageInfo& info) {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jpegFail;
    errors.base.emit_message = jpegMessage;
    errors.truncated = false;
    JSAMPARRAY rows = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    // Progressive images keep all coefficients in memory: bound it, so that a
    // header claiming a huge image fails instead of taking the memory.
    cinfo.mem->max_memory_to_use = 256L * 1024 * 1024;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    rows = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                      cinfo.output_width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
    jpeg_finish_decompress(&cinfo);
    const bool ok = !errors.truncated;
    if (cinfo.saw_JFIF_marker && cinfo.X_density > 0 && cinfo.Y_density > 0) {
        if (cinfo.density_unit == 1) {
            info.dpiX = cinfo.X_density;
            info.dpiY = cinfo.Y_density;
        } else if (cinfo.density_unit == 2) {
            info.dpiX = cinfo.X_density * 2.54;
            info.dpiY = cinfo.Y_density * 2.54;
        }
    }
    info.mimeType = "image/jpeg";
    info.width = static_cast<std::int32_t>(cinfo.image_width);
    info.height = static_cast<std::int32_t>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

// ---- GIF ------------------------------------------------------------------------

struct GifSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

int gifRead(GifFileType* gif, GifByteType* out, int n) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    const std::size_t left = src->size - src->pos;
    const std::size_t count = n < 0 ? 0 : (static_cast<std::size_t>(n) < left ? static_cast<std::size_t>(n) : left);
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
    return static_cast<int>(count);
}

// GIF states no resolution (its aspect ratio byte is no density).  The image
// is read line by line into one line's buffer, so that a header claiming a huge
// image costs no more memory than one line of it.
bool decodeGif(const unsigned char* data, std::size_t size, ImageInfo& info) {
    GifSource src{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&src, gifRead, &error);
    if (!gif) return false;
    bool ok = true;
    int images = 0;
    std::vector<GifPixelType> line;
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            ok = false;
            break;
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR || gif->Image.Width <= 0 || gif->Image.Height <= 0) {
                ok = false;
                break;
            }
            line.resize(static_cast<std::size_t>(gif->Image.Width));
            for (int y = 0; ok && y < gif->Image.Height; ++y)
                ok = DGifGetLine(gif, line.data(), gif->Image.Width) == GIF_OK;
            ++images;
        } else if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* extension = nullptr;
            ok = DGifGetExtension(gif, &code, &extension) == GIF_OK;
            while (ok && extension) ok = DGifGetExtensionNext(gif, &extension) == GIF_OK;
        }
    } while (ok && type != TERMINATE_RECORD_TYPE);
    ok = ok && images > 0 && gif->SWidth > 0 && gif->SHeight > 0;
    info.mimeType = "image/gif";
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    DGifCloseFile(gif, &error);
    return ok;
}

bool startsWith(const unsigned char* data, std::size_t size, const char* magic, std::size_t n) {
    return size >= n && std::memcmp(data, magic, n) == 0;
}

} // namespace

std::optional<ImageInfo> decodeImage(const unsigned char* data, std::size_t size) {
    ImageInfo info;
    bool ok = false;
    if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
        ok = decodePng(data, size, info);
    else if (startsWith(data, size, "\xff\xd8\xff", 3))
        ok = decodeJpeg(data, size, info);
    else if (startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6))
        ok = decodeGif(data, size, info);
    if (!ok || info.width <= 0 || info.height <= 0) return std::nullopt;
    return info;
}

} // namespace officehost::graphic
