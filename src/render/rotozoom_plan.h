// Set-up of a rotated, scaled sprite draw: the inverse steps, the rotated bounding
// box, its clipping to the destination and the sampling start. The pixel loops of
// the three drawers share it, so every rounding of the box happens in one place.
#pragma once

#include "render/surface.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

struct Image;

namespace rotozoom {

struct Plan {
    // Destination region: every pixel of it lies inside the destination.
    int left = 0, top = 0, columns = 0, rows = 0;
    // Source position of the region's first column is (startX - rowTermX, startY +
    // rowTermY); a column adds (ix, jx), a row adds jy to rowTermX and iy to rowTermY.
    float startX = 0, startY = 0, rowTermX = 0, rowTermY = 0;
    float ix = 0, jx = 0, iy = 0, jy = 0;
};

struct Request {
    int x, y, angle;
    float zx, zy;
    bool pivot = false; // ROTOZOOM's pivot correction by (px, py)
    int px = 0, py = 0;
    bool oneSmaller = false; // ROTOZOOM_BLEND visits one column and one row less
};

// False when nothing is to be drawn (a box clipped to nothing, an empty source or
// destination). Zoom checks are the caller's: zx must be non-zero here.
bool planRotozoom(const Surface& dst, const Image& src, const Request& request, Plan& plan);

// The source as the pixel loops read it; false for a source they cannot address.
struct Source {
    const uint8_t* pixels;
    uint32_t width, height;
    size_t pitch;
};
bool sourceOf(const Image* src, Source& out);

// The texel at (tx, ty); false outside the source, negative coordinates included.
inline bool readTexel(const Source& src, int32_t tx, int32_t ty, uint32_t& texel)
{
    if (uint32_t(tx) >= src.width || uint32_t(ty) >= src.height) return false;
    std::memcpy(&texel, src.pixels + size_t(uint32_t(ty)) * src.pitch + size_t(uint32_t(tx)) * 4, sizeof texel);
    return true;
}

} // namespace rotozoom
