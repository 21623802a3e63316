#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Faults.h"
#include "platform/PngEncoder.h"

namespace rh {
namespace {

// A chart-like picture in the layout of QImage::Format_RGB32 (0xffRRGGBB words), rows `stride`
// words apart with junk in the padding: a gradient with a different course in each channel, grey
// grid lines, a blue bar and a noisy patch standing for antialiased text.
std::vector<std::uint32_t> Drawing(int width, int height, int stride) {
  std::vector<std::uint32_t> words(static_cast<std::size_t>(stride) * height, 0x12345678);
  std::uint32_t noise = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint32_t rgb = (x * 255 / width) << 16 | (y * 255 / height) << 8 | ((x + 2 * y) & 0xff);
      if (y % 7 == 3 || x % 11 == 5)
        rgb = 0xd7d7d7;
      if (x > width / 3 && x < width / 2 && y > height / 4)
        rgb = 0x4682c8;
      if (x < width / 4 && y < height / 3)
        rgb = (noise = noise * 1103515245u + 12345u) >> 8;
      words[static_cast<std::size_t>(y) * stride + x] = 0xff000000u | rgb;
    }
  }
  return words;
}

TEST(PngEncoder, DecodesToTheSamePixels) {
  struct {
    const char* name;
    int width;
    int height;
    int stride;
  } cases[] = {
      {"odd width, padded rows", 37, 23, 40},
      {"one pixel", 1, 1, 1},
      {"wide", 1601, 9, 1602},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint32_t> image = Drawing(c.width, c.height, c.stride);
    const std::string file = EncodePng(reinterpret_cast<const std::uint8_t*>(image.data()), c.width,
                                       c.height, 4 * static_cast<std::size_t>(c.stride));

    png_image decoded{};
    decoded.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&decoded, file.data(), file.size())) << c.name;
    EXPECT_EQ(decoded.format, static_cast<png_uint_32>(PNG_FORMAT_RGB)) << c.name;
    ASSERT_EQ(decoded.width, static_cast<png_uint_32>(c.width)) << c.name;
    ASSERT_EQ(decoded.height, static_cast<png_uint_32>(c.height)) << c.name;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(decoded));
    ASSERT_TRUE(png_image_finish_read(&decoded, nullptr, rgb.data(), 0, nullptr)) << c.name;

    int wrong = 0;
    for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
      const std::uint32_t got =
          0xff000000u | rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
      const std::uint32_t want = image[i / c.width * c.stride + i % c.width];
      if (got != want && ++wrong <= 3)
        ADD_FAILURE() << c.name << " pixel " << i << ": " << std::hex << got << " not " << want;
    }
  }
}

TEST(PngEncoder, ImagesThatCannotBeEncodedAreFileFaults) {
  const std::vector<std::uint32_t> image = Drawing(8, 4, 8);
  const auto* pixels = reinterpret_cast<const std::uint8_t*>(image.data());
  struct {
    const char* name;
    const std::uint8_t* pixels;
    int width;
    int height;
    std::size_t stride;
  } cases[] = {
      {"zero size", pixels, 0, 0, 0},
      {"no rows", pixels, 8, 0, 32},
      {"no columns", pixels, 0, 4, 32},
      {"negative width", pixels, -8, 4, 32},
      {"too large", pixels, 1 << 30, 4, std::size_t{4} << 30},
      {"rows shorter than the width", pixels, 8, 4, 28},
      {"no pixels", nullptr, 8, 4, 32},
  };
  for (const auto& c : cases)
    EXPECT_THROW(EncodePng(c.pixels, c.width, c.height, c.stride), FileFault) << c.name;
}

}  // namespace
}  // namespace rh
