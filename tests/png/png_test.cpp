// The PNG loader on small files made in the test: the pixel rules of each colour
// type, the checks that must refuse a file (chunk structure, CRCs, header values,
// palette and transparency, inflated size), the size limits, the three output layouts,
// the file calls, and the SSE2 unfilter held against the scalar one.
#include "png/png.h"

#include "png/png_parts.h"
#include "png_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

using namespace pngtest;

namespace {

struct PngDeleter {
    void operator()(Image* image) const { PNG_FREE(image); }
};
using Decoded = std::unique_ptr<Image, PngDeleter>;

Decoded decode(const Bytes& bytes, int mode = kPngImage) { return Decoded(PNG_DECODE(bytes.data(), bytes.size(), mode)); }

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A 2 x 2 RGB image, unfiltered: red, green / blue, white.
Bytes smallRgb() { return file(header(2, 2, 8, 2), {0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255}); }

std::string writeTemp(const std::string& name, const Bytes& bytes)
{
    const std::string path = (std::filesystem::path(testing::TempDir()) / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

} // namespace

// --- pixel rules ---------------------------------------------------------------

TEST(PngDecode, OneBitGreyTenWide_GivesBlackAndWhiteAndIgnoresSpareBits)
{
    // Samples 1011001001, then six spare bits set to 1 that must not leak into pixels.
    const Decoded image = decode(file(header(10, 1, 1, 0), {0, 0b10110010, 0b01111111}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pitch, 64u);
    const uint32_t w = 0xFFFFFFFF, b = 0xFF000000;
    const uint32_t expected[16] = {w, b, w, w, b, b, w, b, b, w, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(imageRow(image.get(), 0), expected, sizeof expected), 0);
}

TEST(PngDecode, LowBitGrey_ScalesToFullRangeAndKeysOnTheRawSample)
{
    // 2-bit samples 0..3 step by 85; the key 2 makes only that sample transparent.
    const Decoded image = decode(file(header(4, 1, 2, 0), {0, 0b00011011}, {chunk("tRNS", {0, 2})}));
    ASSERT_NE(image, nullptr);
    const uint32_t* row = imageRow(image.get(), 0);
    EXPECT_EQ(row[0], 0xFF000000u);
    EXPECT_EQ(row[1], 0xFF555555u);
    EXPECT_EQ(row[2], 0x00AAAAAAu);
    EXPECT_EQ(row[3], 0xFFFFFFFFu);
}

TEST(PngDecode, PaletteWithThreeAlphaEntries_LeavesLaterIndicesOpaque)
{
    const Bytes plte = {10, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0, 50, 0, 0};
    const Decoded image =
        decode(file(header(5, 1, 8, 3), {0, 0, 1, 2, 3, 4}, {chunk("PLTE", plte), chunk("tRNS", {0, 128, 7})}));
    ASSERT_NE(image, nullptr);
    const uint32_t* row = imageRow(image.get(), 0);
    EXPECT_EQ(row[0], 0x000A0000u);
    EXPECT_EQ(row[1], 0x80140000u);
    EXPECT_EQ(row[2], 0x071E0000u);
    EXPECT_EQ(row[3], 0xFF280000u);
    EXPECT_EQ(row[4], 0xFF320000u);
}

TEST(PngDecode, PaletteIndexBeyondTheEntries_IsOpaqueBlack)
{
    const Decoded image = decode(file(header(2, 1, 8, 3), {0, 0, 200}, {chunk("PLTE", {1, 2, 3})}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 0)[0], 0xFF010203u);
    EXPECT_EQ(imageRow(image.get(), 0)[1], 0xFF000000u);
}

TEST(PngDecode, SixteenBitRgbKey_ComparesAllSixteenBitsButKeepsHighBytes)
{
    // Two pixels equal in their high bytes; only the second matches the key exactly.
    const Bytes raw = {0, 0x12, 0x00, 0x34, 0x00, 0x56, 0x00, 0x12, 0x01, 0x34, 0x01, 0x56, 0x01};
    const Decoded image = decode(file(header(2, 1, 16, 2), raw, {chunk("tRNS", {0x12, 0x01, 0x34, 0x01, 0x56, 0x01})}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 0)[0], 0xFF123456u);
    EXPECT_EQ(imageRow(image.get(), 0)[1], 0x00123456u);
}

TEST(PngDecode, EightBitRgbKeyAboveTheSampleRange_NeverMatches)
{
    // A key of 0x0100 is not the sample 0x00: keys are compared unmasked.
    const Decoded image = decode(file(header(1, 1, 8, 2), {0, 0, 0, 0}, {chunk("tRNS", {1, 0, 0, 0, 0, 0})}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 0)[0], 0xFF000000u);
}

TEST(PngDecode, InterlacedOneByOne_HasItsDataInPassOneOnly)
{
    const Decoded image = decode(file(header(1, 1, 8, 0, 1), {0, 0x80}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 0)[0], 0xFF808080u);
    // Data for a second pass is one row too many: the inflated size no longer fits.
    EXPECT_EQ(decode(file(header(1, 1, 8, 0, 1), {0, 0x80, 0, 0x80})), nullptr);
}

TEST(PngDecode, ImageDataSplitOverChunksAnywhere_IsJoinedInFileOrder)
{
    const Bytes compressed = deflate({0, 1, 2, 3, 0, 4, 5, 6});
    const Bytes first(compressed.begin(), compressed.begin() + 3), rest(compressed.begin() + 3, compressed.end());
    const Bytes bytes = concat({signature(), chunk("IDAT", first), chunk("IHDR", header(1, 2, 8, 2)),
                                chunk("tEXt", {'a', 0, 'b'}), chunk("IDAT", rest), chunk("IEND", {})});
    // IHDR must come first, so this order is refused...
    EXPECT_EQ(decode(bytes), nullptr);
    // ...while IDATs split around an ancillary chunk are fine.
    const Decoded image = decode(concat({signature(), chunk("IHDR", header(1, 2, 8, 2)), chunk("IDAT", first),
                                         chunk("tEXt", {'a', 0, 'b'}), chunk("IDAT", rest), chunk("IEND", {})}));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 0)[0], 0xFF010203u);
    EXPECT_EQ(imageRow(image.get(), 1)[0], 0xFF040506u);
}

// --- refusals ------------------------------------------------------------------

TEST(PngDecode, ByteAfterIend_IsRefusedWhileNothingAfterIendLoads)
{
    Bytes bytes = smallRgb();
    EXPECT_NE(decode(bytes), nullptr);
    bytes.push_back(0);
    EXPECT_EQ(decode(bytes), nullptr);
}

TEST(PngDecode, BadCrcOnAnIgnoredChunk_IsRefused)
{
    const Bytes raw = {0, 1, 2, 3};
    EXPECT_NE(decode(file(header(1, 1, 8, 2), raw, {chunk("tEXt", {'k', 0, 'v'})})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 2), raw, {chunk("tEXt", {'k', 0, 'v'}, 1)})), nullptr);
}

