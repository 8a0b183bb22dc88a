// An 8-bit picture: rows top to bottom, each pixel `channels` bytes in file order
// (3 = RGB, 4 = RGBA), exactly the layout the PNG writer filters. The samples are
// allocated as a ByteBlock: a raster memory could not hold is not valid().
#pragma once

#include "files/byte_block.h"

#include <cstddef>
#include <cstdint>

struct Raster {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 3;
    ByteBlock samples; // zero-filled at creation

    Raster(uint32_t w, uint32_t h, uint32_t c)
        : width(w), height(h), channels(c), samples(allocateBytes(size_t(w) * h * c, true))
    {
    }
    bool valid() const { return samples != nullptr; }

    uint8_t* pixel(uint32_t x, uint32_t y) { return &samples[(size_t(y) * width + x) * channels]; }
    const uint8_t* pixel(uint32_t x, uint32_t y) const { return &samples[(size_t(y) * width + x) * channels]; }
};
