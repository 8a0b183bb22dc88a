// Small PNG files assembled in the tests: chunks with real (or deliberately wrong)
// CRCs and image data compressed with zlib, so each case states its bytes directly.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::vector<uint8_t>;

inline void putU32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

inline Bytes signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

inline void putU32At(uint8_t* at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(v >> (24 - 8 * i));
}

// crcFlip is XORed into the stored CRC, so a non-zero value makes it wrong.
inline Bytes chunk(const std::string& type, const Bytes& data, uint32_t crcFlip = 0)
{
    // Sized up front and filled by index: g++ 12 warns falsely on inserting an empty range.
    Bytes out(12 + data.size());
    putU32At(out.data(), uint32_t(data.size()));
    for (size_t i = 0; i < 4; ++i) out[4 + i] = uint8_t(type[i]);
    for (size_t i = 0; i < data.size(); ++i) out[8 + i] = data[i];
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + 4, uInt(4 + data.size()));
    putU32At(out.data() + 8 + data.size(), uint32_t(crc) ^ crcFlip);
    return out;
}

inline Bytes header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace = 0)
{
    Bytes data;
    putU32(data, width);
    putU32(data, height);
    data.insert(data.end(), {depth, colourType, 0, 0, interlace});
    return data;
}

inline Bytes deflate(const Bytes& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    Bytes out(size);
    compress(out.data(), &size, raw.data(), uLong(raw.size()));
    out.resize(size);
    return out;
}

// A whole file: IHDR, then the given chunks (PLTE, tRNS, anything), then one IDAT
// holding the raw scanlines (filter bytes included) and IEND.
inline Bytes file(const Bytes& ihdr, const Bytes& raw, const std::vector<Bytes>& before = {})
{
    Bytes out = signature();
    auto append = [&out](const Bytes& b) { out.insert(out.end(), b.begin(), b.end()); };
    append(chunk("IHDR", ihdr));
    for (const Bytes& c : before) append(c);
    append(chunk("IDAT", deflate(raw)));
    append(chunk("IEND", {}));
    return out;
}

} // namespace pngtest
