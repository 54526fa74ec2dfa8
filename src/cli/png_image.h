#pragma once
// An Image as the bytes of a PNG file (8-bit RGB), encoded by stb_image_write.

#include <cstdint>
#include <string>
#include <vector>

#include "render/image.h"

// The largest picture the encoder takes: its sizes are ints, so the RGB rows
// (three bytes a pixel and a filter byte a row) must stay well below 2^31.
inline constexpr int64_t kMaxPngPixels = int64_t{1} << 28;

class PngEncoder {
 public:
  // The PNG bytes of `image` (at most kMaxPngPixels pixels, each side at
  // least 1); empty when the encoder fails. The fourth byte of each pixel is
  // not written. The buffers are kept for the next picture.
  const std::string& Encode(const Image& image);

 private:
  std::vector<uint8_t> rgb_;
  std::string png_;
};
