// Screenshots: the key saves the picture on screen as a PNG that decodes, with our
// loader and with libpng, to exactly what was shown; a folder that cannot be made
// gives one message and no file; taken names get a counter.
#include "platform/headless/headless.h"
#include "render/image.h"
#include "app/play_session.h"
#include "png/png.h"
#include "support/scratch_folder.h"
#include "app/screenshot.h"
#include "app/pictures_folder.h"
#include "app/screen_notice.h"

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <libpng16/png.h> // by its folder: png/png.h is our own decoder

#include <filesystem>
#include <fstream>
#include <map>

namespace {

// A picture with every channel busy: no two neighbouring pixels alike.
bool drawBusyPicture()
{
    SCREEN_LOCK();
    auto* pixels = reinterpret_cast<uint32_t*>(SCREEN_POINTER());
    for (uint32_t i = 0; i < 640u * 480u; ++i) pixels[i] = 0xFF000000u | ((i * 2654435761u) >> 8);
    SCREEN_UNLOCK();
    return true;
}

// Runs one turn of a session whose frame draws the busy picture, with the screenshot
// key tapped before it; returns what the turn printed on stdout and stderr. P goes
// down and the focus goes after the frame's own event pump: the next turn must still
// see both, so taking the picture must not be a frame boundary that forgets them.
std::pair<std::string, std::string> turnWithScreenshot(const std::string& folder)
{
    const auto frameWithInputAfterItsPump = [] {
        drawBusyPicture();
        headless::setKeyAt(KEY_BY_NAME("P"), true);
        headless::setKeyAt(KEY_BY_NAME("P"), false);
        headless::loseFocus();
        return true;
    };
    PlaySession session;
    session.settings = defaultSettings();
    session.screenshotFolder = folder;
    beginSession(session);
    headless::setKeyAt(KEY_BY_NAME("F12"), true);
    SoundBank noSounds;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(stepSession(session, noSounds, frameWithInputAfterItsPump));
    std::pair<std::string, std::string> printed{testing::internal::GetCapturedStdout(),
                                                testing::internal::GetCapturedStderr()};
    EXPECT_TRUE(KEY_PRESSED(KEY_BY_NAME("P"))) << "a press lost to the screenshot";
    EXPECT_TRUE(FOCUS_LOST()) << "a focus loss lost to the screenshot";
    endSession(session);
    return printed;
}

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::reset();
        ASSERT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0);
    }
    void TearDown() override { headless::reset(); }
    ScratchFolder scratch{"screenshot"};
};

} // namespace

TEST_F(Screenshots, Key_SavesTheScreenAsAPngThatBothDecodersReadBackExactly)
{
    const std::string folder = (scratch.path() / "Pictures/space-game").string();
    const auto [out, err] = turnWithScreenshot(folder);
    EXPECT_EQ(err, "");
    ASSERT_EQ(out.rfind(folder + "/space-game-", 0), 0u) << out;
    const std::string path = out.substr(0, out.size() - 1);
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(std::filesystem::directory_iterator(folder)->path(), path); // the file alone, no leftovers

    const auto* shown = reinterpret_cast<const uint32_t*>(SCREEN_POINTER());
    Image* ours = PNG_LOAD(path, 2);
    ASSERT_NE(ours, nullptr);
    png_image theirs{};
    theirs.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&theirs, path.c_str())) << theirs.message;
    theirs.format = PNG_FORMAT_BGRA; // little-endian 0xAARRGGBB words
    std::vector<uint32_t> reference(640 * 480);
    ASSERT_TRUE(png_image_finish_read(&theirs, nullptr, reference.data(), 0, nullptr)) << theirs.message;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            ASSERT_EQ(imageRow(ours, uint32_t(y))[x], shown[y * 640 + x]) << x << "," << y;
            ASSERT_EQ(reference[y * 640 + x], shown[y * 640 + x]) << x << "," << y;
        }
    }
    PNG_FREE(ours);
}

