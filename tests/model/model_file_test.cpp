// .mdata reading and writing: the exact bytes SAVE writes, the tolerant reader, the
// count's rounding and bounds, and that a failed LOAD or SAVE destroys nothing. Every
// test runs in a private temporary folder; the repository's data is never touched.
#include "model/mdata_text.h"
#include "model/model.h"
#include "support/ordinary_user.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <vector>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <locale>

namespace fs = std::filesystem;

namespace {

// The two-line model of the format's worked example, as SAVE must write it.
const std::string kExampleFile = " 1\r\n 0\r\n-13\r\n 16\r\n 0\r\n-5\r\n 13\r\n 11\r\n 26\r\n"
                                 "-5\r\n 13\r\n 11\r\n 26\r\n 0\r\n-13\r\n 16\r\n 0\r\n";

ModelLine makeLine(Vec2f start, Vec2f texStart, Vec2f end, Vec2f texEnd)
{
    ModelLine line;
    line.start = start;
    line.texStart = texStart;
    line.end = end;
    line.texEnd = texEnd;
    return line;
}

Model exampleModel()
{
    Model model;
    model.lines = {makeLine({0, -13}, {16, 0}, {-5, 13}, {11, 26}), makeLine({-5, 13}, {11, 26}, {0, -13}, {16, 0})};
    model.transformed.resize(2);
    return model;
}

void appendValueLine(std::string& text, int value)
{
    text += ' ';
    text += std::to_string(value);
    text += "\r\n";
}

bool sameLine(const ModelLine& a, const ModelLine& b)
{
    return a.start == b.start && a.end == b.end && a.texStart == b.texStart && a.texEnd == b.texEnd &&
           a.spare1 == b.spare1 && a.spare2 == b.spare2;
}

bool sameModel(const Model& a, const Model& b)
{
    auto sameLines = [](const std::vector<ModelLine>& x, const std::vector<ModelLine>& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), sameLine);
    };
    return a.centre == b.centre && a.spare == b.spare && a.radius == b.radius && sameLines(a.lines, b.lines) &&
           sameLines(a.transformed, b.transformed);
}

// Each test runs in a fresh folder with data/model/ inside.
class ModelFile : public ::testing::Test {
protected:
    ScratchFolder scratch{"mdata_test"};

