// Triangle fillers with a per-pixel depth test, drawing straight into a 32-bit target
// (an Image, or the locked screen when the target is null). Both walk the edges in
// floats with sub-pixel pre-steps, sample at pixel centres and clip to the target and
// to the depth buffer themselves, so no input can make them touch memory outside it.
#pragma once

#include <cstddef>
#include <cstdint>

struct Image;

// One 1/z entry per target pixel, row-major with rows of target-width entries; larger
// means nearer and 0.0 means empty. The main program owns it through the helpers
// below: it allocates it once, clears it every frame and frees it at exit. The
// fillers never index past depthBufferEntries(), so a target larger than the buffer
// is drawn only as far as the buffer reaches; with no buffer (or a pointer stored
// here by hand, whose size is unknown) they draw nothing.
extern float* DEPTH_BUFFER;

// Replaces the depth buffer by a zeroed one of width x height entries (the programs
// use 640 x 480). Returns false, leaving no buffer, when it cannot be allocated.
bool allocateDepthBuffer(int width, int height);
// Back to 0.0 everywhere: nothing drawn yet this frame.
void clearDepthBuffer();
void freeDepthBuffer();
// Entries the fillers may use: those of the helpers' buffer, 0 for any other pointer.
size_t depthBufferEntries();

// A single-colour triangle: colour is written as it is to every pixel whose 1/z is
// strictly greater than the depth entry. Depths must be positive and non-zero.
void FTRI(Image* target, float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3,
          float z3, uint32_t colour);

// A perspective-correct textured triangle. u, v are in texels and wrap: the texel
// column is u AND (width - 1), the row v AND (height - 1), addressed with a shift by
// log2(pitch). Contract: the texture's width, height and pitch are powers of two
// (a loader image with a power-of-two width has such a pitch). Width or height that
// are not give wrong texels, never a read outside the image; a pitch that is not (or a
// null or empty texture) draws nothing, since the shift would leave the image.
// brightness is added to (or, when negative, subtracted from) each byte of the texel
// with saturation; above 255 its bits spill into the neighbouring bytes, so 256 adds
// 0, 1, 1, 1 to blue, green, red, alpha.
void TFPCSPTRI_ORIG(Image* target, float x1, float y1, float z1, float u1, float v1, float x2, float y2, float z2,
                    float u2, float v2, float x3, float y3, float z3, float u3, float v3, int brightness,
                    const Image* texture);
