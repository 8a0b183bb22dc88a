// Rotated and scaled sprite drawing by inverse mapping: each pixel of the sprite's
// bounding box is mapped back to the nearest source texel; texels outside are skipped.
// Angles are whole degrees; zooms scale x and y apart (negative mirrors). A null
// destination is the locked screen. No write leaves the destination and no read the
// source, whatever the coordinates, zooms and sizes.
#pragma once

#include <cstdint>

struct Image;

// Copies every texel that differs from the transparent colour (alpha byte included).
// (x, y) is where the source's centre lands when the pivot offset (px, py) is zero.
// Draws nothing for a null source or a zero zx; a zero zy means zy = zx.
void ROTOZOOM(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent,
              int px, int py);

// Blends each texel by its own alpha (the destination's alpha byte becomes 0); skips
// the transparent colour and texels of alpha 0. Returns -1, drawing nothing, unless
// both zooms are greater than 0; 0 otherwise.
int ROTOZOOM_ALPHA(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent);

// Blends every non-transparent texel with one opacity (clamped to 0..255) on all four
// bytes. Its visited region is one column and one row smaller than ROTOZOOM's.
void ROTOZOOM_BLEND(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent,
                    int opacity);
