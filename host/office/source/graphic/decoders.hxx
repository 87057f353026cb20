#pragma once
// Decoding of image data for the graphic provider: the format told from the
// bytes, a full decode with the format's library (libpng, libjpeg, giflib), and
// the resolution that the image states.  Not visible outside libmergedqx.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace officehost::graphic {

struct ImageInfo {
    std::string mimeType;  // "image/png", "image/jpeg", "image/gif"
    std::int32_t width = 0;   // pixels
    std::int32_t height = 0;  // pixels
    // Pixels per inch the image states (PNG pHYs in metres, JFIF density in
    // inches or centimetres); 0 when it states none.
    double dpiX = 0;
    double dpiY = 0;
};

// The image's format and size when the whole image decodes; nothing for data
// that is empty, truncated, corrupt or of another format.
std::optional<ImageInfo> decodeImage(const unsigned char* data, std::size_t size);

} // namespace officehost::graphic