TEST(PngDecode, TransparencyChunkOnImagesWithAlpha_IsRefused)
{
    EXPECT_EQ(decode(file(header(1, 1, 8, 6), {0, 1, 2, 3, 4}, {chunk("tRNS", {0, 1})})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 4), {0, 1, 2}, {chunk("tRNS", {0, 1})})), nullptr);
}

TEST(PngDecode, TransparencyOfTheWrongLength_IsRefused)
{
    EXPECT_EQ(decode(file(header(1, 1, 8, 0), {0, 1}, {chunk("tRNS", {0, 1, 2})})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 2), {0, 1, 2, 3}, {chunk("tRNS", {0, 1, 0, 2})})), nullptr);
    const Bytes plte = {1, 2, 3};
    EXPECT_EQ(decode(file(header(1, 1, 8, 3), {0, 0}, {chunk("PLTE", plte), chunk("tRNS", Bytes(257, 9))})), nullptr);
    EXPECT_NE(decode(file(header(1, 1, 8, 3), {0, 0}, {chunk("PLTE", plte), chunk("tRNS", Bytes(256, 9))})), nullptr);
}

TEST(PngDecode, PaletteImageWithoutOrWithOversizedPalette_IsRefused)
{
    EXPECT_EQ(decode(file(header(1, 1, 8, 3), {0, 0})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 3), {0, 0}, {chunk("PLTE", Bytes(257 * 3, 1))})), nullptr);
    EXPECT_NE(decode(file(header(1, 1, 8, 3), {0, 0}, {chunk("PLTE", Bytes(256 * 3 + 2, 1))})), nullptr);
}

