// PNG encoding: each row is filtered with all five filters and the one whose output
// has the smallest sum of absolute values (bytes read as signed) is kept, the usual
// heuristic that lets zlib find the long runs smooth images have.
#include "png/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array<uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kFilterCount = 5;

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

// The filtered scanlines: per row one filter-type byte, then the filtered bytes.
std::vector<uint8_t> filterImage(const Raster& image)
{
    const size_t rowBytes = size_t(image.width) * image.channels;
    const std::vector<uint8_t> zeroRow(rowBytes, 0);
    std::vector<uint8_t> candidate(rowBytes);
    std::vector<uint8_t> out;
    out.reserve((rowBytes + 1) * image.height);
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = image.pixel(0, y);
        const uint8_t* prior = y == 0 ? zeroRow.data() : image.pixel(0, y - 1);
        int bestType = 0;
        uint64_t bestSum = UINT64_MAX;
        for (int type = 0; type < kFilterCount; ++type) {
            filterRow(type, row, prior, rowBytes, image.channels, candidate.data());
            const uint64_t sum = absoluteSum(candidate.data(), rowBytes);
            if (sum < bestSum) {
                bestSum = sum;
                bestType = type;
            }
        }
        out.push_back(uint8_t(bestType));
        const size_t start = out.size();
        out.resize(start + rowBytes);
        filterRow(bestType, row, prior, rowBytes, image.channels, out.data() + start);
    }
    return out;
}

std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw, int level)
{
    uLongf length = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(length);
    const int status = compress2(packed.data(), &length, raw.data(), uLong(raw.size()), level);
    if (status != Z_OK) throw std::runtime_error("zlib compress2 failed with status " + std::to_string(status));
    packed.resize(length);
    return packed;
}

void appendBigEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void appendChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data)
{
    appendBigEndian32(out, uint32_t(data.size()));
    const size_t typeStart = out.size();
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(type[i]));
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    const uLong crc = crc32(0L, out.data() + typeStart, uInt(out.size() - typeStart));
    appendBigEndian32(out, uint32_t(crc));
}

} // namespace

std::vector<uint8_t> encodePng(const Raster& image, int compressionLevel)
{
    std::vector<uint8_t> header;
    appendBigEndian32(header, image.width);
    appendBigEndian32(header, image.height);
    const uint8_t colourType = image.channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0}); // depth, type, deflate, adaptive, no interlace

    std::vector<uint8_t> file(kSignature.begin(), kSignature.end());
    appendChunk(file, "IHDR", header);
    appendChunk(file, "IDAT", deflate(filterImage(image), compressionLevel));
    appendChunk(file, "IEND", {});
    return file;
}
