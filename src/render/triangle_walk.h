// Edge walking shared by the two triangle fillers: sorting, gradients, the long-edge
// side, sub-pixel pre-steps and clipping. It hands each visible row span, with the
// interpolated attributes at its first pixel centre, to a span drawer; all per-pixel
// work lives there. Every row and column it passes on lies inside width x height.
#pragma once

#include "render/simd.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace triangle_walk {

using simd::roundToInt;

// Row numbers beyond this are far outside any target and only ever clipped; keeping
// them small keeps every row sum exact in 64 bits.
constexpr float kRowLimit = 1 << 30;
// fmin(fmax(v, -limit), limit) without two library calls. Written as comparisons, NaN
// fails them and gives -limit, as fmax does; x86-64 compiles each to the one maxss or
// minss instruction, whose rule (the second operand when either is not a number) is
// exactly this.
inline float withinRowLimit(float v)
{
    const float raised = v > -kRowLimit ? v : -kRowLimit;
    return raised < kRowLimit ? raised : kRowLimit;
}
inline int64_t rowOf(float flooredY) { return int64_t(withinRowLimit(flooredY)); }
inline int32_t columnOf(float x) { return roundToInt(withinRowLimit(x)); }

template <int N>
struct Vertex {
    float x, y;
    float a[N]; // attributes interpolated linearly in screen space
};

template <int N>
struct Gradients {
    float dx[N];
    float dy[N];
};

// The left edge carries x and the attributes, the right edge x only.
template <int N>
struct Edges {
    float leftX, leftSlope, rightX, rightSlope;
    float leftA[N], leftStep[N];
};

template <int N>
void startLeftEdge(Edges<N>& edges, const Vertex<N>& from, float slope, float preStep, const Gradients<N>& g)
{
    edges.leftX = from.x + slope * preStep;
    edges.leftSlope = slope;
    for (int i = 0; i < N; ++i) {
        edges.leftStep[i] = g.dx[i] * slope + g.dy[i];
        edges.leftA[i] = from.a[i] + preStep * edges.leftStep[i];
    }
}

template <int N>
void startRightEdge(Edges<N>& edges, const Vertex<N>& from, float slope, float preStep)
{
    edges.rightX = from.x + slope * preStep;
    edges.rightSlope = slope;
}

// Rows b up to, not including, e. Rows above the target are skipped by moving the
// edges over them at once; rows below it are never reached.
template <int N, class DrawSpan>
void walkRows(Edges<N>& edges, const Gradients<N>& g, int64_t b, int64_t e, int width, int height, DrawSpan& drawSpan)
{
    if (b >= e) return;
    if (b < 0) {
        const int64_t k = std::min(-b, e - b);
        const float rows = float(k);
        edges.leftX += edges.leftSlope * rows;
        edges.rightX += edges.rightSlope * rows;
        for (int i = 0; i < N; ++i) edges.leftA[i] += edges.leftStep[i] * rows;
        b += k;
    }
    e = std::min<int64_t>(e, height);
    for (int64_t row = b; row < e; ++row) {
        // A NaN edge (from infinite input) has no defined span; skip the row.
        if (!std::isnan(edges.leftX) && !std::isnan(edges.rightX)) {
            int32_t xl = columnOf(edges.leftX);
            const int32_t xr = std::min(columnOf(edges.rightX), width);
            float a[N];
            // The pixel centre of column xl lies at xl + 1 in the shifted coordinates.
            for (int i = 0; i < N; ++i) a[i] = edges.leftA[i] + (1.0f - (edges.leftX - float(xl))) * g.dx[i];
            if (xl < 0) {
                for (int i = 0; i < N; ++i) a[i] += float(-xl) * g.dx[i];
                xl = 0;
            }
            if (xl < xr) drawSpan(int(row), xl, xr, a, g.dx);
        }
        edges.leftX += edges.leftSlope;
        edges.rightX += edges.rightSlope;
        for (int i = 0; i < N; ++i) edges.leftA[i] += edges.leftStep[i];
    }
}

// Fills the triangle over a width x height area. Vertices are in pixels with pixel
// (c, r) centred on (c + 0.5, r + 0.5); the attributes are already in the form that
// interpolates linearly on screen (1/z and friends). All maths is in single precision
// and in this order on purpose: the pixels drawn depend on every rounding.
template <int N, class DrawSpan>
void walkTriangle(Vertex<N> v1, Vertex<N> v2, Vertex<N> v3, int width, int height, DrawSpan& drawSpan)
{
    // After the shift a pixel centre sits at a whole number plus one, so floor finds
    // the first row whose centre is at or below a vertex.
    for (Vertex<N>* v : {&v1, &v2, &v3}) {
        v->x += 0.5f;
        v->y += 0.5f;
    }
    // Three compare-and-swaps; ties keep their order.
    if (v2.y < v1.y) std::swap(v1, v2);
    if (v3.y < v1.y) std::swap(v1, v3);
    if (v3.y < v2.y) std::swap(v2, v3);

    const float y1 = std::floor(v1.y), y2 = std::floor(v2.y), y3 = std::floor(v3.y);
    if (y1 == y2 && y2 == y3) return;
    if (std::floor(v1.x) == std::floor(v2.x) && std::floor(v2.x) == std::floor(v3.x)) return;

    const float area = (v3.x - v1.x) * (v2.y - v1.y) - (v2.x - v1.x) * (v3.y - v1.y);
    if (area == 0.0f) return; // no culling: both windings are drawn
    const float inverseArea = 1.0f / area;
    Gradients<N> g;
    for (int i = 0; i < N; ++i) {
        const float d2 = v2.a[i] - v1.a[i], d3 = v3.a[i] - v1.a[i];
        g.dx[i] = (d3 * (v2.y - v1.y) - d2 * (v3.y - v1.y)) * inverseArea;
        g.dy[i] = (d2 * (v3.x - v1.x) - d3 * (v2.x - v1.x)) * inverseArea;
    }

    const float s12 = v1.y < v2.y ? (v2.x - v1.x) / (v2.y - v1.y) : 0.0f;
    const float s13 = v1.y < v3.y ? (v3.x - v1.x) / (v3.y - v1.y) : 0.0f;
    const float s23 = v2.y < v3.y ? (v3.x - v2.x) / (v3.y - v2.y) : 0.0f;
    bool longEdgeRight = s12 < s13;
    if (v1.y == v2.y) longEdgeRight = v2.x < v1.x;
    if (v2.y == v3.y) longEdgeRight = v2.x < v3.x; // a flat bottom decides last

    Edges<N> edges;
    const float p = 1.0f - (v1.y - y1);
    if (longEdgeRight) {
        startRightEdge(edges, v1, s13, p);
        startLeftEdge(edges, v1, s12, p, g);
    } else {
        startLeftEdge(edges, v1, s13, p, g);
        startRightEdge(edges, v1, s12, p);
    }
    walkRows(edges, g, rowOf(y1), rowOf(y2), width, height, drawSpan);

    // The short edge turns at vertex 2; the long edge goes on from where it is.
    const float q = 1.0f - (v2.y - y2);
    if (longEdgeRight) {
        startLeftEdge(edges, v2, s23, q, g);
    } else {
        startRightEdge(edges, v2, s23, q);
    }
    walkRows(edges, g, rowOf(y2), rowOf(y3), width, height, drawSpan);
}

} // namespace triangle_walk
