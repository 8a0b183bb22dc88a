// The result screen's rules over a scratch folder, and the name entry's editing, as
// the keyboard and a controller drive them; text typed through the headless backend.
#include "support/scratch_folder.h"
#include "app/result_screen.h"
#include "app/result_view.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

constexpr std::time_t kFinished = 1796713200; // 2026-12-08T07:00:00Z

ResultInput typed(const std::string& text, bool confirm = false)
{
    ResultInput input;
    input.name.text = text;
    input.name.confirm = confirm;
    return input;
}

} // namespace

TEST(ResultScreen, NamesTheRunEntersItWithItsDemoAndOffersTheNameNextTime)
{
    ScratchFolder scratch("result_screen");
    const std::string folder = (scratch.path() / "challenge").string();
    const std::string demo = (scratch.path() / "run.demo").string();
    std::ofstream(demo) << "demo";
    ChallengeResult run{.day = {2026, 12, 8}, .score = 420, .level = 3, .demoPath = demo, .practice = false, .shortened = false};

    ResultScreen screen = openResultScreen(run, folder, kFinished);
    ASSERT_TRUE(screen.naming);
    EXPECT_EQ(updateResultScreen(screen, typed("Ad\xc3\xa9" "a\t")), ResultChoice::stay);
    EXPECT_EQ(screen.naming->name, "Ada"); // the rest is no printable ASCII
    EXPECT_EQ(updateResultScreen(screen, typed("", true)), ResultChoice::stay);
    ASSERT_FALSE(screen.naming);
    ASSERT_EQ(screen.tables.day.size(), 1u);
    EXPECT_EQ(screen.tables.day[0].name, "Ada");
    // A demo recorded where the player asked stays there; the entry keeps a copy.
    EXPECT_EQ(selectedDemo(screen), folder + "/2026-12-08T070000Z_run.demo");
    EXPECT_TRUE(fs::exists(folder + "/2026-12-08T070000Z_run.demo"));
    EXPECT_TRUE(fs::exists(demo));
    EXPECT_NE(resultLines(screen).lines.at(size_t(resultLines(screen).marked)).find("Ada"), std::string::npos);
    ResultInput watch;
    watch.watch = true;
    EXPECT_EQ(updateResultScreen(screen, watch), ResultChoice::watch);

    // The next run is offered the name: Enter keeps it, a letter typed replaces it.
    run.demoPath.clear();
    screen = openResultScreen(run, folder, kFinished + 60);
    ASSERT_TRUE(screen.naming);
    EXPECT_TRUE(screen.naming->offered);
    EXPECT_EQ(screen.naming->name, "Ada");
    updateResultScreen(screen, typed("B"));
    EXPECT_EQ(screen.naming->name, "B");

    // Practice runs are shown the tables but not entered, and their demo made by the game
    // goes; test runs have tables of their own.
    run.practice = true;
    run.demoPath = folder + "/practice.demo";
    std::ofstream(run.demoPath) << "demo";
    screen = openResultScreen(run, folder, kFinished + 120);
    EXPECT_FALSE(screen.naming);
    EXPECT_EQ(screen.tables.day.size(), 1u);
    closeResultScreen(screen);
    EXPECT_FALSE(fs::exists(run.demoPath));
    run.practice = false;
    run.shortened = true;
    screen = openResultScreen(run, folder, kFinished + 180);
    ASSERT_TRUE(screen.naming);
    EXPECT_TRUE(screen.tables.day.empty());
}

TEST(ResultScreen, ControllerPicksLettersAndOnlyAValidNameIsTaken)
{
    struct Case {
        std::string offered;
        std::vector<NameInput> inputs;
        std::string name;
        bool taken;
    };
    const NameInput up{.text = "", .erase = false, .confirm = false, .letterStep = 1, .cursorStep = 0};
    const NameInput down{.text = "", .erase = false, .confirm = false, .letterStep = -1, .cursorStep = 0};
    const NameInput right{.text = "", .erase = false, .confirm = false, .letterStep = 0, .cursorStep = 1};
    const NameInput left{.text = "", .erase = false, .confirm = false, .letterStep = 0, .cursorStep = -1};
    const NameInput erase{.text = "", .erase = true, .confirm = false, .letterStep = 0, .cursorStep = 0};
    const NameInput confirm{.text = "", .erase = false, .confirm = true, .letterStep = 0, .cursorStep = 0};
    const NameInput typeLong{.text = "abcdefghijklmnopqrst", .erase = false, .confirm = false, .letterStep = 0, .cursorStep = 0};
    const Case cases[] = {
        {"", {up, up, right, confirm}, "BA", true},       // a new letter starts at A
        {"", {down, down, confirm}, "\\", true},           // down from A wraps to the order's end
        {"Ada", {left, up, confirm}, "Aea", true},        // the offered name edited in place
        {"Ada", {erase, confirm}, "Ad", true},            // Backspace edits the offered name too
        {"", {confirm}, "", false},                        // nothing to take
        {"", {typeLong, confirm}, "abcdefghijklmnop", true}, // cut at sixteen
        {"", {typeLong, right, up}, "abcdefghijklmnoq", false}, // the cursor stays on the last letter
    };
    for (const Case& c : cases) {
        NameEntry entry = offerName(c.offered);
        bool taken = false;
        for (const NameInput& input : c.inputs) taken = editName(entry, input) || taken;
        EXPECT_EQ(entry.name, c.name) << c.offered;
        EXPECT_EQ(taken, c.taken) << c.name;
    }

    // Text reaches the program only while text input is on.
    headless::reset();
    headless::typeText("x");
    TEXT_INPUT_START();
    headless::typeText("Ab");
    EXPECT_EQ(TEXT_TYPED(), "Ab");
    EXPECT_EQ(TEXT_TYPED(), "");
    TEXT_INPUT_STOP();
    headless::typeText("y");
    EXPECT_EQ(TEXT_TYPED(), "");
}
