#pragma once
// Test support: a hash of a whole image and a PNG of it for a person to look at.

#include <cstdint>
#include <string>

#include "render/image.h"

// FNV-1a over the pixels' red, green and blue bytes, row by row, and the size.
uint64_t ImageHash(const Image& image);

// Writes `image` as an 8-bit RGB PNG; returns false if it could not.
bool WritePng(const Image& image, const std::string& path);
