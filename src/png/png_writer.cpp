// PNG encoding: each row is filtered with all five filters and the one whose output
// has the smallest sum of absolute values (bytes read as signed) is kept, the usual
// heuristic that lets zlib find the long runs smooth images have.
#include "png/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array<uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kFilterCount = 5;
const std::string kOutOfMemory = "not enough memory to encode the picture";

uint8_t paeth(uint8_t left, uint8_t above, uint8_t upperLeft)
{
    const int p = int(left) + int(above) - int(upperLeft);
    const int pa = std::abs(p - int(left));
    const int pb = std::abs(p - int(above));
    const int pc = std::abs(p - int(upperLeft));
    if (pa <= pb && pa <= pc) return left;
    return pb <= pc ? above : upperLeft;
}

// Filters one row with filter type `type` into out; prior is the unfiltered row above
// (all zeros for the first row), bpp the byte distance to the pixel on the left.
void filterRow(int type, const uint8_t* row, const uint8_t* prior, size_t length, size_t bpp, uint8_t* out)
{
    for (size_t i = 0; i < length; ++i) {
        const uint8_t left = i >= bpp ? row[i - bpp] : 0;
        const uint8_t upperLeft = i >= bpp ? prior[i - bpp] : 0;
        uint8_t predictor = 0;
        switch (type) {
        case 1: predictor = left; break;
        case 2: predictor = prior[i]; break;
        case 3: predictor = uint8_t((int(left) + int(prior[i])) / 2); break;
        case 4: predictor = paeth(left, prior[i], upperLeft); break;
        default: break;
        }
        out[i] = uint8_t(row[i] - predictor);
    }
}

uint64_t absoluteSum(const uint8_t* bytes, size_t length)
{
    uint64_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum += uint64_t(std::abs(int(int8_t(bytes[i]))));
    return sum;
}

// The filtered scanlines, per row one filter-type byte, then the filtered bytes, into
// filtered, which holds (width * channels + 1) * height bytes; false without memory.
bool filterImage(const Raster& image, uint8_t* filtered)
{
    const size_t rowBytes = size_t(image.width) * image.channels;
    const ByteBlock zeroRow = allocateBytes(rowBytes, true);
    const ByteBlock candidate = allocateBytes(rowBytes);
    if (!zeroRow || !candidate) return false;
    uint8_t* out = filtered;
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixel(0, y);
        const uint8_t* prior = y == 0 ? zeroRow.get() : image.pixel(0, y - 1);
        int bestType = 0;
        uint64_t bestSum = UINT64_MAX;
        for (int type = 0; type < kFilterCount; ++type) {
            filterRow(type, row, prior, rowBytes, image.channels, candidate.get());
            const uint64_t sum = absoluteSum(candidate.get(), rowBytes);
            if (sum < bestSum) {
                bestSum = sum;
                bestType = type;
            }
        }
        *out++ = uint8_t(bestType);
        filterRow(bestType, row, prior, rowBytes, image.channels, out);
        out += rowBytes;
    }
    return true;
}

uint8_t* putBigEndian32(uint8_t* at, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) *at++ = uint8_t(value >> shift);
    return at;
}

// Writes the chunk at `at` and returns where the next one goes.
uint8_t* putChunk(uint8_t* at, const char (&type)[5], const uint8_t* data, size_t length)
{
    at = putBigEndian32(at, uint32_t(length));
    uint8_t* typeStart = at;
    for (int i = 0; i < 4; ++i) *at++ = uint8_t(type[i]);
    if (length > 0) std::memcpy(at, data, length);
    at += length;
    // The checksum covers the type and the data, not the length.
    return putBigEndian32(at, uint32_t(crc32(0L, typeStart, uInt(at - typeStart))));
}

} // namespace

EncodedPng encodePngBytes(const Raster& image, int compressionLevel)
{
    EncodedPng result;
    const size_t filteredBytes = (size_t(image.width) * image.channels + 1) * image.height;
    const ByteBlock filtered = allocateBytes(filteredBytes);
    if (!image.valid() || !filtered || !filterImage(image, filtered.get())) {
        result.problem = kOutOfMemory;
        return result;
    }
    uLongf packedBytes = compressBound(uLong(filteredBytes));
    const ByteBlock packed = allocateBytes(packedBytes);
    const int status = packed ? compress2(packed.get(), &packedBytes, filtered.get(), uLong(filteredBytes), compressionLevel)
                              : Z_MEM_ERROR;
    if (status != Z_OK) {
        result.problem = status == Z_MEM_ERROR ? kOutOfMemory
                                               : "zlib compress2 failed with status " + std::to_string(status);
        return result;
    }
    uint8_t header[13] = {};
    putBigEndian32(putBigEndian32(header, image.width), image.height);
    const uint8_t colourType = image.channels == 4 ? 6 : 2;
    const uint8_t rest[] = {8, colourType, 0, 0, 0}; // depth, type, deflate, adaptive, no interlace
    std::memcpy(header + 8, rest, sizeof rest);

    constexpr size_t kChunkOverhead = 12;
    const size_t size = kSignature.size() + 3 * kChunkOverhead + sizeof header + packedBytes;
    result.data = allocateBytes(size);
    if (!result.data) {
        result.problem = kOutOfMemory;
        return result;
    }
    uint8_t* at = std::copy(kSignature.begin(), kSignature.end(), result.data.get());
    at = putChunk(at, "IHDR", header, sizeof header);
    at = putChunk(at, "IDAT", packed.get(), packedBytes);
    putChunk(at, "IEND", nullptr, 0);
    result.size = size;
    return result;
}

std::vector<uint8_t> encodePng(const Raster& image, int compressionLevel)
{
    const EncodedPng encoded = encodePngBytes(image, compressionLevel);
    if (!encoded.data) throw std::runtime_error(encoded.problem);
    return {encoded.data.get(), encoded.data.get() + encoded.size};
}
