// The PNG loader: decodes a PNG file or an in-memory PNG into an Image of 32-bit
// 0xAARRGGBB pixels, or gives null on any failure, printing nothing. Sizes in a file
// are not trusted: an image with a side above 32768 or a decoded size above 256 MiB
// is refused before anything is allocated. Every result is released with PNG_FREE.
#pragma once

#include "render/image.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The output layouts PNG_DECODE and PNG_LOAD can make. Every one is an Image block,
// so PNG_FREE (or destroyImage) releases each the same way:
// - kPngImage (2): the ordinary Image, rows padded to the pitch, top row first.
// - kPngTexture (3): at imagePixels(), width x height packed pixels with bytes in the
//   order R, G, B, A, bottom row first; the width is the word 8 bytes and the height
//   the word 12 bytes before the pixels, and the header's pitch is width * 4.
// - kPngLegacy (1): 4 bytes before imagePixels(), a 16-bit word width * 8 + 4 and a
//   16-bit height, then packed 0xAARRGGBB rows, top row first; widths above 8191
//   cannot be stored in that word and are refused.
constexpr int kPngLegacy = 1;
constexpr int kPngImage = 2;
constexpr int kPngTexture = 3;

Image* PNG_LOAD(const std::string& path, int mode);
Image* PNG_DECODE(const uint8_t* buffer, size_t length, int mode);
// Width and height from the header of the file, without decoding; 0 x 0 when the file
// cannot be read or does not start with the PNG signature.
void PNG_SIZE(const std::string& path, uint32_t& width, uint32_t& height);
void PNG_FREE(Image* image);
