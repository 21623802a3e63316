#include "platform/PngEncoder.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/Faults.h"

namespace rh {

namespace {

// A PNG's sides may be up to 2^31 - 1 pixels; a picture of more than a million either way is no
// chart, and refusing it keeps every size below in range.
constexpr int kMostPixels = 1000000;
// libdeflate's level 2: measured on the 1600 x 900 chart (white areas, grey grid lines, the blue
// line and the hyetograph, antialiased text) it deflates four times as fast as zlib behind libpng
// and gives the smallest file of the fast levels (levels 1 to 4 take about as long; 6 and up,
// longer for little less).
constexpr int kDeflateLevel = 2;

[[noreturn]] void Fail(const std::string& why) {
  throw FileFault(messages::kPngEncodeText + why + ".");
}

void AppendBigEndian(std::string& out, std::uint32_t value) {
  const char bytes[] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                        static_cast<char>(value >> 8), static_cast<char>(value)};
  out.append(bytes, 4);
}

// A chunk: its length, type, data and the CRC of type and data.
void AppendChunk(std::string& out, const char (&type)[5], const char* data, std::size_t size) {
  AppendBigEndian(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out.size();
  out.append(type, 4);
  out.append(data, size);
  AppendBigEndian(out, libdeflate_crc32(0, out.data() + start, 4 + size));
}

struct CompressorFree {
  void operator()(libdeflate_compressor* compressor) const {
    libdeflate_free_compressor(compressor);
  }
};

}  // namespace

std::string EncodePng(const std::uint8_t* pixels, int width, int height, std::size_t bytesPerLine) {
  if (width <= 0 || height <= 0)
    Fail("the picture has no pixels");
  if (width > kMostPixels || height > kMostPixels)
    Fail("the picture is too large");
  if (pixels == nullptr)
    Fail("there is no image");
  if (bytesPerLine / 4 < static_cast<std::size_t>(width))
    Fail("rows of " + std::to_string(bytesPerLine) + " bytes cannot hold " + std::to_string(width) +
         " pixels");

  // The image data before deflating: each row 8-bit R, G, B after a filter byte of 0 (none: the
  // chart's flat colours repeat exactly, a pixel or a row back, which deflate finds as they are).
  // The buffers (a few megabytes) are kept from one picture to the next: fresh memory of that size
  // costs a page fault for every 4 KB of it, which here takes longer than the deflating.
  thread_local std::vector<char> raw;
  thread_local std::vector<char> deflated;
  const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width);
  const std::size_t rawSize = rowBytes * static_cast<std::size_t>(height);
  raw.resize(rawSize);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* word = pixels + static_cast<std::size_t>(y) * bytesPerLine;
    char* rgb = raw.data() + static_cast<std::size_t>(y) * rowBytes;
    *rgb++ = 0;
    for (int x = 0; x < width; ++x, word += 4, rgb += 3) {
      std::uint32_t value = 0;  // 0xffRRGGBB in host byte order
      std::memcpy(&value, word, 4);
      rgb[0] = static_cast<char>(value >> 16);
      rgb[1] = static_cast<char>(value >> 8);
      rgb[2] = static_cast<char>(value);
    }
  }

  thread_local const std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
      libdeflate_alloc_compressor(kDeflateLevel));
  if (!compressor)
    Fail("out of memory");
  deflated.resize(libdeflate_zlib_compress_bound(compressor.get(), rawSize));
  const std::size_t size = libdeflate_zlib_compress(compressor.get(), raw.data(), rawSize,
                                                    deflated.data(), deflated.size());
  if (size == 0)
    Fail("the compressed image does not fit");

  std::string png("\x89PNG\r\n\x1a\n", 8);
  png.reserve(8 + 25 + 12 + size + 12);
  std::string header;
  AppendBigEndian(header, static_cast<std::uint32_t>(width));
  AppendBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits a sample, RGB, deflate, no interlace
  AppendChunk(png, "IHDR", header.data(), header.size());
  AppendChunk(png, "IDAT", deflated.data(), size);
  AppendChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace rh
