#pragma once
// A 32-bit image: width x height pixels, rows top-down, each pixel 0xFFRRGGBB
// in a uint32_t (bytes blue, green, red, 0xFF on a little-endian machine).
// This is Qt's QImage::Format_RGB32, which requires the fourth byte to be
// 0xFF, and a Windows 32-bit top-down DIB, which ignores it, so both front
// ends show it without converting. A new image is opaque black.

#include <cstddef>
#include <cstdint>
#include <vector>

// The fourth byte of every pixel.
inline constexpr uint32_t kOpaque = 0xFF000000u;

struct Image {
  Image() = default;
  Image(int w, int h)
      : width(w < 0 ? 0 : w),
        height(h < 0 ? 0 : h),
        pixels(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height), kOpaque) {}

  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};
