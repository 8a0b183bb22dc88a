// Creation and release of Image blocks. Sizes come from untrusted files, so every
// product is checked before anything is allocated.
#include "render/image.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {
constexpr size_t kAlignment = 16;
}

size_t imagePitch(uint32_t width)
{
    const uint64_t bytes = uint64_t(width) * 4 + 31;
    if (bytes > std::numeric_limits<uint32_t>::max()) return 0;
    return size_t(bytes & ~uint64_t(31));
}

Image* createImage(uint32_t width, uint32_t height)
{
    const size_t pitch = imagePitch(width);
    if (pitch == 0 && width != 0) return nullptr;
    const uint64_t pixelBytes = uint64_t(pitch) * height;
    if (pixelBytes > std::numeric_limits<size_t>::max() - sizeof(Image) - kAlignment) return nullptr;
    // aligned_alloc wants a size that is a multiple of the alignment.
    const size_t total = (sizeof(Image) + size_t(pixelBytes) + kAlignment - 1) & ~(kAlignment - 1);
    void* block = std::aligned_alloc(kAlignment, total);
    if (!block) return nullptr;
    std::memset(block, 0, total);
    auto* image = static_cast<Image*>(block);
    image->type = IMAGE_HEADER_TYPE;
    image->bytesPerPixel = 4;
    image->width = width;
    image->height = height;
    image->pitch = uint32_t(pitch);
    return image;
}

void destroyImage(Image* image) { std::free(image); }
