// PNG files from images drawn in memory, tuned for charts: lossless and fast.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rh {

// The bytes of an 8-bit RGB PNG file (no alpha) holding the opaque image at `pixels`: `height`
// rows `bytesPerLine` apart, each of `width` 32-bit words 0xffRRGGBB in host byte order (the
// memory layout of QImage::Format_RGB32). Throws FileFault when the image cannot be encoded: a
// size of zero or beyond PNG's limits, no pixels, rows shorter than the width, no memory.
std::string EncodePng(const std::uint8_t* pixels, int width, int height, std::size_t bytesPerLine);

}  // namespace rh
