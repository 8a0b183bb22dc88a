// The flat and the textured triangle fillers: target and texture set-up, and the
// per-pixel loops that the edge walker hands each row span to. The depth test keeps
// a pixel only where the new 1/z is strictly greater, so at equal depth the first
// triangle drawn on a pixel stays.
#include "render/triangles.h"

#include "render/image.h"
#include "render/surface.h"
#include "render/simd.h"
#include "render/triangle_walk.h"

#include <algorithm>
#include <bit>
#include <cstring>

using triangle_walk::Vertex;

namespace {

// Where the fillers may draw: the target's rows that the depth buffer also covers.
struct DepthTarget {
    uint8_t* base = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    float* depth = nullptr;

    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(base + intptr_t(y) * pitch); }
    float* depthRow(int y) const { return depth + intptr_t(y) * width; }
};

// False when there is nothing to draw on.
bool openTarget(Image* target, DepthTarget& out)
{
    const Surface surface = surfaceOf(target);
    const size_t entries = depthBufferEntries();
    if (!surface.base || surface.width <= 0 || surface.height <= 0 || entries == 0) return false;
    // Rows must hold their pixels and start on whole pixels, or a row would spill.
    if (surface.pitch % 4 != 0 || int64_t(surface.width) * 4 > surface.pitch) return false;
    // Rows step by the pitch, so an image of any width is drawn straight; the depth
    // buffer is indexed by row * width + column, as the programs allocate it.
    const size_t depthRows = entries / size_t(surface.width);
    out = {surface.base, surface.pitch, surface.width, int(std::min<size_t>(size_t(surface.height), depthRows)),
           DEPTH_BUFFER};
    return out.height > 0;
}

struct FlatSpan {
    DepthTarget target;
    uint32_t colour;

    void operator()(int row, int xl, int xr, const float (&a)[1], const float (&dx)[1]) const
    {
        uint32_t* pixels = target.row(row);
        float* depth = target.depthRow(row);
        float w = a[0];
        for (int x = xl; x < xr; ++x) {
            if (w > depth[x]) {
                pixels[x] = colour;
                depth[x] = w;
            }
            w += dx[0];
        }
    }
};

// Texel look-up by masks and a shift (hence the power-of-two contract) and the
// brightness offset as one saturating add or subtract on the four packed bytes.
template <bool kDarken>
struct TextureSpan {
    DepthTarget target;
    const uint8_t* texels;
    uint32_t columnMask;
    uint32_t rowMask;
    int pitchShift;
    uint32_t offset;

    template <bool kUnitDepth>
    uint32_t texel(float w, float uw, float vw) const
    {
        const float z = kUnitDepth ? 1.0f : 1.0f / w;
        const uint32_t u = uint32_t(simd::roundToInt(z * uw));
        const uint32_t v = uint32_t(simd::roundToInt(z * vw));
        uint32_t value;
        std::memcpy(&value, texels + (size_t(v & rowMask) << pitchShift) + size_t(u & columnMask) * 4, sizeof value);
        return kDarken ? simd::subtractBytesSaturated(value, offset) : simd::addBytesSaturated(value, offset);
    }

    // The game draws every triangle at depth 1, so 1/w is exactly 1 along the whole
    // span, and so is the product with it: the division per pixel can go.
    void operator()(int row, int xl, int xr, const float (&a)[3], const float (&dx)[3]) const
    {
        if (a[0] == 1.0f && dx[0] == 0.0f) {
            fill<true>(row, xl, xr, a, dx);
        } else {
            fill<false>(row, xl, xr, a, dx);
        }
    }

    template <bool kUnitDepth>
    void fill(int row, int xl, int xr, const float (&a)[3], const float (&dx)[3]) const
    {
        uint32_t* pixels = target.row(row);
        float* depth = target.depthRow(row);
        float w = a[0], uw = a[1], vw = a[2];
        for (int x = xl; x < xr; ++x) {
            if (w > depth[x]) {
                pixels[x] = texel<kUnitDepth>(w, uw, vw);
                depth[x] = w;
            }
            w += dx[0];
            uw += dx[1];
            vw += dx[2];
        }
    }
};

// m in every byte; for m above 255 the higher bits spill into the next bytes and the
// top ones fall off the word.
uint32_t brightnessBytes(int brightness)
{
    const uint32_t m = brightness < 0 ? 0u - uint32_t(brightness) : uint32_t(brightness);
    return m | (m << 8) | (m << 16) | (m << 24);
}

bool usableTexture(const Image* texture)
{
    if (!texture || texture->bytesPerPixel != 4 || texture->width == 0 || texture->height == 0) return false;
    // Rows are found by shifting, so only a power-of-two pitch stays inside the image.
    return std::has_single_bit(texture->pitch) && size_t(texture->width) * 4 <= texture->pitch;
}

} // namespace

void FTRI(Image* target, float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3,
          uint32_t colour)
{
    FlatSpan span{{}, colour};
    if (!openTarget(target, span.target)) return;
    triangle_walk::walkTriangle(Vertex<1>{x1, y1, {1.0f / z1}}, Vertex<1>{x2, y2, {1.0f / z2}},
                                Vertex<1>{x3, y3, {1.0f / z3}}, span.target.width, span.target.height, span);
}

void TFPCSPTRI_ORIG(Image* target, float x1, float y1, float z1, float u1, float v1, float x2, float y2, float z2,
                    float u2, float v2, float x3, float y3, float z3, float u3, float v3, int brightness,
                    const Image* texture)
{
    DepthTarget surface;
    if (!usableTexture(texture) || !openTarget(target, surface)) return;
    // u/z and v/z interpolate linearly on screen; dividing by 1/z per pixel undoes it.
    const float w1 = 1.0f / z1, w2 = 1.0f / z2, w3 = 1.0f / z3;
    const Vertex<3> a{x1, y1, {w1, u1 * w1, v1 * w1}};
    const Vertex<3> b{x2, y2, {w2, u2 * w2, v2 * w2}};
    const Vertex<3> c{x3, y3, {w3, u3 * w3, v3 * w3}};
    const uint8_t* texels = imagePixels(texture);
    const uint32_t columnMask = texture->width - 1, rowMask = texture->height - 1;
    const int pitchShift = std::countr_zero(texture->pitch);
    const uint32_t offset = brightnessBytes(brightness);
    if (brightness < 0) {
        TextureSpan<true> span{surface, texels, columnMask, rowMask, pitchShift, offset};
        triangle_walk::walkTriangle(a, b, c, surface.width, surface.height, span);
    } else {
        TextureSpan<false> span{surface, texels, columnMask, rowMask, pitchShift, offset};
        triangle_walk::walkTriangle(a, b, c, surface.width, surface.height, span);
    }
}
