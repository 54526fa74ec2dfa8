#pragma once
// An Image as the bytes of a PNG file (8-bit RGB), encoded by libpng.

#include <cstdint>
#include <string>
#include <vector>

#include "render/image.h"

// The largest picture the encoder takes: its rows (three bytes a pixel and a
// filter byte a row) must stay well below 2^31 bytes.
inline constexpr int64_t kMaxPngPixels = int64_t{1} << 28;

// The one row filter every row gets (PNG's filter types 0 to 4).
enum class PngRowFilter { kNone, kSub, kUp, kAverage, kPaeth };

// How the rows are filtered and deflated. The default is what lumistra-cli
// writes: the views are runs of equal pixels (the diagram's black field, the
// wall's rows of equal grey above and below each other), which the Up filter
// turns into runs of zeros and zlib's run-length strategy at level 1 packs
// quickly, in files about the size that stronger settings give.
struct PngSettings {
  int compressionLevel = 1;  // zlib's 1 (fastest) to 9
  PngRowFilter filter = PngRowFilter::kUp;
  bool runLengthOnly = true;  // zlib's Z_RLE strategy instead of its default
};

class PngEncoder {
 public:
  explicit PngEncoder(PngSettings settings = {}) : settings_(settings) {}

  // The PNG bytes of `image` (at most kMaxPngPixels pixels, each side at
  // least 1); empty when the encoder fails. The fourth byte of each pixel is
  // not written. The buffers are kept for the next picture.
  const std::string& Encode(const Image& image);

 private:
  PngSettings settings_;
  std::vector<uint8_t> row_;
  std::string png_;
};
