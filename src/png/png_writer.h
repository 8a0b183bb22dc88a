// The project's one PNG encoder, for the asset generator and for screenshots: 8-bit
// RGB (colour type 2) or RGBA (type 6), not interlaced, one IDAT compressed by zlib
// after a per-row filter choice. Throws std::runtime_error if zlib fails.
#pragma once

#include "png/raster.h"

#include <cstdint>
#include <vector>

// Level 9 packs tightest; the generator's committed files are made with it.
constexpr int kBestCompression = 9;

std::vector<uint8_t> encodePng(const Raster& image, int compressionLevel = kBestCompression);
