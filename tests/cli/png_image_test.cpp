// The encoder's PNG decodes back to the picture's pixels, whatever the row
// filter, the size (one pixel, odd sides) or the pixels (random, so every
// filter meets every byte difference).
#include "cli/png_image.h"

#include <gtest/gtest.h>

#include <random>

#include "png_reading.h"

namespace {

class PngRoundTrip : public testing::TestWithParam<std::tuple<PngRowFilter, int, int>> {};

TEST_P(PngRoundTrip, DecodesToTheSamePixels) {
  const auto [filter, width, height] = GetParam();
  Image image(width, height);
  std::mt19937 rng(static_cast<unsigned>(width * 31 + height));
  for (uint32_t& p : image.pixels) p = kOpaque | (rng() & 0xFFFFFFu);
  for (size_t i = 0; i < image.pixels.size() / 2; ++i) image.pixels[i] = kOpaque;  // a run of black
  PngEncoder encoder(PngSettings{1, filter, true});
  const std::optional<RgbPicture> decoded = DecodePng(encoder.Encode(image));
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, width);
  ASSERT_EQ(decoded->height, height);
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    const uint8_t* rgb = &decoded->rgb[3 * i];
    ASSERT_EQ(kOpaque | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2], image.pixels[i]) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(FiltersAndSizes, PngRoundTrip,
                         testing::Combine(testing::Values(PngRowFilter::kNone, PngRowFilter::kSub, PngRowFilter::kUp,
                                                          PngRowFilter::kAverage, PngRowFilter::kPaeth),
                                          testing::Values(1, 7), testing::Values(1, 5)));

}  // namespace
