#pragma once
// The PNG reader the tests check pictures with: libpng's simplified API.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // three bytes a pixel, rows top-down
};

// Empty where the bytes are not a PNG that libpng reads.
std::optional<RgbPicture> DecodePng(const std::string& bytes);
std::optional<RgbPicture> ReadPngFile(const std::string& path);
