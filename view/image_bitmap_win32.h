// The header and colours with which Windows draws a palette image of the
// game's art (top row first, 8 bits a pixel).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "resources/images.h"

// A BITMAPINFO with 256 colours, as bytes.
std::vector<uint8_t> ImageBitmapInfo(const Image& image, const Palette& palette);