    static void writeModelFile(const std::string& name, const std::string& bytes)
    {
        std::ofstream out("data/model/" + name, std::ios::binary);
        out << bytes;
    }
    static std::string readModelFile(const std::string& name)
    {
        std::ifstream in("data/model/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<std::string> folderEntries()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator("data/model")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs the call with standard output captured and returns what it printed.
    template <typename Call>
    static std::string printedBy(Call call)
    {
        ::testing::internal::CaptureStdout();
        call();
        return ::testing::internal::GetCapturedStdout();
    }
};

} // namespace

TEST_F(ModelFile, Save_WritesTheWorkedExampleByteForByteWithCrLf)
{
    EXPECT_EQ(printedBy([] { EXPECT_TRUE(SAVE(exampleModel(), "Example.mdata")); }), "");
    EXPECT_EQ(readModelFile("Example.mdata"), kExampleFile);
}

TEST_F(ModelFile, Load_ReadsTheWorkedExampleAndLeavesTransformedZero)
{
    writeModelFile("Example.mdata", kExampleFile);
    Model model;
    model.radius = 7;
    model.centre = {1, 2};
    model.transformed.resize(5, makeLine({9, 9}, {9, 9}, {9, 9}, {9, 9}));
    ASSERT_TRUE(LOAD(model, "Example.mdata"));
    ASSERT_EQ(model.lines.size(), 2u);
    EXPECT_TRUE(sameLine(model.lines[0], exampleModel().lines[0]));
    EXPECT_EQ(model.lines[1].end, Vec2f(0, -13));
    EXPECT_EQ(model.lines[1].texEnd, Vec2f(16, 0));
    ASSERT_EQ(model.transformed.size(), 2u);
    EXPECT_TRUE(sameLine(model.transformed[0], ModelLine{}));
    EXPECT_TRUE(sameLine(model.transformed[1], ModelLine{}));
    EXPECT_EQ(model.radius, 7);
    EXPECT_EQ(model.centre, Vec2f(1, 2));
}

TEST_F(ModelFile, LoadThenSave_ReproducesASavedFileLineForLine)
{
    Model model;
    model.lines = {makeLine({0.5f, -1234.56f}, {16.0f, 0.125f}, {-99999.9f, 1e-10f}, {3.14159f, -0.001f}),
                   makeLine({1e20f, -2.5e-7f}, {0, 0}, {123456, -7}, {32, 32})};
    ASSERT_TRUE(SAVE(model, "First.mdata"));
    Model loaded;
    ASSERT_TRUE(LOAD(loaded, "First.mdata"));
    EXPECT_TRUE(std::equal(loaded.lines.begin(), loaded.lines.end(), model.lines.begin(), model.lines.end(), sameLine));
    ASSERT_TRUE(SAVE(loaded, "Second.mdata"));
    EXPECT_EQ(readModelFile("Second.mdata"), readModelFile("First.mdata"));
}

TEST_F(ModelFile, EmptyModel_IsTheSingleLineMinusOneAndLoadsBackEmpty)
{
    ASSERT_TRUE(SAVE(Model{}, "Empty.mdata"));
    EXPECT_EQ(readModelFile("Empty.mdata"), "-1\r\n");
    Model model = exampleModel();
    ASSERT_TRUE(LOAD(model, "Empty.mdata"));
    EXPECT_TRUE(model.lines.empty());
    EXPECT_TRUE(model.transformed.empty());
}

TEST(MdataText, Format_UsesSevenDigitsGeneralWithASignColumn)
{
    EXPECT_EQ(formatMdataNumber(0.0f), " 0");
    EXPECT_EQ(formatMdataNumber(-13.0f), "-13");
    EXPECT_EQ(formatMdataNumber(2.5f), " 2.5");
    EXPECT_EQ(formatMdataNumber(1e-10f), " 1e-10");
    EXPECT_EQ(formatMdataNumber(123456789.0f), " 1.234568e+08");
    EXPECT_EQ(formatMdataNumber(1234567.0f), " 1234567");
    EXPECT_EQ(formatMdataNumber(0.1f), " 0.1");
    EXPECT_EQ(formatMdataNumber(-0.0001f), "-0.0001");
    EXPECT_EQ(formatMdataNumber(0.00001f), " 1e-05");
    EXPECT_EQ(formatMdataCount(3), " 3");
    EXPECT_EQ(formatMdataCount(0), " 0");
    EXPECT_EQ(formatMdataCount(-1), "-1");
}

TEST(MdataText, Parse_StopsAtTheFirstCharacterThatDoesNotFit)
{
    EXPECT_EQ(parseMdataNumber("12abc"), 12.0);
    EXPECT_EQ(parseMdataNumber(""), 0.0);
    EXPECT_EQ(parseMdataNumber("abc"), 0.0);
    EXPECT_EQ(parseMdataNumber("-"), 0.0);
    EXPECT_EQ(parseMdataNumber(" \t -2.5"), -2.5);
    EXPECT_EQ(parseMdataNumber("+7"), 7.0);
    EXPECT_EQ(parseMdataNumber(".5"), 0.5);
    EXPECT_EQ(parseMdataNumber("3."), 3.0);
    EXPECT_EQ(parseMdataNumber("1.5D2"), 150.0);
    EXPECT_EQ(parseMdataNumber("1.5d-1"), 0.15);
    EXPECT_EQ(parseMdataNumber("2E+3x"), 2000.0);
    EXPECT_EQ(parseMdataNumber("4e"), 4.0);  // a mark without digits is not an exponent
    EXPECT_EQ(parseMdataNumber("4e-"), 4.0);
    EXPECT_EQ(parseMdataNumber("5 6"), 5.0); // no blanks inside a number
    EXPECT_EQ(parseMdataNumber("1,5"), 1.0); // a comma is never a decimal point
}

TEST(MdataText, Parse_ReadsExponentFormBackToTheSameFloat)
{
    for (float value : {1e-10f, -2.5e-7f, 1e20f, 0.1f, 1234567.0f, 7.0e-45f}) {
        EXPECT_EQ(parseMdataCoordinate(formatMdataNumber(value)), value) << formatMdataNumber(value);
    }
}

TEST(MdataText, Parse_OutOfRangeGivesInfinityOrZeroInsteadOfGarbage)
{
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(parseMdataNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseMdataNumber("-1e99999999999999999999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseMdataNumber("1e-999"), 0.0);
    EXPECT_EQ(parseMdataNumber("0.000e999"), 0.0);
    EXPECT_EQ(parseMdataCoordinate("1e300"), infinity);
    EXPECT_EQ(parseMdataCoordinate("-1e39"), -infinity);
    EXPECT_EQ(parseMdataCoordinate("3.4028235e38"), std::numeric_limits<float>::max());
}

// The browser build makes number text with the C library's snprintf and strtod: over
// every line of the fuzzer's seeds and the hard cases above, it reads and writes the
// same numbers as the standard library's forms, bit for bit.
TEST(MdataText, CLibraryForms_AgreeWithTheStandardLibrarysOverTheFuzzSeeds)
{
    std::vector<std::string> lines = {"1e999", "-1e99999999999999999999", "1e-999", "0.000e999", "3.4028235e38",
                                      "-1e39", "7.0e-45", "4.9e-324", "2.4703282292062328e-324", "1.5D2", "+7",
                                      ".5", "12abc", "0.1", "123456789"};
    int files = 0;
    for (const auto& seed : fs::directory_iterator(SOURCE_DIR "/tools/fuzz/seeds/mdata_load")) {
        std::ifstream in(seed.path(), std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        ++files;
    }
    ASSERT_GE(files, 5);
    for (const std::string& line : lines) {
        const double standard = parseMdataNumber(line);
        const double cLibrary = parseMdataNumberByCLibrary(line);
        EXPECT_EQ(std::memcmp(&standard, &cLibrary, sizeof standard), 0) << line;
        const float value = parseMdataCoordinate(line);
        EXPECT_EQ(formatMdataNumberByCLibrary(value), formatMdataNumber(value)) << line;
    }
}

TEST_F(ModelFile, Count_IsRoundedHalvesToEven)
{
    std::string records;
    for (int i = 0; i < 5 * 8; ++i) appendValueLine(records, i);
    Model model;
    writeModelFile("Half.mdata", " 2.5\r\n" + records);
    ASSERT_TRUE(LOAD(model, "Half.mdata"));
    EXPECT_EQ(model.lines.size(), 3u);
    writeModelFile("Half.mdata", " 3.5\r\n" + records);
    ASSERT_TRUE(LOAD(model, "Half.mdata"));
    EXPECT_EQ(model.lines.size(), 5u);
    EXPECT_EQ(model.lines[4].texEnd, Vec2f(38, 39));
}

TEST_F(ModelFile, Load_AcceptsSloppyHandWrittenValues)
{
    writeModelFile("Hand.mdata", "1\n12abc\n\n  -2.5\r\n1E1\r4D-1\n+3\nx\n.25");
    Model model;
    ASSERT_TRUE(LOAD(model, "Hand.mdata"));
    ASSERT_EQ(model.lines.size(), 1u); // the count asks for two; the file holds one
    EXPECT_EQ(model.lines[0].start, Vec2f(12, 0));
    EXPECT_EQ(model.lines[0].texStart, Vec2f(-2.5f, 10.0f));
    EXPECT_EQ(model.lines[0].end, Vec2f(0.4f, 3.0f));
    EXPECT_EQ(model.lines[0].texEnd, Vec2f(0.0f, 0.25f));
}

TEST_F(ModelFile, Load_BoundsAHugeCountByWhatTheFileHolds)
{
    std::string bytes = " 1000000000\r\n";
    for (int i = 1; i <= 19; ++i) appendValueLine(bytes, i);
    writeModelFile("Liar.mdata", bytes);
    Model model;
    ASSERT_TRUE(LOAD(model, "Liar.mdata"));
    ASSERT_EQ(model.lines.size(), 3u);
    ASSERT_EQ(model.transformed.size(), 3u);
    EXPECT_EQ(model.lines[1].texEnd, Vec2f(15, 16));
    EXPECT_EQ(model.lines[2].start, Vec2f(17, 18));
    EXPECT_EQ(model.lines[2].texStart, Vec2f(19, 0)); // missing values read as 0
    EXPECT_EQ(model.lines[2].end, Vec2f(0, 0));
    EXPECT_EQ(model.lines[2].texEnd, Vec2f(0, 0));
}

TEST_F(ModelFile, Load_CountBelowMinusOneOrMissingGivesAnEmptyModel)
{
    for (const char* bytes : {"-5\r\n 1\r\n 2\r\n 3\r\n 4\r\n 5\r\n 6\r\n 7\r\n 8\r\n", "-1e30\r\n 1\r\n", ""}) {
        writeModelFile("Negative.mdata", bytes);
        Model model = exampleModel();
        ASSERT_TRUE(LOAD(model, "Negative.mdata"));
        EXPECT_TRUE(model.lines.empty()) << bytes;
        EXPECT_TRUE(model.transformed.empty()) << bytes;
    }
}

TEST_F(ModelFile, Load_OfAMissingFileOrAFolderPrintsAndKeepsTheOldModel)
{
    writeModelFile("Example.mdata", kExampleFile);
    Model model;
    ASSERT_TRUE(LOAD(model, "Example.mdata"));
    model.transformed[1].end = {4, 5};
    model.radius = 13;
    const Model before = model;

    bool loaded = true;
    EXPECT_EQ(printedBy([&] { loaded = LOAD(model, "Missing.mdata"); }), "Could not load file!\n");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(sameModel(model, before));

    fs::create_directory("data/model/Folder.mdata");
    EXPECT_EQ(printedBy([&] { loaded = LOAD(model, "Folder.mdata"); }), "Could not load file!\n");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(sameModel(model, before));
}

TEST_F(ModelFile, Save_ReplacesTheOldFileAndLeavesNoTemporaryBehind)
{
    writeModelFile("Ship.mdata", "old contents");
    ASSERT_TRUE(SAVE(exampleModel(), "Ship.mdata"));
    EXPECT_EQ(readModelFile("Ship.mdata"), kExampleFile);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Ship.mdata"});
}

TEST_F(ModelFile, Save_IntoAMissingFolderFailsAndSaysSo)
{
    bool saved = true;
    EXPECT_EQ(printedBy([&] { saved = SAVE(exampleModel(), "nowhere/Ship.mdata"); }), "Could not save file!\n");
    EXPECT_FALSE(saved);
    EXPECT_FALSE(fs::exists("data/model/nowhere"));
}

TEST_F(ModelFile, Save_OverAFolderFailsAndLeavesTheFolder)
{
    fs::create_directories("data/model/Ship.mdata/inside");
    bool saved = true;
    EXPECT_EQ(printedBy([&] { saved = SAVE(exampleModel(), "Ship.mdata"); }), "Could not save file!\n");
    EXPECT_FALSE(saved);
    EXPECT_TRUE(fs::is_directory("data/model/Ship.mdata/inside"));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Ship.mdata"});
}

TEST_F(ModelFile, Save_OnAFullDiskKeepsTheOldFile)
{
    writeModelFile("Ship.mdata", kExampleFile);
    // A file may grow to 32 bytes only: the temporary's write fails as on a full disk,
    // while the message (captured in a file of its own) still fits.
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit narrowed = {32, limit.rlim_max};
    ASSERT_GT(kExampleFile.size(), 32u);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &narrowed);
    bool saved = true;
    const std::string printed = printedBy([&] { saved = SAVE(exampleModel(), "Ship.mdata"); });
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(printed, "Could not save file!\n");
    EXPECT_FALSE(saved);
    EXPECT_EQ(readModelFile("Ship.mdata"), kExampleFile);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Ship.mdata"});
}

const ChildTask kSaveIsRefused("ModelFile.saveIsRefused", [](const std::vector<std::string>&) {
    ::testing::internal::CaptureStdout();
    const bool saved = SAVE(Model{}, "Ship.mdata");
    return !saved && ::testing::internal::GetCapturedStdout() == "Could not save file!\n";
});

// The folder belongs to the user, who made it read-only: only its mode refuses.
TEST_F(ModelFile, Save_IntoAReadOnlyFolderKeepsTheOldFile)
{
    writeModelFile("Ship.mdata", kExampleFile);
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod("data", 0755), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown("data/model", kNobody, kNobody), 0);
        ASSERT_EQ(::chown("data/model/Ship.mdata", kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chmod("data/model", 0555), 0);
    EXPECT_TRUE(asOrdinaryUser(kSaveIsRefused));
    EXPECT_EQ(readModelFile("Ship.mdata"), kExampleFile);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Ship.mdata"});
}

TEST_F(ModelFile, DecimalCommaLocale_StillWritesAndReadsAPoint)
{
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) {
            commaLocale = name;
            break;
        }
    }
    ASSERT_NE(commaLocale, nullptr) << "no locale with a decimal comma installed (setup.sh makes de_DE.UTF-8)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const std::locale previousGlobal = std::locale::global(std::locale(commaLocale));

    Model model;
    model.lines = {makeLine({2.5f, -0.75f}, {1e-10f, 0.0f}, {0, 0}, {0, 0})};
    const bool saved = SAVE(model, "Comma.mdata");
    const std::string bytes = readModelFile("Comma.mdata");
    Model loaded;
    const bool loadedOk = LOAD(loaded, "Comma.mdata");

    std::locale::global(previousGlobal);
    std::setlocale(LC_ALL, previousLocale.c_str());
    ASSERT_TRUE(saved);
    EXPECT_EQ(bytes.substr(0, 25), " 0\r\n 2.5\r\n-0.75\r\n 1e-10\r\n");
    ASSERT_TRUE(loadedOk);
    ASSERT_EQ(loaded.lines.size(), 1u);
    EXPECT_EQ(loaded.lines[0].start, Vec2f(2.5f, -0.75f));
    EXPECT_EQ(loaded.lines[0].texStart.x, 1e-10f);
}
