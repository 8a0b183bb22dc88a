// The pieces of the PNG decoder, shared between its source files and the tests: the
// parsed file, the pass geometry with its size limits, row unfiltering and pixel
// conversion. Nothing here allocates except the parser's copy of the image data, and
// that as a ByteBlock.
#pragma once

#include "files/byte_block.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace png {

inline constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t kMaxSide = 32768;
constexpr uint64_t kMaxDecodedBytes = uint64_t(256) << 20;

// Every number in a PNG file is big-endian.
inline uint32_t readU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

enum ColourType : uint8_t { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t compression = 0;
    uint8_t filter = 0;
    uint8_t interlace = 0;
};

struct Chunk {
    uint32_t length = 0;
    uint32_t type = 0; // the four type bytes, big-endian, as in the file
    const uint8_t* data = nullptr;
};

// Everything decoding needs from the file apart from the pixels themselves.
struct Parsed {
    Header header;
    std::array<uint8_t, 256 * 3> palette{}; // R, G, B per entry; zero where the file gives none
    std::array<uint8_t, 256> alpha{};       // per palette index; 255 beyond the file's entries
    bool hasTransparency = false;
    uint16_t greyKey = 0;
    std::array<uint16_t, 3> rgbKey{};
    ByteBlock compressed; // every IDAT's data, joined in file order
    size_t compressedSize = 0;
};

// One interlace pass (or the whole image when not interlaced) as the raw data holds it.
struct Pass {
    uint32_t firstColumn = 0, firstRow = 0, columnStep = 1, rowStep = 1;
    uint32_t pixels = 0; // per row of the pass
    uint32_t rows = 0;
    size_t rowBytes = 0; // without the filter byte
};

struct Layout {
    std::array<Pass, 7> passes{};
    int passCount = 0;
    size_t rawBytes = 0;     // what the image data must inflate to exactly
    size_t bytesPerPixel = 0; // the filters' byte distance to the pixel on the left
};

// The passes and the raw size for a header that has passed its checks; false when the
// image breaks the side or decoded-size limits. All products are taken in 64 bits.
bool planLayout(const Header& header, Layout& out);

// Checks the signature, every chunk and its CRC, the header and its size limits, PLTE
// and tRNS, then plans the layout and joins the image data. False on anything
// malformed, including trailing bytes after IEND.
bool parsePng(const uint8_t* data, size_t length, Parsed& out, Layout& layout);

// Undoes one row's filter in place. prior is the row above in the same pass, already
// unfiltered, or null for the first row of a pass (read as zeros). False for a filter
// type above 4. unfilterRow takes the SSE2 path for 3 and 4 bytes per pixel where the
// build has one; unfilterRowScalar is the plain reference the tests hold it against.
bool unfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t bytesPerPixel);
bool unfilterRowScalar(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t bytesPerPixel);

// Converts unfiltered samples into 0xAARRGGBB words written to out[0], out[step], ...
struct Converter {
    using RowFunction = void (*)(const Converter&, const uint8_t* samples, uint32_t* out, uint32_t count,
                                 uint32_t step);
    RowFunction convertRow = nullptr;
    std::array<uint32_t, 256> lookup{}; // grey and palette images of up to 8 bits: sample -> pixel
    bool hasKey = false;
    uint16_t greyKey = 0;
    std::array<uint16_t, 3> rgbKey{};

    void operator()(const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step) const
    {
        convertRow(*this, samples, out, count, step);
    }
};

Converter makeConverter(const Parsed& parsed);

} // namespace png
