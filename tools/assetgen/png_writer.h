// A minimal PNG encoder for the generator: 8-bit RGB (colour type 2) or RGBA (type 6),
// not interlaced, one IDAT compressed by zlib at level 9 after a per-row filter choice.
// Throws std::runtime_error if zlib fails.
#pragma once

#include "raster.h"

#include <cstdint>
#include <vector>

namespace assetgen {

std::vector<uint8_t> encodePng(const Raster& image);

} // namespace assetgen
