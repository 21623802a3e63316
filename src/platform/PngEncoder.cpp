#include "platform/PngEncoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/Faults.h"

namespace rh {

namespace {

// What libpng's callbacks share with the encoder: the file's bytes and the messages of a failure.
struct Sink {
  std::string* bytes;
  char error[160];
  char warning[160];
};

// libpng reports an error here and must not get control back: the jump returns to WriteImage.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<Sink*>(png_get_error_ptr(png));
  std::snprintf(sink->error, sizeof sink->error, "%s", message);
  png_longjmp(png, 1);
}

// Warnings do not stop the image; the last one explains a following error (libpng warns about
// each fault of the image header, then fails with "Invalid IHDR data").
void OnWarning(png_structp png, png_const_charp message) {
  auto* sink = static_cast<Sink*>(png_get_error_ptr(png));
  std::snprintf(sink->warning, sizeof sink->warning, "%s", message);
}

bool Append(std::string& bytes, png_const_bytep data, std::size_t length) noexcept {
  try {
    bytes.append(reinterpret_cast<const char*>(data), length);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// No C++ exception may cross libpng's C frames, so a failed append becomes a libpng error.
void OnWrite(png_structp png, png_bytep data, std::size_t length) {
  if (!Append(*static_cast<Sink*>(png_get_io_ptr(png))->bytes, data, length))
    png_error(png, "out of memory");
}

void OnFlush(png_structp /*png*/) {}

// One row of 32-bit words 0xffRRGGBB (host byte order) as 8-bit R, G, B.
void PackRow(const std::uint8_t* words, int width, png_bytep rgb) {
  for (int x = 0; x < width; ++x, words += 4, rgb += 3) {
    std::uint32_t word = 0;
    std::memcpy(&word, words, 4);
    rgb[0] = static_cast<png_byte>(word >> 16);
    rgb[1] = static_cast<png_byte>(word >> 8);
    rgb[2] = static_cast<png_byte>(word);
  }
}

// All libpng calls that can fail. An error jumps back to the setjmp here, skipping the frames in
// between, so this frame holds plain data only and no destructor is ever skipped. False after an
// error.
bool WriteImage(png_structp png, png_infop info, const std::uint8_t* pixels, int width, int height,
                std::size_t bytesPerLine, png_bytep& row) {
  // libpng reports errors by a longjmp back to here.
  if (setjmp(png_jmpbuf(png)))
    return false;
  // Negative sizes become values beyond PNG's limits, which libpng refuses.
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // Chosen by measuring the 1600 x 900 chart (white areas, grey grid lines, blue bars,
  // antialiased text). No row filter: the chart's flat colours repeat exactly, so deflate finds
  // them unfiltered, a pixel or a row back. Filtering each row against the one above gives a
  // file a sixth smaller but takes over a quarter longer (libpng filters byte by byte);
  // QImage::save, which tries every filter on every row, takes several times as long.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  // zlib level 3 is as fast as level 1 here and gives a smaller file. Memory level 4 instead of
  // 8 keeps small the hash table that zlib shifts along after every 32 KB of input (at level 8
  // a fifth of the time), and its shorter blocks fit their codes to the parts of the chart,
  // which makes the file smaller too.
  png_set_compression_level(png, 3);
  png_set_compression_mem_level(png, 4);
  png_write_info(png, info);
  // The header has passed libpng's size checks: the row is small enough to allocate.
  row = static_cast<png_bytep>(png_malloc(png, 3 * static_cast<png_alloc_size_t>(width)));
  for (int y = 0; y < height; ++y) {
    PackRow(pixels + static_cast<std::size_t>(y) * bytesPerLine, width, row);
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

// libpng's write structures and the row in RGB, released whatever way the encoding ends.
class PngWriter {
 public:
  explicit PngWriter(Sink& sink)
      : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning)) {
    if (png_ != nullptr)
      info_ = png_create_info_struct(png_);
  }
  ~PngWriter() {
    png_free(png_, row_);
    png_destroy_write_struct(&png_, &info_);
  }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }
  png_bytep& Row() { return row_; }

 private:
  png_structp png_;
  png_infop info_ = nullptr;
  png_bytep row_ = nullptr;
};

[[noreturn]] void Fail(const std::string& why) {
  throw FileFault("Cannot encode the hydrograph plot as PNG: " + why + ".");
}

}  // namespace

std::string EncodePng(const std::uint8_t* pixels, int width, int height, std::size_t bytesPerLine) {
  // libpng checks the size itself (zero, negative, too large); the rows are for us to check.
  if (width > 0 && height > 0) {
    if (pixels == nullptr)
      Fail("there is no image");
    if (bytesPerLine / 4 < static_cast<std::size_t>(width))
      Fail("rows of " + std::to_string(bytesPerLine) + " bytes cannot hold " +
           std::to_string(width) + " pixels");
  }
  std::string bytes;
  Sink sink{&bytes, "", ""};
  PngWriter writer(sink);
  if (writer.Info() == nullptr)
    Fail("out of memory");
  png_set_write_fn(writer.Png(), &sink, OnWrite, OnFlush);
  if (!WriteImage(writer.Png(), writer.Info(), pixels, width, height, bytesPerLine, writer.Row())) {
    std::string why = sink.error;
    if (sink.warning[0] != '\0')
      why += std::string(" (") + sink.warning + ")";
    Fail(why);
  }
  return bytes;
}

}  // namespace rh
