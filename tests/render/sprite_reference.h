// A slow, literal sprite drawer for holding the real ones against: the documented
// steps of the three rotated-sprite drawers one by one (zoom checks, inverse steps,
// rotated box, pivot, clipping, sampling, put-down rule), in 32-bit floats, on a plain
// pixel array, so the real drawers must match it pixel for pixel. Sane inputs only:
// finite zooms and coordinates well inside the int range.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace sprite_reference {

enum class Rule { Copy, Alpha, Blend };

struct Sprite {
    int width, height;
    std::vector<uint32_t> texels; // row-major, width per row
};

struct Target {
    int width, height;
    std::vector<uint32_t> pixels;
};

struct Draw {
    Rule rule;
    int x, y, angle;
    float zx, zy;
    uint32_t transparent;
    int px = 0, py = 0; // Copy only
    int opacity = 0;    // Blend only
};

inline int64_t nearest(float value) { return int64_t(std::nearbyint(value)); }

inline uint32_t put(const Draw& d, uint32_t dst, uint32_t texel)
{
    if (texel == d.transparent) return dst;
    if (d.rule == Rule::Copy) return texel;
    uint32_t out = 0;
    if (d.rule == Rule::Alpha) {
        const int a = int(texel >> 24);
        if (a == 0) return dst;
        for (int shift = 0; shift < 24; shift += 8) {
            const int s = int(texel >> shift & 0xFF), b = int(dst >> shift & 0xFF);
            out |= uint32_t(b + int(std::floor((s - b) * a / 256.0))) << shift;
        }
        return out; // alpha byte 0
    }
    const int opacity = std::clamp(d.opacity, 0, 255);
    for (int shift = 0; shift < 32; shift += 8) {
        const int s = int(texel >> shift & 0xFF), b = int(dst >> shift & 0xFF);
        out |= uint32_t(b + int(std::floor((s - b) * opacity / 256.0))) << shift;
    }
    return out;
}

inline void draw(Target& t, const Sprite& src, Draw d)
{
    // Step 1: zoom checks.
    if (d.rule == Rule::Alpha) {
        if (!(d.zx > 0.0f && d.zy > 0.0f)) return;
    } else {
        if (d.zx == 0.0f) return;
        if (d.zy == 0.0f) d.zy = d.zx;
    }
    const long double radians = static_cast<long double>(d.angle) * static_cast<long double>(0.017453292f);
    const float c = float(std::cos(radians)), s = float(std::sin(radians));
    const float zx = d.zx, zy = d.zy;
    // Step 2: inverse steps.
    const float ix = c / zx, jx = s / zx, iy = c / zy, jy = s / zy;
    // Step 3: the rotated corner offsets.
    const int64_t hw = src.width >> 1, hh = src.height >> 1;
    const float fw = float(hw), fh = float(hh);
    const int64_t ax = nearest(fw * c * zx + fh * s * zx);
    const int64_t ay = nearest(fh * c * zy - fw * s * zy);
    const int64_t bx = nearest(fh * s * zx - fw * c * zx);
    const int64_t by = nearest(fw * s * zy + fh * c * zy);
    // Step 4: the box around the sprite's origin.
    int64_t minX = std::min({hw - ax, hw + ax, hw - bx, hw + bx});
    int64_t maxX = std::max({hw - ax, hw + ax, hw - bx, hw + bx});
    int64_t minY = std::min({hh - ay, hh + ay, hh - by, hh + by});
    int64_t maxY = std::max({hh - ay, hh + ay, hh - by, hh + by});
    // Step 5: the origin on the target, with the pivot correction.
    int64_t ox = d.x - hw, oy = d.y - hh;
    if (d.rule == Rule::Copy) {
        const float px = float(d.px), py = float(d.py);
        ox += nearest(px - (px * c * zx + py * s * zx));
        oy += nearest(py - (py * c * zy - px * s * zy));
    }
    // Step 6: clipping, in the documented order.
    const int64_t w = t.width, h = t.height;
    const auto atLeastZero = [](int64_t& v, int64_t origin) { v = origin + v < 0 ? -origin : v; };
    const auto belowSize = [](int64_t& v, int64_t origin, int64_t size) {
        v = origin + v > size - 1 ? size - 1 - origin : v;
    };
    atLeastZero(minY, oy);
    atLeastZero(minX, ox);
    atLeastZero(maxY, oy);
    atLeastZero(maxX, ox);
    belowSize(minX, ox, w);
    belowSize(minY, oy, h);
    belowSize(maxX, ox, w);
    belowSize(maxY, oy, h);
    if (maxX == minX || maxY == minY) return;
    // Step 7: the region; the blend visits one column and one row less.
    const int64_t extra = d.rule == Rule::Blend ? 0 : 1;
    const int64_t columns = maxX - minX + extra, rows = maxY - minY + extra;
    // Step 8: sampling, every sum a float.
    const float dx0 = float(minX - hw);
    float termX = float(minY - hh) * jy, termY = float(minY - hh) * iy;
    for (int64_t row = 0; row < rows; ++row) {
        float sx = fw + dx0 * ix - termX, sy = fh + dx0 * jx + termY;
        for (int64_t column = 0; column < columns; ++column) {
            const int64_t tx = nearest(sx), ty = nearest(sy);
            if (tx >= 0 && tx < src.width && ty >= 0 && ty < src.height) {
                uint32_t& dst = t.pixels[size_t(oy + minY + row) * size_t(w) + size_t(ox + minX + column)];
                dst = put(d, dst, src.texels[size_t(ty) * size_t(src.width) + size_t(tx)]);
            }
            sx += ix;
            sy += jx;
        }
        termX += jy;
        termY += iy;
    }
}

} // namespace sprite_reference
