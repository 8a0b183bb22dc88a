// Under node, in a heap capped at 128 MiB: a picture whose rows need more must be
// refused by the decoder, and a screenshot whose filtered rows do not fit must be
// refused by the encoder with its reason, where a thrown bad_alloc (which the browser
// build cannot catch) or an aborting malloc would end the program instead.
#include "png/png.h"
#include "png/png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    put32(out, uint32_t(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, uint32_t(crc32(0L, out.data() + typeStart, uInt(out.size() - typeStart))));
}

// 8000 x 8000 RGBA: 256 MB of rows. Its data is a stub: the rows are allocated first.
std::vector<uint8_t> hugePng()
{
    std::vector<uint8_t> file = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<uint8_t> header;
    put32(header, 8000);
    put32(header, 8000);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    putChunk(file, "IEND", {});
    return file;
}

} // namespace

int main()
{
    int failures = 0;
    const std::vector<uint8_t> file = hugePng();
    if (Image* image = PNG_DECODE(file.data(), file.size(), kPngImage)) {
        std::puts("FAIL: a picture larger than the heap was decoded");
        PNG_FREE(image);
        ++failures;
    }
    // 77 MB of samples fit; the same again for the filtered rows does not.
    const Raster picture(4400, 4400, 4);
    const EncodedPng encoded = encodePngBytes(picture, 1);
    if (!picture.valid() || encoded.data || encoded.problem != "not enough memory to encode the picture") {
        std::printf("FAIL: encoding past the heap gave \"%s\"\n", encoded.problem.c_str());
        ++failures;
    }
    if (failures == 0) std::printf("both refused; the encoder said \"%s\"\n", encoded.problem.c_str());
    return failures;
}
