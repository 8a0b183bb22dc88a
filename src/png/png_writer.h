// The project's one PNG encoder, for the asset generator and for screenshots: 8-bit
// RGB (colour type 2) or RGBA (type 6), not interlaced, one IDAT compressed by zlib
// after a per-row filter choice. Screenshots take encodePngBytes, which says when
// memory runs out instead of throwing (the browser build catches nothing); the tools
// take encodePng.
#pragma once

#include "files/byte_block.h"
#include "png/raster.h"

#include <cstdint>
#include <string>
#include <vector>

// Level 9 packs tightest; the generator's committed files are made with it.
constexpr int kBestCompression = 9;

struct EncodedPng {
    ByteBlock data; // null on failure, with the problem in words
    size_t size = 0;
    std::string problem;
};

// The PNG file; on running out of memory (an invalid raster included) or a zlib
// failure, no data and the problem.
EncodedPng encodePngBytes(const Raster& image, int compressionLevel = kBestCompression);
// encodePngBytes as a vector; throws std::runtime_error with the problem on failure.
std::vector<uint8_t> encodePng(const Raster& image, int compressionLevel = kBestCompression);
