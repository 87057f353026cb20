#pragma once
// The bytes of small real images, made by the formats' own encoders (libpng,
// libjpeg, giflib), for tests that load images:
//
//   std::string data = testsupport::images::png(4, 3, 3780);  // 4 x 3, 96 dpi stated
//   auto bytes = testsupport::images::toSequence(data);
//
// Each image is filled with a small gradient, so its data is not trivially empty.

#include <zel/uno/Sequence.hxx>

#include <string>

namespace testsupport::images {

// A PNG of width x height pixels; with pixelsPerMetre > 0 it states that
// resolution in a pHYs chunk (3780 per metre is 96 dpi, 11811 is 300 dpi).
std::string png(int width, int height, unsigned pixelsPerMetre = 0);

// Units of a JFIF density.
enum class DensityUnit { NONE = 0, INCH = 1, CENTIMETRE = 2 };
// A JPEG of width x height pixels whose JFIF header states the density.
std::string jpeg(int width, int height, DensityUnit unit = DensityUnit::NONE, int xDensity = 1, int yDensity = 1);

// A GIF of width x height pixels.
std::string gif(int width, int height);

::zel::uno::Sequence<sal_Int8> toSequence(const std::string& bytes);

} // namespace testsupport::images
