#include "cli/png_image.h"

#include <png.h>
#include <zlib.h>

#include <cassert>

namespace {

void Append(png_structp png, png_bytep data, size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), size);
}

void Flush(png_structp) {}

int FilterFlag(PngRowFilter filter) {
  switch (filter) {
    case PngRowFilter::kNone:
      return PNG_FILTER_NONE;
    case PngRowFilter::kSub:
      return PNG_FILTER_SUB;
    case PngRowFilter::kUp:
      return PNG_FILTER_UP;
    case PngRowFilter::kAverage:
      return PNG_FILTER_AVG;
    case PngRowFilter::kPaeth:
      return PNG_FILTER_PAETH;
  }
  return PNG_FILTER_NONE;
}

// Writes the whole PNG into `out`; false where libpng reports an error. Only
// plain pointers live in this frame, so libpng's longjmp on an error leaves
// nothing unreleased behind it.
bool WritePng(const Image& image, const PngSettings& settings, uint8_t* row, std::string* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, Flush);
  png_set_compression_level(png, settings.compressionLevel);
  png_set_compression_strategy(png, settings.runLengthOnly ? Z_RLE : Z_DEFAULT_STRATEGY);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, FilterFlag(settings.filter));
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  const uint32_t* pixel = image.pixels.data();
  for (int y = 0; y < image.height; ++y) {
    uint8_t* out_byte = row;
    for (int x = 0; x < image.width; ++x, ++pixel) {
      *out_byte++ = static_cast<uint8_t>(*pixel >> 16);
      *out_byte++ = static_cast<uint8_t>(*pixel >> 8);
      *out_byte++ = static_cast<uint8_t>(*pixel);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

const std::string& PngEncoder::Encode(const Image& image) {
  assert(image.width >= 1 && image.height >= 1 &&
         int64_t{image.width} * image.height <= kMaxPngPixels && "picture size out of range");
  row_.resize(static_cast<size_t>(image.width) * 3);
  png_.clear();
  if (!WritePng(image, settings_, row_.data(), &png_)) png_.clear();
  return png_;
}