TEST(PngDecode, HeaderValuesOutsideTheFormat_AreRefused)
{
    const Bytes grey1x1 = {0, 0};
    EXPECT_EQ(decode(file(header(0, 1, 8, 0), {})), nullptr);
    EXPECT_EQ(decode(file(header(1, 0, 8, 0), {})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 16, 3), {0, 0, 0})), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 4, 2), grey1x1)), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 1), grey1x1)), nullptr);
    EXPECT_EQ(decode(file(header(1, 1, 8, 0, 2), grey1x1)), nullptr);
    Bytes methods = header(1, 1, 8, 0);
    methods[10] = 1; // compression method
    EXPECT_EQ(decode(file(methods, grey1x1)), nullptr);
    methods[10] = 0;
    methods[11] = 1; // filter method
    EXPECT_EQ(decode(file(methods, grey1x1)), nullptr);
    Bytes longHeader = header(1, 1, 8, 0);
    longHeader.push_back(0);
    EXPECT_EQ(decode(file(longHeader, grey1x1)), nullptr);
}

TEST(PngDecode, ChunkListWithoutImageDataOrEnd_IsRefused)
{
    const Bytes ihdr = chunk("IHDR", header(1, 1, 8, 0));
    const Bytes idat = chunk("IDAT", deflate({0, 7}));
    const Bytes iend = chunk("IEND", {});
    EXPECT_NE(decode(concat({signature(), ihdr, idat, iend})), nullptr);
    EXPECT_EQ(decode(concat({signature(), ihdr, chunk("tEXt", Bytes(40, 'x')), iend})), nullptr);
    EXPECT_EQ(decode(concat({signature(), ihdr, chunk("IDAT", {}), chunk("tEXt", Bytes(40, 'x')), iend})), nullptr);
    EXPECT_EQ(decode(concat({signature(), ihdr, iend, idat})), nullptr);
}

TEST(PngDecode, ImageDataOfTheWrongInflatedSize_IsRefused)
{
    EXPECT_EQ(decode(file(header(2, 2, 8, 0), {0, 1, 2, 0, 3})), nullptr);
    EXPECT_EQ(decode(file(header(2, 2, 8, 0), {0, 1, 2, 0, 3, 4, 0})), nullptr);
    const Bytes exact = file(header(2, 2, 8, 0), {0, 1, 2, 0, 3, 4});
    EXPECT_NE(decode(exact), nullptr);
}

TEST(PngDecode, UnknownFilterType_IsRefused)
{
    EXPECT_EQ(decode(file(header(2, 2, 8, 0), {0, 1, 2, 5, 3, 4})), nullptr);
}

TEST(PngDecode, EveryTruncationOfAFile_IsRefused)
{
    const Bytes bytes = file(header(3, 3, 8, 6), Bytes(3 * 13, 0), {chunk("tEXt", {'k', 0, 'v'})});
    ASSERT_NE(decode(bytes), nullptr);
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_EQ(PNG_DECODE(bytes.data(), length, kPngImage), nullptr) << "length " << length;
}

TEST(PngDecode, NullBufferShortBufferAndUnknownModes_GiveNull)
{
    const Bytes bytes = smallRgb();
    EXPECT_EQ(PNG_DECODE(nullptr, bytes.size(), kPngImage), nullptr);
    EXPECT_EQ(PNG_DECODE(bytes.data(), 48, kPngImage), nullptr);
    EXPECT_EQ(decode(bytes, 0), nullptr);
    EXPECT_EQ(decode(bytes, 4), nullptr);
}

// --- size limits ---------------------------------------------------------------

TEST(PngLimits, SideAbove32768_IsRefusedEvenWithValidData)
{
    // One-bit grey rows of zeros: valid data that would decode without the limit.
    EXPECT_NE(decode(file(header(32768, 1, 1, 0), Bytes(1 + 4096, 0))), nullptr);
    EXPECT_EQ(decode(file(header(32769, 1, 1, 0), Bytes(1 + 4097, 0))), nullptr);
    EXPECT_EQ(decode(file(header(1, 32769, 1, 0), Bytes(2 * 32769, 0))), nullptr);
}