TEST_F(Screenshots, Notice_IsShownForTwoSecondsOverTheWindowButNeverInTheFramebuffer)
{
    const std::string folder = (scratch.path() / "Pictures").string();
    PlaySession session;
    session.settings = defaultSettings();
    session.screenshotFolder = folder;
    beginSession(session);
    SoundBank noSounds;
    const auto framebuffer = [] { return reinterpret_cast<const uint32_t*>(SCREEN_POINTER()); };
    // Pixels in the strip near the top where the window shows something else than the frame.
    const auto covered = [&framebuffer] {
        int count = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 640; ++x) count += headless::shownPixel(x, y) != framebuffer()[y * 640 + x];
        }
        return count;
    };
    const auto turn = [&](bool screenshot) {
        if (screenshot) headless::setKeyAt(KEY_BY_NAME("F12"), true);
        testing::internal::CaptureStdout();
        EXPECT_TRUE(stepSession(session, noSounds, drawBusyPicture));
        testing::internal::GetCapturedStdout();
        headless::setKeyAt(KEY_BY_NAME("F12"), false);
        headless::advanceTime(0.5);
    };
    turn(true);
    turn(false);
    const int shown = covered();
    EXPECT_GT(shown, 16 * 8 * 40) << "a strip of some 40 characters";
    turn(true); // taken while the notice shows: the file holds the frame alone
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        Image* saved = PNG_LOAD(file.path().string(), 2);
        ASSERT_NE(saved, nullptr);
        for (int y = 0; y < 40; ++y) ASSERT_TRUE(std::equal(imageRow(saved, y), imageRow(saved, y) + 640, framebuffer() + y * 640));
        PNG_FREE(saved);
    }
    for (int i = 0; i < 3; ++i) turn(false);
    EXPECT_GT(covered(), shown / 2) << "still shown 1.5 s after the last screenshot";
    turn(false);
    turn(false);
    EXPECT_EQ(covered(), 0) << "gone after 2 s";

    // A failure is shown the same way, and while paused too.
    std::ofstream(scratch.path() / "file") << "";
    session.screenshotFolder = (scratch.path() / "file/space-game").string();
    headless::loseFocus();
    turn(false);
    ASSERT_TRUE(session.paused);
    testing::internal::CaptureStderr();
    turn(true);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_GT(covered(), 16 * 8 * 40);
    endSession(session);
}

// The start's warnings: one strip of at most kNoticeMostLines lines, the last counting
// what did not fit, shown over the window for its seconds and then gone.
TEST_F(Screenshots, Warnings_AreShownOnceInOneStripThatLeavesAfterItsSeconds)
{
    ScreenNotice notice;
    showNotice(notice, std::vector<std::string>(8, "settings.ini:1: no such setting"), kWarningNoticeSeconds);
    ASSERT_NE(notice.picture, nullptr);
    EXPECT_EQ(notice.picture->height, 6u * 12 - 4 + 2 * 4) << "six lines of 8 pixels, 4 apart, in a margin of 4";
    SCREEN_LOCK();
    SCREEN_UNLOCK();
    const auto stripRows = [] {
        int rows = 0;
        for (int y = 0; y < 480; ++y) rows += headless::shownPixel(320, y) == 0xFF202040;
        return rows;
    };
    EXPECT_GT(stripRows(), 6 * 8);
    headless::advanceTime(kWarningNoticeSeconds - 0.5);
    EXPECT_FALSE(expireNotice(notice));
    headless::advanceTime(0.5);
    EXPECT_TRUE(expireNotice(notice));
    SCREEN_LOCK();
    SCREEN_UNLOCK();
    EXPECT_EQ(stripRows(), 0);
}

TEST(ScreenNotices, LongTextsKeepTheirStartAndEnd)
{
    EXPECT_EQ(fitToColumns("Screenshot saved: x.png", 78), "Screenshot saved: x.png");
    EXPECT_EQ(fitToColumns("abcdefghij", 9), "abc...hij");
    EXPECT_EQ(fitToColumns("abcdefghij", 8), "ab...hij");
}

TEST_F(Screenshots, FolderThatCannotBeMade_SaysSoOnceAndLeavesNoFile)
{
    std::ofstream(scratch.path() / "Pictures") << "a file where the folder should be";
    const auto [out, err] = turnWithScreenshot((scratch.path() / "Pictures/space-game").string());
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "screenshot not saved: " + (scratch.path() / "Pictures/space-game").string() + ": Not a directory\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch.path() / "Pictures"));
}

