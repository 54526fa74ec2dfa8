#include "cli/png_image.h"

#include <cassert>

// The implementation of the single-header library lives in this one file.
// The PNG's default compression level is kept (see the benchmark).
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

void Append(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

}  // namespace

const std::string& PngEncoder::Encode(const Image& image) {
  assert(image.width >= 1 && image.height >= 1 &&
         int64_t{image.width} * image.height <= kMaxPngPixels && "picture size out of range");
  rgb_.resize(image.pixels.size() * 3);
  uint8_t* out = rgb_.data();
  for (const uint32_t pixel : image.pixels) {
    *out++ = static_cast<uint8_t>(pixel >> 16);
    *out++ = static_cast<uint8_t>(pixel >> 8);
    *out++ = static_cast<uint8_t>(pixel);
  }
  png_.clear();
  if (stbi_write_png_to_func(Append, &png_, image.width, image.height, 3, rgb_.data(),
                             image.width * 3) == 0) {
    png_.clear();
  }
  return png_;
}
