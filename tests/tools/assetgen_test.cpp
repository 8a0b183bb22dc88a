// Tests of the data-file generator: it must still reproduce the committed files byte
// for byte (except the editor-owned ship model), and the committed files must have what
// the programs rely on, read back through independent readers: libpng for the pictures
// and a plain RIFF parse for the sounds. Only the first test regenerates everything
// (a few seconds), so the others stay fast even when each runs in its own process.
#include "assets.h"
#include "game/builtin_ship.h"
#include "mdata_writer.h"
#include "png/png_writer.h"
#include "png/raster.h"

#include <gtest/gtest.h>
#include <libpng16/png.h> // by its folder: png/png.h is our own decoder
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes committed(std::string_view path)
{
    std::ifstream in(std::string(SOURCE_DIR "/") + std::string(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t readLittle(const Bytes& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + size_t(i)];
    return value;
}

uint32_t readBig32(const Bytes& bytes, size_t at)
{
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    int colourType = -1;
    Bytes rgba; // 4 bytes per pixel, rows top to bottom

    const uint8_t* at(uint32_t x, uint32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    int brightness(uint32_t x, uint32_t y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

Picture decodePng(const Bytes& file)
{
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (file.size() < 33 || !png_image_begin_read_from_memory(&image, file.data(), file.size())) {
        ADD_FAILURE() << "libpng rejects the file: " << image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    Bytes pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng cannot decode the pixels: " << image.message;
        return picture;
    }
    picture.width = image.width;
    picture.height = image.height;
    picture.colourType = file[24] == 8 ? file[25] : -1; // IHDR: depth, then colour type
    picture.rgba = std::move(pixels);
    return picture;
}

// Mean difference across the wrap-around seam (last column to first, last row to
// first) relative to the mean difference between neighbouring columns and rows at
// seven places inside: near 1 for a picture that tiles, well above for one that does not.
double seamRatio(const Picture& p)
{
    auto columnStep = [&](uint32_t x0, uint32_t x1) {
        double sum = 0.0;
        for (uint32_t y = 0; y < p.height; ++y) sum += std::abs(p.brightness(x0, y) - p.brightness(x1, y));
        return sum / p.height;
    };
    auto rowStep = [&](uint32_t y0, uint32_t y1) {
        double sum = 0.0;
        for (uint32_t x = 0; x < p.width; ++x) sum += std::abs(p.brightness(x, y0) - p.brightness(x, y1));
        return sum / p.width;
    };
    double interior = 0.0;
    for (uint32_t k = 1; k < 8; ++k) {
        interior += columnStep(p.width * k / 8 - 1, p.width * k / 8);
        interior += rowStep(p.height * k / 8 - 1, p.height * k / 8);
    }
    const double seam = std::max(columnStep(p.width - 1, 0), rowStep(p.height - 1, 0));
    return seam / (interior / 14.0 + 0.5);
}

TEST(AssetGenerator, RegeneratesEveryCommittedFileExceptTheEditorsModel)
{
    for (const assetgen::AssetRecipe& recipe : assetgen::assetCatalogue()) {
        if (recipe.path == assetgen::kEditorOwnedPath) continue;
        const Bytes onDisk = committed(recipe.path);
        EXPECT_FALSE(onDisk.empty()) << recipe.path << " is not committed";
        EXPECT_TRUE(onDisk == recipe.make()) << recipe.path << " differs from the generator's output";
    }
}

uint8_t paethPredictor(int left, int above, int upperLeft)
{
    const int p = left + above - upperLeft;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - above);
    const int pc = std::abs(p - upperLeft);
    return uint8_t(pa <= pb && pa <= pc ? left : (pb <= pc ? above : upperLeft));
}

// Rows that one filter type each predicts exactly (or, for None, best), after a row of
// large hashed values: an encoder that gets a predictor wrong either stops choosing
// that filter or writes a row that libpng decodes differently.
Raster filterExercise(uint32_t channels)
{
    Raster raster(41, 30, channels);
    const size_t rowBytes = size_t(raster.width) * channels;
    for (uint32_t y = 0; y < raster.height; ++y) {
        uint8_t* row = raster.pixel(0, y);
        const uint8_t* above = y > 0 ? raster.pixel(0, y - 1) : nullptr;
        for (size_t i = 0; i < rowBytes; ++i) {
            const uint32_t hash = uint32_t(i * 2654435761u ^ y * 40503u) * 2246822519u;
            const int left = i >= channels ? row[i - channels] : 0;
            const int up = above ? above[i] : 0;
            const int upperLeft = above && i >= channels ? above[i - channels] : 0;
            switch (y % 6) {
            case 0: row[i] = uint8_t(hash >> 24); break;                       // noise
            case 1: row[i] = (hash >> 28) == 0 ? 1 : 0; break;                 // None
            case 2: row[i] = uint8_t(i * 3 + y); break;                        // Sub
            case 3: row[i] = uint8_t(up); break;                               // Up
            case 4: row[i] = uint8_t((left + up) / 2); break;                  // Average
            default: row[i] = paethPredictor(left, up, upperLeft); break;      // Paeth
            }
        }
    }
    return raster;
}

TEST(PngWriter, RoundTripsEveryFilterTypeThroughLibpngInRgbAndRgba)
{
    for (uint32_t channels : {3u, 4u}) {
        SCOPED_TRACE(channels);
        const Raster raster = filterExercise(channels);
        const Bytes file = encodePng(raster);
        const Picture picture = decodePng(file);
        ASSERT_EQ(picture.width, raster.width);
        ASSERT_EQ(picture.height, raster.height);
        EXPECT_EQ(picture.colourType, channels == 4 ? 6 : 2);
        for (uint32_t y = 0; y < raster.height; ++y)
            for (uint32_t x = 0; x < raster.width; ++x)
                for (uint32_t c = 0; c < 4; ++c)
                    ASSERT_EQ(picture.at(x, y)[c], c < channels ? raster.pixel(x, y)[c] : 255) << x << "," << y;

        // Inflate the IDAT (the only one, right after IHDR) to see which filters were used.
        const uint32_t idatLength = readBig32(file, 33);
        const size_t stride = size_t(raster.width) * channels + 1;
        uLongf rawLength = uLongf(stride * raster.height);
        Bytes raw(rawLength);
        ASSERT_EQ(uncompress(raw.data(), &rawLength, &file[41], idatLength), Z_OK);
        std::set<uint8_t> filters;
        for (uint32_t y = 0; y < raster.height; ++y) filters.insert(raw[y * stride]);
        EXPECT_EQ(filters, (std::set<uint8_t>{0, 1, 2, 3, 4}));
    }
}

TEST(AssetPictures, BackgroundIsOpaqueDarkSeamlessWithinWorldLimitsAndUnder4MB)
{
    const Bytes file = committed("data/visual/space.png");
    EXPECT_LT(file.size(), 4'000'000u);
    const Picture space = decodePng(file);
    EXPECT_EQ(space.colourType, 2);
    EXPECT_TRUE(space.width >= 1600 && space.width <= 2560) << space.width;
    EXPECT_TRUE(space.height >= 1200 && space.height <= 1920) << space.height;
    uint64_t total = 0;
    size_t keyed = 0;
    for (size_t i = 0; i < space.rgba.size(); i += 4) {
        total += space.rgba[i] + space.rgba[i + 1] + space.rgba[i + 2];
        // The game draws the background with 0xFFFF00FF as its transparent colour.
        keyed += space.rgba[i] == 255 && space.rgba[i + 1] == 0 && space.rgba[i + 2] == 255;
    }
    EXPECT_EQ(keyed, 0u);
    EXPECT_LT(double(total) / (3.0 * space.width * space.height), 50.0) << "too bright for sprites to stand out";
    EXPECT_LT(seamRatio(space), 2.0);
}

TEST(AssetPictures, RockIsAnOpaqueTileThatRepeatsWithoutSeams)
{
    const Picture rock = decodePng(committed("data/visual/rock.png"));
    EXPECT_EQ(rock.width, 128u);
    EXPECT_EQ(rock.height, 128u);
    EXPECT_EQ(rock.colourType, 2);
    EXPECT_LT(seamRatio(rock), 2.0);
}

TEST(AssetPictures, ShipHullCoversTheOutlineAndTheEditorCopyAddsOnlyGuideLines)
{
    const Picture game = decodePng(committed("data/visual/ship3.png"));
    const Picture editor = decodePng(committed("data/visual/ship2.png"));
    for (const Picture* hull : {&game, &editor}) {
        ASSERT_EQ(hull->width, 256u);
        ASSERT_EQ(hull->height, 256u);
        EXPECT_EQ(hull->colourType, 2);
    }
    // Texels just inside each vertex, the origin and mid-body are metal, far lighter
    // than the surround; texel = (model + 16) * 8.
    const int surround = game.brightness(0, 0);
    const uint32_t metal[][2] = {{128, 22}, {62, 212}, {128, 172}, {194, 212}, {128, 128}, {100, 150}};
    for (const auto& texel : metal) {
        EXPECT_GT(game.brightness(texel[0], texel[1]), surround + 120) << texel[0] << "," << texel[1];
    }
    EXPECT_LT(game.brightness(30, 128), surround + 10) << "the hull spreads far beyond the outline";

    size_t gridDifferences = 0;
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x) {
            const bool onGrid = x % 8 == 0 || y % 8 == 0;
            const bool same = std::equal(game.at(x, y), game.at(x, y) + 4, editor.at(x, y));
            if (!onGrid) {
                ASSERT_TRUE(same) << "off-grid texel " << x << "," << y << " differs";
            }
            gridDifferences += !same;
        }
    EXPECT_GT(gridDifferences, 256u * 32u * 3u / 2u);
    EXPECT_GT(std::abs(editor.brightness(128, 3) - game.brightness(128, 3)),
              std::abs(editor.brightness(120, 3) - game.brightness(120, 3)))
        << "the centre line must stand out from the other guides";
}

TEST(AssetPictures, ShotGlowPeaksInTheMiddleColumnAndIsConstantDownwards)
{
    const Picture glow = decodePng(committed("data/visual/grad.png"));
    ASSERT_EQ(glow.width, 16u);
    ASSERT_EQ(glow.height, 16u);
    EXPECT_EQ(glow.colourType, 2);
    for (uint32_t y = 1; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x) ASSERT_TRUE(std::equal(glow.at(x, 0), glow.at(x, 0) + 4, glow.at(x, y)));
    for (uint32_t x = 0; x < 16; ++x) {
        if (x != 8) {
            EXPECT_LT(glow.brightness(x, 0), glow.brightness(8, 0)) << x;
        }
    }
    for (uint32_t x = 1; x < 8; ++x) EXPECT_LE(glow.brightness(x - 1, 0), glow.brightness(x, 0)) << x;
    for (uint32_t x = 9; x < 16; ++x) EXPECT_LE(glow.brightness(x, 0), glow.brightness(x - 1, 0)) << x;
    EXPECT_LT(glow.brightness(0, 0), 30);
    EXPECT_LT(glow.brightness(15, 0), 30);
    EXPECT_GT(glow.brightness(8, 0), 3 * 220);
}

TEST(AssetPictures, FlamePuffIsOpaqueInsideAndExactlyZeroOutside)
{
    const Picture fire = decodePng(committed("data/visual/fire2.png"));
    ASSERT_EQ(fire.width, 32u);
    ASSERT_EQ(fire.height, 32u);
    EXPECT_EQ(fire.colourType, 6);
    size_t clear = 0;
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x) {
            const uint8_t* p = fire.at(x, y);
            // The blender skips only the whole word 0; colour under alpha 0 would show.
            const bool zero = p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0;
            ASSERT_TRUE(zero || p[3] == 255) << x << "," << y;
            clear += zero;
        }
    EXPECT_GT(clear, 100u);
    EXPECT_LT(clear, 32u * 32u - 300u);
    for (uint32_t corner : {0u, 31u}) {
        EXPECT_EQ(fire.at(corner, 0)[3], 0);
        EXPECT_EQ(fire.at(corner, 31)[3], 0);
    }
    EXPECT_GT(fire.at(16, 16)[0], 230);
    EXPECT_GT(fire.at(16, 16)[1], 180);
}

struct Sound {
    std::string name;
    double minSeconds;
    double maxSeconds;
    bool loops;
};

TEST(AssetSounds, AreCanonicalPcmBelowFullScaleAndJoinWithoutClicks)
{
    const Sound sounds[] = {
        {"thrust.wav", 0.8, 2.0, true},        {"shield.wav", 0.8, 2.0, true},     {"asstroblast.wav", 0.7, 1.5, false},
        {"zap.wav", 0.1, 0.25, false},         {"ping.wav", 0.4, 0.7, false},      {"ping_return.wav", 0.2, 0.4, false},
    };
    for (const Sound& sound : sounds) {
        SCOPED_TRACE(sound.name);
        const Bytes file = committed("data/audio/effects/" + sound.name);
        ASSERT_GT(file.size(), 44u);
        EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
        EXPECT_EQ(readLittle(file, 4, 4), file.size() - 8);
        EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(readLittle(file, 16, 4), 16u);
        EXPECT_EQ(readLittle(file, 20, 2), 1u); // PCM
        EXPECT_EQ(readLittle(file, 22, 2), 1u); // mono
        EXPECT_EQ(readLittle(file, 24, 4), 44100u);
        EXPECT_EQ(readLittle(file, 28, 4), 88200u);
        EXPECT_EQ(readLittle(file, 32, 2), 2u);
        EXPECT_EQ(readLittle(file, 34, 2), 16u);
        EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
        ASSERT_EQ(readLittle(file, 40, 4), file.size() - 44);

        std::vector<int> samples;
        for (size_t at = 44; at + 1 < file.size(); at += 2) samples.push_back(int16_t(readLittle(file, at, 2)));
        const double seconds = samples.size() / 44100.0;
        EXPECT_TRUE(seconds >= sound.minSeconds && seconds <= sound.maxSeconds) << seconds;
        int peak = 0;
        int largestStep = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            peak = std::max(peak, std::abs(samples[i]));
            if (i > 0) largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
        }
        EXPECT_LE(peak, 26214) << "peak above 0.8 of full scale";
        EXPECT_GT(peak, 3000) << "practically silent";
        if (sound.loops) {
            // The jump from the last sample back to the first must look like any other step.
            const int seam = std::abs(samples.back() - samples.front());
            EXPECT_LE(seam, largestStep);
            EXPECT_LT(seam, 2048);
        } else {
            EXPECT_LT(std::abs(samples.front()), 64) << "starts with a click";
            EXPECT_LT(std::abs(samples.back()), 64) << "ends with a click";
        }
    }
}

TEST(MdataWriter, FormatsNumbersLikePrintfG7WithASignColumn)
{
    EXPECT_EQ(assetgen::formatMdataNumber(0.0f), " 0");
    EXPECT_EQ(assetgen::formatMdataNumber(-13.0f), "-13");
    EXPECT_EQ(assetgen::formatMdataNumber(2.5f), " 2.5");
    EXPECT_EQ(assetgen::formatMdataNumber(-0.5f), "-0.5");
    EXPECT_EQ(assetgen::formatMdataNumber(3.14159265f), " 3.141593"); // 7 digits, not the shortest round trip
    EXPECT_EQ(assetgen::formatMdataNumber(1234567.0f), " 1234567");
    EXPECT_EQ(assetgen::formatMdataNumber(1e7f), " 1e+07");
    EXPECT_EQ(assetgen::formatMdataNumber(1e-10f), " 1e-10");
}

// The lines of an .mdata file, each checked to end in CR LF.
std::vector<std::string> mdataLines(const Bytes& file)
{
    std::vector<std::string> lines;
    std::string text(file.begin(), file.end());
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text after the last CR LF";
            break;
        }
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "a line end other than CR LF";
        start = end + 2;
    }
    return lines;
}

