#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Faults.h"
#include "platform/PngEncoder.h"

namespace rh {
namespace {

// An opaque image in the layout of QImage::Format_RGB32: 0xffRRGGBB words, rows `stride` bytes
// apart (the padding bytes hold junk that must not reach the file).
struct Image {
  int width;
  int height;
  std::size_t stride;
  std::vector<std::uint8_t> bytes;

  Image(int w, int h, std::size_t padding)
      : width(w),
        height(h),
        stride(4 * static_cast<std::size_t>(w) + padding),
        bytes(stride * static_cast<std::size_t>(h), 0xA5) {}

  std::size_t Offset(int x, int y) const {
    return static_cast<std::size_t>(y) * stride + 4 * static_cast<std::size_t>(x);
  }
  std::uint32_t At(int x, int y) const {
    std::uint32_t word = 0;
    std::memcpy(&word, &bytes[Offset(x, y)], 4);
    return word;
  }
  void Set(int x, int y, std::uint32_t rgb) {
    const std::uint32_t word = 0xff000000u | rgb;
    std::memcpy(&bytes[Offset(x, y)], &word, 4);
  }
};

// A chart-like picture: a gradient with a different course in each channel, grey grid lines, a
// blue bar and a speckled patch standing for antialiased text.
Image Drawing(int width, int height, std::size_t padding) {
  Image image(width, height, padding);
  std::uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t rgb = static_cast<std::uint32_t>(
          (x * 255 / width) << 16 | (y * 255 / height) << 8 | ((x + 2 * y) & 0xff));
      if (y % 7 == 3 || x % 11 == 5)
        rgb = 0xd7d7d7;
      if (x > width / 3 && x < width / 2 && y > height / 4)
        rgb = 0x4682c8;
      if (x < width / 4 && y < height / 3) {
        noise = noise * 1103515245u + 12345u;
        rgb = noise >> 8;
      }
      image.Set(x, y, rgb);
    }
  }
  return image;
}

TEST(PngEncoder, DecodesToTheSamePixels) {
  struct {
    const char* name;
    int width;
    int height;
    std::size_t padding;
  } cases[] = {
      {"odd width, padded rows", 37, 23, 12},
      {"one pixel", 1, 1, 0},
      {"wide", 1601, 9, 4},
  };
  for (const auto& c : cases) {
    const Image image = Drawing(c.width, c.height, c.padding);
    const std::string file = EncodePng(image.bytes.data(), c.width, c.height, image.stride);

    png_image decoded{};
    decoded.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&decoded, file.data(), file.size())) << c.name;
    EXPECT_EQ(decoded.format, static_cast<png_uint_32>(PNG_FORMAT_RGB)) << c.name;
    ASSERT_EQ(decoded.width, static_cast<png_uint_32>(c.width)) << c.name;
    ASSERT_EQ(decoded.height, static_cast<png_uint_32>(c.height)) << c.name;
    decoded.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(decoded));
    ASSERT_TRUE(png_image_finish_read(&decoded, nullptr, rgb.data(), 0, nullptr)) << c.name;

    int wrong = 0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const std::uint8_t* p = &rgb[3 * (static_cast<std::size_t>(y) * c.width + x)];
        const std::uint32_t got = 0xff000000u | p[0] << 16 | p[1] << 8 | p[2];
        if (got != image.At(x, y) && ++wrong <= 3)
          ADD_FAILURE() << c.name << " (" << x << ", " << y << "): " << std::hex << got
                        << " instead of " << image.At(x, y);
      }
    }
  }
}

TEST(PngEncoder, ImagesThatCannotBeEncodedAreFileFaults) {
  const Image image = Drawing(8, 4, 0);
  struct {
    const char* name;
    const std::uint8_t* pixels;
    int width;
    int height;
    std::size_t stride;
  } cases[] = {
      {"zero size", image.bytes.data(), 0, 0, 0},
      {"no rows", image.bytes.data(), 8, 0, 32},
      {"no columns", image.bytes.data(), 0, 4, 32},
      {"negative width", image.bytes.data(), -8, 4, 32},
      {"too large", image.bytes.data(), 1 << 30, 4, std::size_t{4} << 30},
      {"rows shorter than the width", image.bytes.data(), 8, 4, 28},
      {"no pixels", nullptr, 8, 4, 32},
  };
  for (const auto& c : cases)
    EXPECT_THROW(EncodePng(c.pixels, c.width, c.height, c.stride), FileFault) << c.name;
}

}  // namespace
}  // namespace rh
