#pragma once
// A 32-bit image: width x height pixels, rows top-down, each pixel 0x00RRGGBB
// in a uint32_t (bytes blue, green, red, unused on a little-endian machine).
// This is Qt's QImage::Format_RGB32 and a Windows 32-bit top-down DIB, so
// both front ends show it without converting.

#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
  Image() = default;
  Image(int w, int h)
      : width(w < 0 ? 0 : w),
        height(h < 0 ? 0 : h),
        pixels(static_cast<std::size_t>(this->width) * static_cast<std::size_t>(this->height)) {}

  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};
