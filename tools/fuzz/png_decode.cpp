// libFuzzer target for PNG_DECODE. The first input byte picks the mode (0 and 4 must
// be refused) and, in its top bit, whether the chunk CRCs are rewritten to match
// before decoding, so that mutations get past the checksums into the deeper stages.
// A decoded image is walked whole so that a wrong size or pitch shows up under ASan.
#include "png/png.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

uint32_t readU32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void fixCrcs(std::vector<uint8_t>& file)
{
    size_t at = 8;
    while (file.size() - at >= 12 && at < file.size()) {
        const size_t length = readU32(file.data() + at);
        if (length > file.size() - at - 12) return;
        const uint32_t crc = uint32_t(crc32_z(crc32(0L, Z_NULL, 0), file.data() + at + 4, length + 4));
        for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const int mode = (data[0] & 0x7F) % 5;
    std::vector<uint8_t> file(data + 1, data + size);
    if (data[0] & 0x80) fixCrcs(file);
    Image* image = PNG_DECODE(file.data(), file.size(), mode);
    if (!image) return 0;
    if (mode == 0 || mode == 4) __builtin_trap();
    const uint8_t* pixels = imagePixels(image);
    const size_t bytes = size_t(image->pitch) * image->height;
    uint32_t sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += pixels[i];
    volatile uint32_t sink = sum;
    (void)sink;
    PNG_FREE(image);
    return 0;
}