TEST(ShipModel, GeneratedFileIsAClosedFourLineOutlineWithTexturePointsOnTheGrid)
{
    const std::vector<std::string> lines = mdataLines(assetgen::encodeShipModel());
    ASSERT_EQ(lines.size(), 33u);
    std::vector<double> values;
    for (const std::string& line : lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_TRUE(line[0] == ' ' || line[0] == '-') << '"' << line << '"';
        values.push_back(std::strtod(line.c_str(), nullptr));
    }
    EXPECT_EQ(lines[0], " 3");
    // Per line: start, texStart, end, texEnd, as x y pairs.
    auto at = [&](int line, int field) { return values[1 + size_t(line) * 8 + size_t(field)]; };
    for (int i = 0; i < 4; ++i) {
        const int previous = (i + 3) % 4;
        EXPECT_EQ(at(i, 0), at(previous, 4)) << "line " << i << " does not start where the last ended";
        EXPECT_EQ(at(i, 1), at(previous, 5)) << "line " << i;
        for (int point : {0, 4}) {
            EXPECT_EQ(at(i, point + 2), at(i, point) + 16.0) << "texture x of line " << i;
            EXPECT_EQ(at(i, point + 3), at(i, point + 1) + 16.0) << "texture y of line " << i;
            EXPECT_LE(std::abs(at(i, point)), 16.0);
            EXPECT_LE(std::abs(at(i, point + 1)), 16.0);
        }
    }
    // The laser sight leaves from line 0's start, the thrust flames from line 2's.
    EXPECT_EQ(at(0, 0), 0.0);
    EXPECT_EQ(at(0, 1), -14.0);
    EXPECT_EQ(at(2, 0), 0.0);
    EXPECT_EQ(at(2, 1), 6.0);
    // The ship a challenge flies, built into the game, is this file's outline.
    const std::vector<ModelLine> builtin = builtinShipLines();
    ASSERT_EQ(builtin.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const ModelLine& line = builtin[size_t(i)];
        const float fields[8] = {line.start.x, line.start.y, line.texStart.x, line.texStart.y,
                                 line.end.x,   line.end.y,   line.texEnd.x,   line.texEnd.y};
        for (int field = 0; field < 8; ++field) {
            EXPECT_EQ(double(fields[field]), at(i, field)) << "built-in line " << i << " field " << field;
        }
    }
}

TEST(ShipModel, CommittedFileIsReadableWithCrLfLinesAndAtLeastFourLines)
{
    const std::vector<std::string> lines = mdataLines(committed(assetgen::kEditorOwnedPath));
    ASSERT_FALSE(lines.empty());
    const long upperBound = std::lround(std::strtod(lines[0].c_str(), nullptr));
    EXPECT_GE(upperBound, 3);
    EXPECT_EQ(lines.size(), size_t(1 + 8 * (upperBound + 1)));
}

} // namespace
