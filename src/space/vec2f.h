// Two-dimensional vector of 32-bit floats: positions, velocities, model points,
// texture coordinates and camera offsets all use it. Arithmetic stays in float so
// that results match bit for bit wherever the game relies on exact values.
#pragma once

#include <cstdint>

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2f() = default;
    constexpr Vec2f(float a, float b) : x(a), y(b) {}
    constexpr Vec2f(int32_t i, int32_t j) : x(static_cast<float>(i)), y(static_cast<float>(j)) {}

    bool operator==(const Vec2f&) const = default;
};

// The vector is always the left operand; there is deliberately no scalar-first form.
inline Vec2f operator+(const Vec2f& a, const Vec2f& b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2f operator+(const Vec2f& a, float s) { return {a.x + s, a.y + s}; }
inline Vec2f operator-(const Vec2f& a, const Vec2f& b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2f operator-(const Vec2f& a, float s) { return {a.x - s, a.y - s}; }
inline Vec2f operator*(const Vec2f& a, const Vec2f& b) { return {a.x * b.x, a.y * b.y}; }
inline Vec2f operator*(const Vec2f& a, float s) { return {a.x * s, a.y * s}; }
inline Vec2f operator/(const Vec2f& a, const Vec2f& b) { return {a.x / b.x, a.y / b.y}; }
inline Vec2f operator/(const Vec2f& a, float s) { return {a.x / s, a.y / s}; }
inline Vec2f operator/(const Vec2f& a, int32_t n) { return a / static_cast<float>(n); }

// Distance between two points; 1.0 instead of 0 (or NaN) so that callers may divide by it.
float DIST(const Vec2f& a, const Vec2f& b);
// Length of v; 1.0 instead of 0 (or NaN), for the same reason.
float MAGNITUDE(const Vec2f& v);
// Scales v to unit length in place; the zero vector stays zero.
void NORMALIZE(Vec2f& v);
// Unit normal of the segment a-b: (d.y, -d.x) / |d| with d = b - a. Zero for a == b.
Vec2f PERP(const Vec2f& a, const Vec2f& b);
// Do the closed segments a1-a2 and b1-b2 meet? On true, out is the crossing point;
// on false out is left as the caller preset it. Parallel, collinear and zero-length
// segments never meet. Returns -1 for true, 0 for false.
int32_t LINES_INTERSECT(Vec2f& out, const Vec2f& a1, const Vec2f& a2, const Vec2f& b1, const Vec2f& b2);
// Fast approximation of 1 / sqrt(a.x * b.x + a.y * b.y): a bit trick and one Newton step.
float CDIST(const Vec2f& a, const Vec2f& b);
