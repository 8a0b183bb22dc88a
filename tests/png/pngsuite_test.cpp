// The public PNG conformance suite against libpng: every valid file must decode to
// libpng's raw samples converted by our rules (low-bit grey scaled up, 16-bit samples
// cut to their high byte, tRNS keys and palette alpha), and every corrupted x* file
// must be refused. libpng is asked for untransformed samples only, so its own
// conversions (which mask keys, for one) do not decide what "right" means here.
#include "png/png.h"

#include <libpng16/png.h> // by its folder: our own loader header is png.h too

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(SOURCE_DIR) / "tests/data/pngsuite";

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

struct RawImage {
    uint32_t width = 0, height = 0;
    int depth = 0, colourType = 0, channels = 0;
    std::vector<std::vector<uint8_t>> rows; // de-interlaced, samples as stored
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;
    bool hasTransparency = false;
    png_color_16 key{};
};

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

void readFromMemory(png_structp png, png_bytep out, size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->bytes->size() - reader->at) png_error(png, "read past the end");
    std::memcpy(out, reader->bytes->data() + reader->at, count);
    reader->at += count;
}

void jumpOnError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void ignoreWarning(png_structp, png_const_charp) {}

void collectInfo(png_structp png, png_infop info, RawImage& out)
{
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.depth = png_get_bit_depth(png, info);
    out.colourType = png_get_color_type(png, info);
    out.channels = png_get_channels(png, info);
    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (png_get_PLTE(png, info, &palette, &paletteSize)) out.palette.assign(palette, palette + paletteSize);
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    png_color_16p key = nullptr;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, &key)) {
        out.hasTransparency = true;
        if (out.colourType == PNG_COLOR_TYPE_PALETTE) out.paletteAlpha.assign(alpha, alpha + alphaCount);
        else out.key = *key;
    }
}

// libpng's decode with interlace handling and no sample transforms; false when it refuses.
bool decodeWithLibpng(const std::vector<uint8_t>& bytes, RawImage& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&bytes, 0};
    std::vector<png_bytep> rowPointers;
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_read_fn(png, &reader, readFromMemory);
        png_read_info(png, info);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        collectInfo(png, info, out);
        out.rows.assign(out.height, std::vector<uint8_t>(png_get_rowbytes(png, info)));
        for (auto& row : out.rows) rowPointers.push_back(row.data());
        png_read_image(png, rowPointers.data());
        png_read_end(png, nullptr);
        ok = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

uint32_t sampleAt(const RawImage& image, const uint8_t* row, uint32_t x, int channel)
{
    const size_t index = size_t(x) * image.channels + channel;
    if (image.depth == 16) return uint32_t(row[2 * index]) << 8 | row[2 * index + 1];
    if (image.depth == 8) return row[index];
    const size_t bit = index * image.depth;
    return (row[bit / 8] >> (8 - image.depth - bit % 8)) & ((1u << image.depth) - 1);
}

uint32_t to8Bits(uint32_t sample, int depth)
{
    if (depth == 16) return sample >> 8;
    return sample * 255 / ((1u << depth) - 1);
}

uint32_t expectedPixel(const RawImage& image, const uint8_t* row, uint32_t x)
{
    auto s = [&](int channel) { return sampleAt(image, row, x, channel); };
    auto argb = [](uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; };
    const int d = image.depth;
    switch (image.colourType) {
    case PNG_COLOR_TYPE_GRAY: {
        const uint32_t g = to8Bits(s(0), d);
        return argb(image.hasTransparency && s(0) == image.key.gray ? 0 : 255, g, g, g);
    }
    case PNG_COLOR_TYPE_RGB: {
        const bool keyed = image.hasTransparency && s(0) == image.key.red && s(1) == image.key.green &&
                           s(2) == image.key.blue;
        return argb(keyed ? 0 : 255, to8Bits(s(0), d), to8Bits(s(1), d), to8Bits(s(2), d));
    }
    case PNG_COLOR_TYPE_PALETTE: {
        const uint32_t index = s(0);
        const png_color entry = index < image.palette.size() ? image.palette[index] : png_color{0, 0, 0};
        uint32_t alpha = 255;
        if (image.hasTransparency && index < image.paletteAlpha.size()) alpha = image.paletteAlpha[index];
        return argb(alpha, entry.red, entry.green, entry.blue);
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
        const uint32_t g = to8Bits(s(0), d);
        return argb(to8Bits(s(1), d), g, g, g);
    }
    default: return argb(to8Bits(s(3), d), to8Bits(s(0), d), to8Bits(s(1), d), to8Bits(s(2), d));
    }
}

std::vector<fs::path> suiteFiles(bool corrupted)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kSuite)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && (name[0] == 'x') == corrupted) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(PngSuite, EveryValidFile_DecodesToLibpngSamplesUnderOurConversion)
{
    const std::vector<fs::path> files = suiteFiles(false);
    ASSERT_EQ(files.size(), 161u) << "the suite in " << kSuite << " is incomplete";
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> bytes = readFile(path);
        RawImage reference;
        ASSERT_TRUE(decodeWithLibpng(bytes, reference));
        Image* image = PNG_DECODE(bytes.data(), bytes.size(), kPngImage);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->width, reference.width);
        ASSERT_EQ(image->height, reference.height);
        int mismatches = 0;
        for (uint32_t y = 0; y < reference.height && mismatches < 3; ++y) {
            for (uint32_t x = 0; x < reference.width && mismatches < 3; ++x) {
                const uint32_t expected = expectedPixel(reference, reference.rows[y].data(), x);
                if (imageRow(image, y)[x] == expected) continue;
                ++mismatches;
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << std::hex << imageRow(image, y)[x]
                              << ", expected " << expected;
            }
        }
        PNG_FREE(image);
    }
}

TEST(PngSuite, EveryCorruptedFile_IsRefused)
{
    const std::vector<fs::path> files = suiteFiles(true);
    ASSERT_EQ(files.size(), 14u);
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> bytes = readFile(path);
        for (int mode : {kPngLegacy, kPngImage, kPngTexture}) EXPECT_EQ(PNG_DECODE(bytes.data(), bytes.size(), mode), nullptr);
    }
}
