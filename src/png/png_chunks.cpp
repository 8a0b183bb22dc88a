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

const Chunk* findFirst(const std::vector<Chunk>& chunks, uint32_t type)
{
    for (const Chunk& chunk : chunks)
        if (chunk.type == type) return &chunk;
    return nullptr;
}

bool joinImageData(const std::vector<Chunk>& chunks, std::vector<uint8_t>& joined)
{
    size_t total = 0; // bounded by the buffer length, so it cannot overflow
    for (const Chunk& chunk : chunks)
        if (chunk.type == kIDAT) total += chunk.length;
    if (total == 0) return false;
    joined.resize(total);
    size_t at = 0;
    for (const Chunk& chunk : chunks) {
        if (chunk.type != kIDAT) continue;
        std::memcpy(joined.data() + at, chunk.data, chunk.length);
        at += chunk.length;
    }
    return true;
}

bool readPalette(const std::vector<Chunk>& chunks, Parsed& out)
{
    if (out.header.colourType != kPalette) return true;
    const Chunk* plte = findFirst(chunks, kPLTE);
    if (!plte || plte->length / 3 > 256) return false;
    std::memcpy(out.palette.data(), plte->data, size_t(plte->length / 3) * 3);
    return true;
}

bool readTransparency(const std::vector<Chunk>& chunks, Parsed& out)
{
    out.alpha.fill(255);
    const Chunk* trns = findFirst(chunks, kTRNS);
    if (!trns) return true;
    switch (out.header.colourType) {
    case kGrey:
        if (trns->length != 2) return false;
        out.greyKey = readU16(trns->data);
        break;
    case kRgb:
        if (trns->length != 6) return false;
        for (int i = 0; i < 3; ++i) out.rgbKey[i] = readU16(trns->data + 2 * i);
        break;
    case kPalette:
        if (trns->length > 256) return false;
        std::memcpy(out.alpha.data(), trns->data, trns->length);
        break;
    default: return false; // images with an alpha channel take no key
    }
    out.hasTransparency = true;
    return true;
}

} // namespace

bool readChunks(const uint8_t* data, size_t length, std::vector<Chunk>& chunks)
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
        const uint32_t stored = readU32(chunk.data + chunk.length);
        // The CRC covers the type bytes and the data, which lie next to each other.
        const uLong actual = crc32_z(crc32(0L, Z_NULL, 0), data + at + 4, size_t(chunk.length) + 4);
        if (actual != stored) return false;
        chunks.push_back(chunk);
        at += kChunkOverhead + chunk.length;
    }
    return true;
}

bool parsePng(const uint8_t* data, size_t length, Parsed& out, Layout& layout)
{
    std::vector<Chunk> chunks;
    if (!data || !readChunks(data, length, chunks)) return false;
    if (chunks.size() <= 2 || chunks.back().type != kIEND) return false;
    // The size limits hold before anything sized by the header or the data is made.
    if (!readHeader(chunks.front(), out.header) || !planLayout(out.header, layout)) return false;
    // Palette and transparency are cheap to check, so they go before the join.
    if (!readPalette(chunks, out) || !readTransparency(chunks, out)) return false;
    return joinImageData(chunks, out.compressed);
}

} // namespace png
