// A slow, literal triangle filler for holding the real ones against: it follows the
// fillers' documented steps one by one, in 32-bit floats and in the documented order,
// on a plain pixel and depth array, so that every pixel and every depth entry of the
// real fillers must come out bit for bit the same. Sane inputs only (finite, |x| and
// |y| well below 2^24, positive depths): it has none of the guards of the real ones.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace triangle_reference {

struct Corner {
    float x, y, z, u, v;
};

struct Target {
    int width, height;
    std::vector<uint32_t> pixels;
    std::vector<float> depth;
    Target(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)), depth(size_t(w) * size_t(h)) {}
};

// The texture as the textured filler reads it, and its brightness rule.
struct Texture {
    int width, height; // powers of two
    std::vector<uint32_t> texels;
    int brightness;

    uint32_t shade(float w, float uw, float vw) const
    {
        const float z = 1.0f / w;
        const int u = int(std::nearbyint(z * uw)), v = int(std::nearbyint(z * vw));
        const uint32_t texel = texels[size_t(v & (height - 1)) * size_t(width) + size_t(u & (width - 1))];
        const uint32_t m = uint32_t(std::abs(brightness));
        const uint32_t spread = m | m << 8 | m << 16 | m << 24;
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int t = int(texel >> shift & 0xFF), b = int(spread >> shift & 0xFF);
            const int byte = brightness >= 0 ? std::min(t + b, 255) : std::max(t - b, 0);
            out |= uint32_t(byte) << shift;
        }
        return out;
    }
};

struct Flat {
    uint32_t colour;
    uint32_t shade(float, float, float) const { return colour; }
};

// Attributes a[0..2] = w, u*w, v*w, interpolated along the left edge and across rows.
struct Vertex {
    float x, y, a[3];
};

template <class Shader>
void fill(Target& t, Corner c1, Corner c2, Corner c3, const Shader& shader)
{
    // Steps 1 and 2: the half-pixel shift, then w = 1/z and u*w, v*w.
    Vertex v[3];
    const Corner corners[3] = {c1, c2, c3};
    for (int i = 0; i < 3; ++i) {
        const float w = 1.0f / corners[i].z;
        v[i] = {corners[i].x + 0.5f, corners[i].y + 0.5f, {w, corners[i].u * w, corners[i].v * w}};
    }
    // Step 3: three compare-and-swaps.
    if (v[1].y < v[0].y) std::swap(v[0], v[1]);
    if (v[2].y < v[0].y) std::swap(v[0], v[2]);
    if (v[2].y < v[1].y) std::swap(v[1], v[2]);
    const Vertex p1 = v[0], p2 = v[1], p3 = v[2];

    // Steps 4 and 5: rows by rounding down; degenerate triangles draw nothing.
    const float Y1 = std::floor(p1.y), Y2 = std::floor(p2.y), Y3 = std::floor(p3.y);
    if (Y1 == Y2 && Y2 == Y3) return;
    if (std::floor(p1.x) == std::floor(p2.x) && std::floor(p2.x) == std::floor(p3.x)) return;
    const float area = (p3.x - p1.x) * (p2.y - p1.y) - (p2.x - p1.x) * (p3.y - p1.y);
    if (area == 0.0f) return;

    // Step 6: the plane's gradients.
    const float inverseArea = 1.0f / area;
    float dadx[3], dady[3];
    for (int i = 0; i < 3; ++i) {
        const float a21 = p2.a[i] - p1.a[i], a31 = p3.a[i] - p1.a[i];
        dadx[i] = (a31 * (p2.y - p1.y) - a21 * (p3.y - p1.y)) * inverseArea;
        dady[i] = (a21 * (p3.x - p1.x) - a31 * (p2.x - p1.x)) * inverseArea;
    }

    // Steps 7 and 8: slopes and the side of the long edge.
    const float s12 = p1.y < p2.y ? (p2.x - p1.x) / (p2.y - p1.y) : 0.0f;
    const float s13 = p1.y < p3.y ? (p3.x - p1.x) / (p3.y - p1.y) : 0.0f;
    const float s23 = p2.y < p3.y ? (p3.x - p2.x) / (p3.y - p2.y) : 0.0f;
    bool longRight = s12 < s13;
    if (p1.y == p2.y) longRight = p2.x < p1.x;
    if (p2.y == p3.y) longRight = p2.x < p3.x;

    // Step 9: both edges pre-stepped from vertex 1 to the first row's centre.
    const float p = 1.0f - (p1.y - Y1);
    const float shortSlope = s12, longSlope = s13;
    float leftX, leftSlope, rightX, rightSlope, leftA[3], leftStep[3];
    const auto startLeft = [&](const Vertex& from, float slope, float preStep) {
        leftX = from.x + slope * preStep;
        leftSlope = slope;
        for (int i = 0; i < 3; ++i) {
            leftStep[i] = dadx[i] * slope + dady[i];
            leftA[i] = from.a[i] + preStep * leftStep[i];
        }
    };
    const auto startRight = [&](const Vertex& from, float slope, float preStep) {
        rightX = from.x + slope * preStep;
        rightSlope = slope;
    };
    if (longRight) {
        startRight(p1, longSlope, p);
        startLeft(p1, shortSlope, p);
    } else {
        startLeft(p1, longSlope, p);
        startRight(p1, shortSlope, p);
    }

    // Steps 11 to 13 for rows b up to, not including, e.
    const auto part = [&](int64_t b, int64_t e) {
        if (b >= e) return;
        if (b < 0) {
            const int64_t k = std::min(-b, e - b);
            leftX += leftSlope * float(k);
            rightX += rightSlope * float(k);
            for (int i = 0; i < 3; ++i) leftA[i] += leftStep[i] * float(k);
            b += k;
        }
        e = std::min<int64_t>(e, t.height);
        for (int64_t row = b; row < e; ++row) {
            int xl = int(std::nearbyint(leftX));
            int xr = int(std::nearbyint(rightX));
            if (xr > t.width) xr = t.width;
            float a[3];
            for (int i = 0; i < 3; ++i) a[i] = leftA[i] + (1.0f - (leftX - float(xl))) * dadx[i];
            if (xl < 0) {
                for (int i = 0; i < 3; ++i) a[i] += float(-xl) * dadx[i];
                xl = 0;
            }
            for (int x = xl; x < xr; ++x) {
                const size_t at = size_t(row) * size_t(t.width) + size_t(x);
                if (a[0] > t.depth[at]) {
                    t.pixels[at] = shader.shade(a[0], a[1], a[2]);
                    t.depth[at] = a[0];
                }
                for (int i = 0; i < 3; ++i) a[i] += dadx[i];
            }
            leftX += leftSlope;
            rightX += rightSlope;
            for (int i = 0; i < 3; ++i) leftA[i] += leftStep[i];
        }
    };
    // Step 10: the upper part, then the lower one with the short edge from vertex 2.
    part(int64_t(Y1), int64_t(Y2));
    const float q = 1.0f - (p2.y - Y2);
    if (longRight) {
        startLeft(p2, s23, q);
    } else {
        startRight(p2, s23, q);
    }
    part(int64_t(Y2), int64_t(Y3));
}

} // namespace triangle_reference
