// PNG_DECODE: parse, plan the passes, inflate the image data in one call, then
// unfilter each row in place and convert it straight into the output rows. Every
// failure releases what was allocated so far and gives null; so does running out of
// memory, told by allocations that return null (files/byte_block.h) rather than throw.
#include "png/png.h"

#include "png/png_parts.h"

#include <zlib.h>

#include <cstring>
#include <memory>

namespace {

struct ImageDeleter {
    void operator()(Image* image) const { destroyImage(image); }
};
using ImageHandle = std::unique_ptr<Image, ImageDeleter>;

constexpr size_t kShortestDecodable = 48; // anything this short cannot hold a whole image
constexpr uint32_t kLegacyMaxWidth = 8191; // width * 8 + 4 must fit the 16-bit word

// Where the pixel rows go: row y starts at base + y * stride. The texture layout
// stores the bottom row first, so its stride is negative.
struct RowTarget {
    uint8_t* base;
    ptrdiff_t stride;
    uint32_t* row(uint32_t y) const { return reinterpret_cast<uint32_t*>(base + ptrdiff_t(y) * stride); }
};

// The exact raw size is known, so a stream that ends early or runs long both fail:
// the first leaves the buffer short, the second overflows it.
ByteBlock inflateAll(const png::Parsed& parsed, size_t rawBytes)
{
    // Up to the decoded-size limit: not having it is a failed load.
    ByteBlock raw = allocateBytes(rawBytes);
    if (!raw) return nullptr;
    uLongf produced = rawBytes;
    if (uncompress(raw.get(), &produced, parsed.compressed.get(), parsed.compressedSize) != Z_OK) return nullptr;
    if (produced != rawBytes) return nullptr;
    return raw;
}

bool decodePasses(const png::Layout& layout, const png::Converter& convert, uint8_t* raw, const RowTarget& target)
{
    uint8_t* line = raw;
    for (int p = 0; p < layout.passCount; ++p) {
        const png::Pass& pass = layout.passes[p];
        const uint8_t* prior = nullptr;
        for (uint32_t r = 0; r < pass.rows; ++r) {
            uint8_t* samples = line + 1;
            if (!png::unfilterRow(line[0], samples, prior, pass.rowBytes, layout.bytesPerPixel)) return false;
            uint32_t* out = target.row(pass.firstRow + r * pass.rowStep) + pass.firstColumn;
            convert(samples, out, pass.pixels, pass.columnStep);
            prior = samples;
            line += pass.rowBytes + 1;
        }
    }
    return true;
}

// The texture layout wants bytes R, G, B, A in memory: swap red and blue of each word.
void swapRedBlue(uint8_t* pixels, size_t count)
{
    auto* words = reinterpret_cast<uint32_t*>(pixels);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t w = words[i];
        words[i] = (w & 0xFF00FF00u) | (w >> 16 & 0xFFu) | (w & 0xFFu) << 16;
    }
}

void storeWord(uint8_t* at, uint32_t value) { std::memcpy(at, &value, sizeof value); }
void storeHalf(uint8_t* at, uint16_t value) { std::memcpy(at, &value, sizeof value); }

// Makes the output block for the mode and says where its rows go; null for a mode
// that cannot hold this image.
ImageHandle createOutput(int mode, uint32_t width, uint32_t height, RowTarget& target)
{
    if (mode == kPngLegacy && width > kLegacyMaxWidth) return nullptr;
    ImageHandle image(createImage(width, height));
    if (!image) return nullptr;
    uint8_t* pixels = imagePixels(image.get());
    const uint32_t packed = width * 4;
    switch (mode) {
    case kPngImage: target = {pixels, ptrdiff_t(image->pitch)}; break;
    case kPngTexture:
        image->pitch = packed;
        storeWord(pixels - 8, width);
        storeWord(pixels - 12, height);
        target = {pixels + size_t(height - 1) * packed, -ptrdiff_t(packed)};
        break;
    default: // kPngLegacy
        image->pitch = packed;
        storeHalf(pixels - 4, uint16_t(width * 8 + 4));
        storeHalf(pixels - 2, uint16_t(height));
        target = {pixels, ptrdiff_t(packed)};
        break;
    }
    return image;
}

Image* decode(const uint8_t* buffer, size_t length, int mode)
{
    png::Parsed parsed;
    png::Layout layout;
    if (!png::parsePng(buffer, length, parsed, layout)) return nullptr;
    ByteBlock raw = inflateAll(parsed, layout.rawBytes);
    if (!raw) return nullptr;
    parsed.compressed.reset();

    const uint32_t width = parsed.header.width;
    const uint32_t height = parsed.header.height;
    RowTarget target{};
    ImageHandle image = createOutput(mode, width, height, target);
    if (!image) return nullptr;
    if (!decodePasses(layout, png::makeConverter(parsed), raw.get(), target)) return nullptr;
    if (mode == kPngTexture) swapRedBlue(imagePixels(image.get()), size_t(width) * height);
    return image.release();
}

} // namespace

Image* PNG_DECODE(const uint8_t* buffer, size_t length, int mode)
{
    if (!buffer || length <= kShortestDecodable) return nullptr;
    if (mode != kPngLegacy && mode != kPngImage && mode != kPngTexture) return nullptr;
    return decode(buffer, length, mode);
}
