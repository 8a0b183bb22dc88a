// Reading a PNG file's chunk structure: signature, chunk walk with CRC checks, and the
// header, palette, transparency and image-data chunks. Every length is checked against
// what is left of the buffer before it is used, so no read goes past the end.
#include "png/png_parts.h"

#include <zlib.h>

#include <cstring>

namespace png {

namespace {

constexpr size_t kChunkOverhead = 12; // length, type and CRC around the data

constexpr uint32_t typeCode(const char (&name)[5])
{
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 | uint32_t(uint8_t(name[2])) << 8 |
           uint32_t(uint8_t(name[3]));
}

constexpr uint32_t kIHDR = typeCode("IHDR");
constexpr uint32_t kPLTE = typeCode("PLTE");
constexpr uint32_t kIDAT = typeCode("IDAT");
constexpr uint32_t kIEND = typeCode("IEND");
constexpr uint32_t kTRNS = typeCode("tRNS");

uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

bool depthAllowed(uint8_t colourType, uint8_t depth)
{
    switch (colourType) {
    case kGrey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kRgb:
    case kGreyAlpha:
    case kRgba: return depth == 8 || depth == 16;
    case kPalette: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default: return false;
    }
}

bool readHeader(const Chunk& chunk, Header& header)
{
    if (chunk.type != kIHDR || chunk.length != 13) return false;
    const uint8_t* d = chunk.data;
    header.width = readU32(d);
    header.height = readU32(d + 4);
    header.bitDepth = d[8];
    header.colourType = d[9];
    header.compression = d[10];
    header.filter = d[11];
    header.interlace = d[12];
    return header.width != 0 && header.height != 0 && depthAllowed(header.colourType, header.bitDepth) &&
           header.compression == 0 && header.filter == 0 && header.interlace <= 1;
}

// What the walk keeps of the file: pointers into it, so that finding the chunks
// allocates nothing.
struct KeyChunks {
    size_t count = 0;
    Chunk first, last;
    Chunk palette, transparency; // the first of each; type 0 when the file has none
    size_t imageBytes = 0;       // every IDAT's data together; bounded by the file length
};

// Calls visit for each chunk in file order; false on a bad signature, a truncated
// chunk, or bytes after the last chunk.
template <typename Visit>
bool forEachChunk(const uint8_t* data, size_t length, Visit visit)
{
    if (length < sizeof(kSignature) || std::memcmp(data, kSignature, sizeof(kSignature)) != 0) return false;
    size_t at = sizeof(kSignature);
    while (at < length) {
        const size_t left = length - at;
        if (left < 8) return false;
        Chunk chunk;
        chunk.length = readU32(data + at);
        chunk.type = readU32(data + at + 4);
        // Compared by subtraction: length + 12 could wrap on a 32-bit size_t.
        if (left < kChunkOverhead || chunk.length > left - kChunkOverhead) return false;
        chunk.data = data + at + 8;
        if (!visit(chunk)) return false;
        at += kChunkOverhead + chunk.length;
    }
    return true;
}

// The CRC covers the type bytes and the data, which lie next to each other.
bool crcHolds(const Chunk& chunk)
{
    const uLong actual = crc32_z(crc32(0L, Z_NULL, 0), chunk.data - 4, size_t(chunk.length) + 4);
    return actual == readU32(chunk.data + chunk.length);
}

bool findKeyChunks(const uint8_t* data, size_t length, KeyChunks& found)
{
    return forEachChunk(data, length, [&found](const Chunk& chunk) {
        if (!crcHolds(chunk)) return false;
        if (found.count++ == 0) found.first = chunk;
        found.last = chunk;
        if (chunk.type == kPLTE && found.palette.type == 0) found.palette = chunk;
        if (chunk.type == kTRNS && found.transparency.type == 0) found.transparency = chunk;
        if (chunk.type == kIDAT) found.imageBytes += chunk.length;
        return true;
    });
}

// A file whose data does not fit in memory is a failed load, never an exception.
bool joinImageData(const uint8_t* data, size_t length, const KeyChunks& found, Parsed& out)
{
    if (found.imageBytes == 0) return false;
    out.compressed = allocateBytes(found.imageBytes);
    if (!out.compressed) return false;
    out.compressedSize = 0;
    return forEachChunk(data, length, [&out](const Chunk& chunk) {
        if (chunk.type != kIDAT) return true;
        std::memcpy(out.compressed.get() + out.compressedSize, chunk.data, chunk.length);
        out.compressedSize += chunk.length;
        return true;
    });
}

bool readPalette(const Chunk& plte, Parsed& out)
{
    if (out.header.colourType != kPalette) return true;
    if (plte.type != kPLTE || plte.length / 3 > 256) return false;
    std::memcpy(out.palette.data(), plte.data, size_t(plte.length / 3) * 3);
    return true;
}

bool readTransparency(const Chunk& trns, Parsed& out)
{
    out.alpha.fill(255);
    if (trns.type != kTRNS) return true;
    switch (out.header.colourType) {
    case kGrey:
        if (trns.length != 2) return false;
        out.greyKey = readU16(trns.data);
        break;
    case kRgb:
        if (trns.length != 6) return false;
        for (int i = 0; i < 3; ++i) out.rgbKey[i] = readU16(trns.data + 2 * i);
        break;
    case kPalette:
        if (trns.length > 256) return false;
        std::memcpy(out.alpha.data(), trns.data, trns.length);
        break;
    default: return false; // images with an alpha channel take no key
    }
    out.hasTransparency = true;
    return true;
}

} // namespace

bool parsePng(const uint8_t* data, size_t length, Parsed& out, Layout& layout)
{
    KeyChunks found;
    if (!data || !findKeyChunks(data, length, found)) return false;
    if (found.count <= 2 || found.last.type != kIEND) return false;
    // The size limits hold before anything sized by the header or the data is made.
    if (!readHeader(found.first, out.header) || !planLayout(out.header, layout)) return false;
    // Palette and transparency are cheap to check, so they go before the join.
    if (!readPalette(found.palette, out) || !readTransparency(found.transparency, out)) return false;
    return joinImageData(data, length, found, out);
}

} // namespace png
