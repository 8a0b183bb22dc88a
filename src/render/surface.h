// A drawing target as the pixel routines see it: plain 32-bit memory with a pitch.
// It is either an Image or the locked screen; a null base means there is nothing to
// draw on (no image and no open screen).
#pragma once

#include <cstdint>

struct Image;

struct Surface {
    uint8_t* base = nullptr; // pixel (0, 0)
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row

    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(base + static_cast<intptr_t>(y) * pitch); }
    bool contains(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// The image itself, or the screen when target is null. Valid for the screen only
// while it is locked.
Surface surfaceOf(Image* target);