TEST(ScreenshotNames, TakenNamesGetACounterAndTheFolderFollowsXdgThenHome)
{
    ScratchFolder scratch("screenshot_names");
    const std::string folder = scratch.path().string();
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 15;
    when.tm_min = 30;
    when.tm_sec = 12;
    const std::string first = folder + "/space-game-2026-12-07-153012.png";
    EXPECT_EQ(freeScreenshotPath(folder, when), first);
    std::ofstream(first) << "";
    EXPECT_EQ(freeScreenshotPath(folder, when), folder + "/space-game-2026-12-07-153012-2.png");
    std::ofstream(folder + "/space-game-2026-12-07-153012-2.png") << "";
    EXPECT_EQ(freeScreenshotPath(folder, when), folder + "/space-game-2026-12-07-153012-3.png");

    std::vector<std::string> warnings;
    const auto environment = [](std::map<std::string, std::string> values) -> Environment {
        return [values](const std::string& name) { return values.contains(name) ? values.at(name) : ""; };
    };
    EXPECT_EQ(screenshotFolder(environment({{"XDG_PICTURES_DIR", "/p"}, {"HOME", "/h"}}), warnings), "/p/space-game");
    EXPECT_EQ(screenshotFolder(environment({{"XDG_PICTURES_DIR", "rel"}, {"HOME", "/h"}}), warnings), "/h/space-game");
    EXPECT_EQ(screenshotFolder(environment({}), warnings), "");

    // The desktop's user-dirs.dirs wins over the variable; ~/Pictures comes before home.
    const std::string home = folder + "/home";
    std::filesystem::create_directories(home + "/.config");
    EXPECT_EQ(screenshotFolder(environment({{"HOME", home}}), warnings), home + "/space-game");
    std::filesystem::create_directories(home + "/Pictures");
    EXPECT_EQ(screenshotFolder(environment({{"HOME", home}}), warnings), home + "/Pictures/space-game");
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(screenshotFolder(environment({{"HOME", home}, {"XDG_PICTURES_DIR", "/p"}}), warnings), home + "/Bilder/space-game");
    EXPECT_EQ(screenshotFolder(environment({{"HOME", home}, {"XDG_CONFIG_HOME", "/none"}}), warnings),
              home + "/Pictures/space-game");
    EXPECT_TRUE(warnings.empty());
    // A FIFO in its place would hang the start: it is passed over, with one warning.
    std::filesystem::remove(home + "/.config/user-dirs.dirs");
    ASSERT_EQ(::mkfifo((home + "/.config/user-dirs.dirs").c_str(), 0600), 0);
    EXPECT_EQ(screenshotFolder(environment({{"HOME", home}}), warnings), home + "/Pictures/space-game");
    EXPECT_EQ(warnings, std::vector<std::string>{home + "/.config/user-dirs.dirs: is not a regular file; ignored"});
}

TEST(ScreenshotNames, UserDirsIsReadAsTheShellWouldSourceIt)
{
    const struct {
        const char* text;
        std::optional<std::string> value;
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", "/h/Pictures"},
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_PICTURES_DIR=\"/srv/pics\"", "/srv/pics"},
        {"XDG_PICTURES_DIR=\"${HOME}/My \\\"Pics\\\" \\$1\"\n", "/h/My \"Pics\" $1"},
        {"XDG_PICTURES_DIR=\"$HOME\"\n", "/h"},                   // switched off: the home folder, as xdg-user-dir says
        {"XDG_PICTURES_DIR=$HOME/Bare\n", "/h/Bare"},
        {"XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", "/b"}, // the last assignment wins
        {"XDG_PICTURES_DIR=\"Pictures\"\n", std::nullopt},          // relative: ignored
        {"XDG_PICTURES_DIR=\"$HOMEWORK/x\"\n", std::nullopt},       // another variable
        {"XDG_PICTURES_DIR=\"/unterminated\n", std::nullopt},
        {"XDG_PICTURES_DIR = \"/spaced\"\n", std::nullopt},         // not an assignment to the shell
        {"#XDG_PICTURES_DIR=\"/commented\"\n", std::nullopt},
        {"XDG_PICTURES_DIRS=\"/other\"\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(userDirsValue(c.text, "XDG_PICTURES_DIR", "/h"), c.value) << c.text;
    EXPECT_EQ(userDirsValue("XDG_PICTURES_DIR=\"$HOME/P\"", "XDG_PICTURES_DIR", ""), std::nullopt); // no home
}