TEST(PngLimits, DecodedSizeAbove256MiB_IsRefusedEvenWithValidData)
{
    // 8193 x 8192 pixels need 8192 rows of 32800 bytes: just over 256 MiB.
    EXPECT_EQ(decode(file(header(8193, 8192, 1, 0), Bytes(size_t(8192) * (1 + 1025), 0))), nullptr);
}

TEST(PngLimits, LayoutBoundsAndSizesHoldWithoutOverflow)
{
    png::Layout layout;
    png::Header h{32768, 2048, 1, 0, 0, 0, 0};
    EXPECT_TRUE(png::planLayout(h, layout)) << "exactly 256 MiB is allowed";
    EXPECT_EQ(layout.rawBytes, size_t(2048) * (4096 + 1));
    h = {32768, 2049, 1, 0, 0, 0, 0};
    EXPECT_FALSE(png::planLayout(h, layout));
    h = {0xFFFFFFFFu, 0xFFFFFFFFu, 16, 6, 0, 0, 0};
    EXPECT_FALSE(png::planLayout(h, layout));
    h = {8192, 8192, 16, 6, 0, 0, 1};
    ASSERT_TRUE(png::planLayout(h, layout));
    // Adam7 rows of 16-bit RGBA: 8 bytes a pixel, every pass present.
    size_t raw = 0;
    for (int i = 0; i < layout.passCount; ++i) raw += size_t(layout.passes[i].rows) * (layout.passes[i].pixels * 8 + 1);
    EXPECT_EQ(layout.passCount, 7);
    EXPECT_EQ(layout.rawBytes, raw);
    EXPECT_GT(layout.rawBytes, size_t(8192) * 8192 * 8);
}

TEST(PngLimits, InterlacedPassesWithoutColumns_AddNoRows)
{
    png::Layout layout;
    ASSERT_TRUE(png::planLayout({1, 8, 8, 0, 0, 0, 1}, layout));
    // Passes 1, 3, 5, 7 start in column 0: 1 + 1 + 2 + 4 rows of one sample each.
    EXPECT_EQ(layout.passCount, 4);
    EXPECT_EQ(layout.rawBytes, 16u);
    ASSERT_TRUE(png::planLayout({8, 8, 8, 0, 0, 0, 1}, layout));
    EXPECT_EQ(layout.rawBytes, 2u + 2 + 3 + 6 + 10 + 20 + 36);
}

// --- output layouts ------------------------------------------------------------

TEST(PngModes, TextureLayout_IsRgbaBytesBottomRowFirstWithSizeWordsBefore)
{
    const Decoded image = decode(smallRgb(), kPngTexture);
    ASSERT_NE(image, nullptr);
    const uint8_t* pixels = imagePixels(image.get());
    uint32_t width = 0, height = 0;
    std::memcpy(&width, pixels - 8, 4);
    std::memcpy(&height, pixels - 12, 4);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 2u);
    const uint8_t expected[16] = {0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255};
    EXPECT_EQ(std::memcmp(pixels, expected, sizeof expected), 0);
}

TEST(PngModes, LegacyLayout_HasTheOldHeaderAndPackedRows)
{
    const Decoded image = decode(file(header(3, 2, 8, 0), {0, 1, 2, 3, 0, 4, 5, 6}), kPngLegacy);
    ASSERT_NE(image, nullptr);
    const uint8_t* pixels = imagePixels(image.get());
    uint16_t words[2];
    std::memcpy(words, pixels - 4, 4);
    EXPECT_EQ(words[0], 3 * 8 + 4);
    EXPECT_EQ(words[1], 2);
    uint32_t fourth = 0;
    std::memcpy(&fourth, pixels + 12, 4); // packed: the second row starts after three pixels
    EXPECT_EQ(fourth, 0xFF040404u);
    EXPECT_EQ(decode(file(header(8192, 1, 1, 0), Bytes(1 + 1024, 0)), kPngLegacy), nullptr);
}

