// Pass geometry of a PNG image: the Adam7 passes (or the single pass of a plain image),
// the bytes per row of each, and the exact inflated size. This is where the size
// limits hold, so every later allocation is bounded before it is made.
#include "png/png_parts.h"

#include "render/image.h"

namespace png {

namespace {

struct PassOrigin {
    uint32_t firstColumn, firstRow, columnStep, rowStep;
};

constexpr PassOrigin kAdam7[7] = {
    {0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2},
};

uint32_t channelCount(uint8_t colourType)
{
    switch (colourType) {
    case kRgb: return 3;
    case kGreyAlpha: return 2;
    case kRgba: return 4;
    default: return 1;
    }
}

// ceil(pixels * depth / 8) * channels; low depths only come with one channel.
uint64_t rowBytesFor(uint64_t pixels, const Header& header)
{
    return (pixels * header.bitDepth + 7) / 8 * channelCount(header.colourType);
}

Pass makePass(const PassOrigin& origin, const Header& header)
{
    Pass pass;
    pass.firstColumn = origin.firstColumn;
    pass.firstRow = origin.firstRow;
    pass.columnStep = origin.columnStep;
    pass.rowStep = origin.rowStep;
    // Widths and heights are at most kMaxSide here, so these sums stay in 32 bits.
    pass.pixels = (header.width + origin.columnStep - origin.firstColumn - 1) / origin.columnStep;
    pass.rows = (header.height + origin.rowStep - origin.firstRow - 1) / origin.rowStep;
    pass.rowBytes = size_t(rowBytesFor(pass.pixels, header));
    return pass;
}

} // namespace

bool planLayout(const Header& header, Layout& out)
{
    if (header.width == 0 || header.height == 0 || header.width > kMaxSide || header.height > kMaxSide) return false;
    if (uint64_t(imagePitch(header.width)) * header.height > kMaxDecodedBytes) return false;

    const uint32_t depthBytes = header.bitDepth < 8 ? 1 : header.bitDepth / 8;
    out.bytesPerPixel = size_t(depthBytes) * channelCount(header.colourType);
    out.passCount = 0;
    uint64_t raw = 0;
    if (header.interlace == 0) {
        out.passes[out.passCount++] = makePass({0, 0, 1, 1}, header);
    } else {
        for (const PassOrigin& origin : kAdam7) {
            // A pass with no columns has no rows in the data either, not even filter bytes.
            if (origin.firstColumn >= header.width) continue;
            out.passes[out.passCount++] = makePass(origin, header);
        }
    }
    for (int i = 0; i < out.passCount; ++i) {
        const Pass& pass = out.passes[i];
        raw += uint64_t(pass.rows) * (pass.rowBytes + 1);
    }
    // At most 32768 rows of 8 * 32768 + 1 bytes: well inside 64 bits, and inside size_t
    // on any machine that could hold the output.
    if (raw > SIZE_MAX) return false;
    out.rawBytes = size_t(raw);
    return true;
}

} // namespace png
