#pragma once
// Test support: a PNG of an image for a person to look at.

#include <cstdint>
#include <string>

#include "render/image.h"

// Writes `image` as an 8-bit RGB PNG; returns false if it could not.
bool WritePng(const Image& image, const std::string& path);