// --- files ---------------------------------------------------------------------

TEST(PngFile, LoadReadsTheWholeFileAndRefusesMissingEmptyOrDirectoryPaths)
{
    const Bytes bytes = smallRgb();
    const Decoded image(PNG_LOAD(writeTemp("png_load.png", bytes), kPngImage));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(imageRow(image.get(), 1)[1], 0xFFFFFFFFu);
    EXPECT_EQ(PNG_LOAD(writeTemp("png_empty.png", {}), kPngImage), nullptr);
    EXPECT_EQ(PNG_LOAD(testing::TempDir() + "/no_such_file.png", kPngImage), nullptr);
    // A directory opens, and seeking to its end reports a huge size.
    EXPECT_EQ(PNG_LOAD(testing::TempDir(), kPngImage), nullptr);
}

TEST(PngFile, SizeReadsTheHeaderWordsOnlyBehindAValidSignature)
{
    uint32_t width = 7, height = 7;
    // Only 24 bytes, and no valid chunk at all: the size is read regardless.
    Bytes headOnly = concat({signature(), {0, 0, 0, 13, 'I', 'H', 'D', 'R'}});
    putU32(headOnly, 2048);
    putU32(headOnly, 1536);
    PNG_SIZE(writeTemp("png_size.png", headOnly), width, height);
    EXPECT_EQ(width, 2048u);
    EXPECT_EQ(height, 1536u);
    headOnly[0] = 0;
    PNG_SIZE(writeTemp("png_size_bad.png", headOnly), width, height);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    width = height = 7;
    PNG_SIZE(testing::TempDir() + "/no_such_file.png", width, height);
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
}

TEST(PngFile, FreeIgnoresNull) { PNG_FREE(nullptr); }

// --- unfiltering ---------------------------------------------------------------

TEST(PngUnfilter, Sse2Path_MatchesScalarForEveryFilterAndPixelSize)
{
    std::mt19937 random(12345);
    for (size_t bpp = 1; bpp <= 8; ++bpp) {
        for (size_t pixels : {1, 2, 5, 33}) {
            const size_t length = bpp * pixels;
            for (uint8_t filter = 0; filter <= 4; ++filter) {
                for (bool first : {false, true}) {
                    // One spare byte after the row stands for the next row's filter byte.
                    std::vector<uint8_t> prior(length), fast(length + 1), slow;
                    for (auto& b : prior) b = uint8_t(random());
                    for (auto& b : fast) b = uint8_t(random());
                    slow = fast;
                    const uint8_t* above = first ? nullptr : prior.data();
                    ASSERT_TRUE(png::unfilterRow(filter, fast.data(), above, length, bpp));
                    ASSERT_TRUE(png::unfilterRowScalar(filter, slow.data(), above, length, bpp));
                    ASSERT_EQ(fast, slow) << "bpp " << bpp << " pixels " << pixels << " filter " << int(filter);
                }
            }
        }
    }
    uint8_t row[4] = {};
    EXPECT_FALSE(png::unfilterRow(5, row, row, 4, 4));
}

TEST(PngUnfilter, Scalar_FollowsThePredictorsOnAKnownRow)
{
    // bpp 1: left 10, above 20 and 30 over a 5 in the upper-left.
    const uint8_t prior[2] = {5, 30};
    uint8_t sub[2] = {10, 1}, up[2] = {10, 1}, average[2] = {10, 1}, paeth[2] = {10, 1};
    png::unfilterRowScalar(1, sub, prior, 2, 1);
    png::unfilterRowScalar(2, up, prior, 2, 1);
    png::unfilterRowScalar(3, average, prior, 2, 1);
    png::unfilterRowScalar(4, paeth, prior, 2, 1);
    EXPECT_EQ(sub[1], 11);
    EXPECT_EQ(up[1], 31);
    EXPECT_EQ(average[0], 12);    // 10 + 5 / 2
    EXPECT_EQ(average[1], 1 + 21); // (12 + 30) / 2
    // p = 15 + 30 - 5 = 40: distances 25, 10, 35, so above (30) wins.
    EXPECT_EQ(paeth[0], 15);
    EXPECT_EQ(paeth[1], 31);
}
