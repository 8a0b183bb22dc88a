// The in-memory picture shared by the PNG loader, the triangle fillers and the sprite
// drawer: a 32-byte header followed by the pixel rows, one block, 16-byte aligned and
// zero-filled at creation. Rows are padded to a multiple of 32 bytes, so code that
// walks an image steps by pitch, never by width * 4. Pixels are 0xAARRGGBB words.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t IMAGE_HEADER_TYPE = 7;

struct Image {
    uint32_t type;          // IMAGE_HEADER_TYPE
    uint32_t bytesPerPixel; // 4 for every image the programs make
    uint32_t width;
    uint32_t height;
    uint32_t pitch;         // bytes from one row to the next
    uint8_t reserved[12];
};
static_assert(sizeof(Image) == 32, "the header layout is part of the image format");

// Row pitch in bytes for a 32-bit image of the given width: (width * 4 + 31) rounded
// down to a multiple of 32. Returns 0 when the width is too large to address.
size_t imagePitch(uint32_t width);

// Allocates a zero-filled 32-bit image; null when the size cannot be represented.
Image* createImage(uint32_t width, uint32_t height);
void destroyImage(Image* image);

inline uint8_t* imagePixels(Image* image) { return reinterpret_cast<uint8_t*>(image) + sizeof(Image); }
inline const uint8_t* imagePixels(const Image* image)
{
    return reinterpret_cast<const uint8_t*>(image) + sizeof(Image);
}
inline uint32_t* imageRow(Image* image, uint32_t y)
{
    return reinterpret_cast<uint32_t*>(imagePixels(image) + size_t(y) * image->pitch);
}
inline const uint32_t* imageRow(const Image* image, uint32_t y)
{
    return reinterpret_cast<const uint32_t*>(imagePixels(image) + size_t(y) * image->pitch);
}
