// The settings file: each kind of line it can hold, good and bad, the bindings that
// two lines claim, the defaults file read back, files that cannot be read, and the
// options' changes saved into the player's own text.
#include "app/settings.h"
#include "app/settings_save.h"

#include "platform/platform.h"
#include "support/ordinary_user.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

std::vector<int> keys(std::initializer_list<const char*> names)
{
    std::vector<int> found;
    for (const char* name : names) found.push_back(KEY_BY_NAME(name));
    return found;
}

PadInput padInput(const char* name)
{
    PadInput input;
    EXPECT_TRUE(padInputByName(name, input)) << name;
    return input;
}

Settings applied(const std::string& text, std::vector<std::string>& warnings)
{
    Settings settings = defaultSettings();
    applySettingsText(settings, text, "s.ini", warnings);
    return settings;
}

} // namespace

TEST(Settings, EachGoodLineChangesItsSettingAlone)
{
    struct Case {
        const char* line;
        std::function<void(Settings&)> change; // what the line does to the defaults
    };
    const Case cases[] = {
        {"fire = Left Ctrl", [](Settings& s) { s.keys[bit(Action::fire)] = keys({"Left Ctrl"}); }},
        {"  thrust=keypad 8 ,Up  ", [](Settings& s) { s.keys[bit(Action::thrust)] = keys({"Keypad 8", "Up"}); }},
        {"zoom_in = Comma", [](Settings& s) { s.keys[bit(Action::zoomIn)] = keys({","}); }},
        {"screenshot =", [](Settings& s) { s.keys[bit(Action::screenshot)].clear(); }},
        {"pad_fire = rightshoulder, +righty",
         [](Settings& s) {
             s.pad[bit(Action::fire)] = {padInput("rightshoulder"), padInput("+righty")};
             s.pad[bit(Action::zoomIn)].clear(); // its only input went to fire
         }},
        {"volume = 0", [](Settings& s) { s.volume = 0; }},
        {"volume = 100", [](Settings& s) { s.volume = 100; }},
        {"shake = off", [](Settings& s) { s.shake = false; }},
        {"fullscreen = on", [](Settings& s) { s.fullscreen = true; }},
        {"fullscreen = ON", [](Settings& s) { s.fullscreen = true; }}, // any case, as key names
        {"shake = Off", [](Settings& s) { s.shake = false; }},
        {"\xEF\xBB\xBFvolume = 7", [](Settings& s) { s.volume = 7; }}, // a byte-order mark before line 1
        {"pause =", [](Settings& s) { s.keys[bit(Action::pause)].clear(); }}, // Start still resumes
        {"window_scale = 4", [](Settings& s) { s.windowScale = 4; }},
        {"leaderboard = https://board.example.org:8443/", [](Settings& s) { s.leaderboard = "https://board.example.org:8443"; }},
        {"# fire = X", [](Settings&) {}},
        {"", [](Settings&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> warnings;
        Settings expected = defaultSettings();
        c.change(expected);
        EXPECT_EQ(applied(c.line, warnings), expected);
        EXPECT_TRUE(warnings.empty()) << warnings.front();
    }
}

TEST(Settings, EachBadLineIsOneWarningWithItsLineNumberAndChangesNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"speed = 3", "unknown setting \"speed\""},
        {"quit = Q", "unknown setting \"quit\""},
        {"fire = Left Control, W", "unknown key name \"Left Control\""},
        {"fire = W,", "a key name is missing"},
        {"pause = Escape", "Escape is kept for quitting"},
        {"pad_fire = z", "unknown controller input \"z\""},
        {"pad_fire = leftx", "unknown controller input \"leftx\""}, // a stick needs a direction
        {"volume = 101", "is not a whole number from 0 to 100"},
        {"volume = -1", "is not a whole number from 0 to 100"},
        {"window_scale = 0", "from 1 to 4"},
        {"window_scale = 2.5", "from 1 to 4"},
        {"shake = yes", "neither on nor off"},
        {"leaderboard = ftp://board.example.org", "no http:// or https:// address"},
        {"leaderboard = http://board example", "no http:// or https:// address"},
        {"fire W", "expected \"name = value\""},
    };
    for (const auto& [line, problem] : cases) {
        SCOPED_TRACE(line);
        std::vector<std::string> warnings;
        EXPECT_EQ(applied(std::string("volume = 50\n") + line + "\nshake = off\n", warnings), [] {
            Settings s = defaultSettings();
            s.volume = 50;
            s.shake = false;
            return s;
        }());
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].rfind("s.ini:2: ", 0), 0u) << warnings[0];
        EXPECT_NE(warnings[0].find(problem), std::string::npos) << warnings[0];
    }
}

TEST(Settings, KeyClaimedByTwoLines_StaysWithTheFirstAndTheDefaultsGiveWayToBoth)
{
    std::vector<std::string> warnings;
    const Settings settings = applied("fire = Up\nping = X, Up\n", warnings);
    EXPECT_EQ(settings.keys[bit(Action::fire)], keys({"Up"}));
    EXPECT_EQ(settings.keys[bit(Action::ping)], keys({"X"}));
    EXPECT_EQ(settings.keys[bit(Action::thrust)], keys({"Keypad 8"})); // not rebound: keeps what is left
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "s.ini:2: Up is already bound to fire on line 1; it stays there");
}

// A focus loss pauses the game and only pause resumes it: the file may not take away
// every key and controller input of pause. The line that would is refused, and named.
TEST(Settings, TheLastWayToResume_CannotBeUnbound)
{
    std::vector<std::string> warnings;
    Settings settings = applied("pad_pause =\nvolume = 9\npause =\n", warnings);
    EXPECT_EQ(settings.keys[bit(Action::pause)], keys({"P", "Pause"}));
    EXPECT_TRUE(settings.pad[bit(Action::pause)].empty());
    EXPECT_EQ(settings.volume, 9);
    EXPECT_EQ(warnings, std::vector<std::string>{"s.ini:3: it leaves nothing to resume a paused game with; line ignored"});

    // Left without keys by a key another line took first: the same.
    warnings.clear();
    settings = applied("fire = F1\npause = F1\npad_pause =\n", warnings);
    EXPECT_TRUE(settings.keys[bit(Action::pause)].empty());
    EXPECT_EQ(settings.pad[bit(Action::pause)], std::vector<PadInput>{padInput("start")});
    EXPECT_EQ(warnings, (std::vector<std::string>{"s.ini:3: it leaves nothing to resume a paused game with; line ignored",
                                                  "s.ini:2: F1 is already bound to fire on line 1; it stays there"}));
}

TEST(Settings, DefaultsFile_ReadsBackAsTheDefaultsAndEveryKeyNameRoundTrips)
{
    std::vector<std::string> warnings;
    Settings fromText;
    applySettingsText(fromText, defaultSettingsText(), "defaults", warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    EXPECT_EQ(fromText, defaultSettings());
    for (int key = 1; key < 512; ++key) {
        const std::string name = KEY_NAME(key);
        if (!name.empty()) { // a few keys share a name ("Return"): names, not numbers, must survive
            EXPECT_EQ(KEY_NAME(KEY_BY_NAME(name)), name) << key;
        }
    }
    for (const std::string name : {"a", "start", "dpdown", "lefttrigger", "-leftx", "+righty"}) {
        EXPECT_EQ(padInputName(padInput(name.c_str())), name);
    }
}

// Each row: the player's text, what the options change in the settings it gives, and
// the text saved. Read back, the saved text must give exactly the changed settings.
TEST(SettingsSave, OnlyTheChangedValuesAreRewrittenWhereTheyTookEffect)
{
    struct Case {
        const char* what;
        const char* text;
        std::function<void(Settings&)> change;
        const char* saved;
    };
    const Case cases[] = {
        {"comments, blanks and spacing kept", "# mine\n\n  volume=80  \n# loud\nshake = off\n",
         [](Settings& s) { s.volume = 5; }, "# mine\n\n  volume=5  \n# loud\nshake = off\n"},
        {"a line added, after a last line without its end", "volume = 80", [](Settings& s) { s.shake = false; },
         "volume = 80\nshake = off\n"},
        {"CRLF kept for changed and added lines", "\xEF\xBB\xBFvolume = 80\r\n",
         [](Settings& s) {
             s.volume = 1;
             s.windowScale = 2;
         },
         "\xEF\xBB\xBFvolume = 1\r\nwindow_scale = 2\r\n"},
        {"refused lines left alone", "volume = 70\nvolume = 200\nfire = Nokey\nfire W\n",
         [](Settings& s) { s.volume = 30; }, "volume = 30\nvolume = 200\nfire = Nokey\nfire W\n"},
        {"of repeated lines, the last one changes", "fire = X\nfire = Q\n",
         [](Settings& s) { s.keys[bit(Action::fire)] = keys({"Z"}); }, "fire = X\nfire = Z\n"},
        {"an empty value gets its space", "screenshot =\n",
         [](Settings& s) { s.keys[bit(Action::screenshot)] = keys({"F12"}); }, "screenshot = F12\n"},
        {"a key moved between two lines", "fire = W\nshield = S\n",
         [](Settings& s) {
             s.keys[bit(Action::fire)].clear();
             s.keys[bit(Action::shield)] = keys({"S", "W"});
         },
         "fire =\nshield = S, W\n"},
        {"a key taken from an action without a line", "",
         [](Settings& s) {
             s.keys[bit(Action::fire)] = keys({"W", "Up"});
             s.keys[bit(Action::thrust)] = keys({"Keypad 8"});
         },
         "thrust = Keypad 8\nfire = W, Up\n"},
        {"a key let go must not fall to a line that lost it before", "fire = W\nshield = S, W\n",
         [](Settings& s) { s.keys[bit(Action::fire)] = keys({"X"}); }, "fire = X\nshield = S\n"},
        {"a line refused for pause stays, a new one follows", "pad_pause =\npause =\n",
         [](Settings& s) { s.keys[bit(Action::pause)] = keys({"Q"}); }, "pad_pause =\npause =\npause = Q\n"},
        {"restore defaults changes values only", "# mine\nvolume = 10\nfire = X\nshake = off\npad_fire = b\n",
         [](Settings& s) { s = defaultSettings(); },
         "# mine\nvolume = 100\nfire = W\nshake = on\npad_fire = a\npad_shield = b\n"}, // b had gone to fire
        {"no change, no rewrite", "fire W\r\nvolume = 5\n# end", [](Settings&) {}, "fire W\r\nvolume = 5\n# end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> warnings;
        const Settings before = applied(c.text, warnings);
        Settings after = before;
        c.change(after);
        const std::string saved = rewriteSettingsText(c.text, before, after);
        EXPECT_EQ(saved, c.saved);
        EXPECT_EQ(applied(saved, warnings), after);
    }
}

const ChildTask kUnwritableSettingsAreKept("SettingsSave.unwritableSettingsAreKept", [](const std::vector<std::string>&) {
    Settings quieter = defaultSettings();
    quieter.volume = 5;
    std::string unreadable, unwritable;
    return !saveSettingsChanges("locked.ini", defaultSettings(), quieter, unreadable) &&
           unreadable == "could not save the settings to locked.ini: it cannot be read (Permission denied)" &&
           !saveSettingsChanges("shut/settings.ini", defaultSettings(), quieter, unwritable) &&
           unwritable == "could not save the settings to shut/settings.ini: shut: Permission denied";
});

TEST(SettingsSave, MakesItsFolder_ButLeavesAFileItCannotReadOrReplaceAsItWas)
{
    ScratchFolder scratch("settings");
    std::ofstream("locked.ini") << "volume = 7\n";
    std::filesystem::create_directory("shut");
    std::ofstream("shut/settings.ini") << "volume = 7\n";
    ::chmod("locked.ini", 0);
    ::chmod("shut/settings.ini", 0666); // writable by anyone: only its folder refuses
    ::chmod("shut", 0555);
    ::chmod(scratch.path().c_str(), 0755);
    EXPECT_TRUE(asOrdinaryUser(kUnwritableSettingsAreKept));
    ::chmod("locked.ini", 0644);
    ::chmod("shut", 0755);
    for (const char* path : {"locked.ini", "shut/settings.ini"}) { // the unreadable one sits in a writable folder
        std::vector<std::string> warnings;
        EXPECT_EQ(loadSettings(path, warnings).volume, 7) << path;
    }

    // Values the file cannot hold are refused, not saved as something else.
    Settings stuck = defaultSettings();
    stuck.keys[bit(Action::pause)].clear();
    stuck.pad[bit(Action::pause)].clear();
    std::string error;
    EXPECT_FALSE(saveSettingsChanges("new/settings.ini", defaultSettings(), stuck, error));
    EXPECT_EQ(error, "could not save the settings to new/settings.ini: it cannot hold these values of pad_pause");
    EXPECT_FALSE(std::filesystem::exists("new"));
    stuck.keys[bit(Action::pause)] = keys({"Q"});
    ASSERT_TRUE(saveSettingsChanges("new/settings.ini", defaultSettings(), stuck, error)) << error;
    std::vector<std::string> warnings;
    EXPECT_EQ(loadSettings("new/settings.ini", warnings), stuck);
}

const ChildTask kLockedFileWarnsOnce("SettingsFile.lockedFileWarnsOnce", [](const std::vector<std::string>&) {
    std::vector<std::string> said;
    return loadSettings("locked.ini", said) == defaultSettings() && said.size() == 1 &&
           said[0] == "locked.ini: Permission denied; using the default settings";
});

TEST(SettingsFile, MissingFileIsSilentWhileAFolderOrUnreadableFileWarnsOnce)
{
    ScratchFolder scratch("settings");
    std::vector<std::string> warnings;
    EXPECT_EQ(loadSettings("absent.ini", warnings), defaultSettings());
    EXPECT_TRUE(warnings.empty());

    EXPECT_EQ(loadSettings("data", warnings), defaultSettings());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("data: is a folder"), std::string::npos);

    std::ofstream("locked.ini") << "volume = 5\n";
    ::chmod("locked.ini", 0);
    ::chmod(scratch.path().c_str(), 0755);
    EXPECT_TRUE(asOrdinaryUser(kLockedFileWarnsOnce));

    // Only a regular file of a sane size is read: a FIFO would hang the start, a link
    // to /dev/zero would fill the memory.
    ASSERT_EQ(::mkfifo("fifo.ini", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.ini");
    std::ofstream("huge.ini") << "volume = 5\n" << std::string(1 << 20, '#');
    for (const char* path : {"fifo.ini", "zero.ini", "huge.ini"}) {
        warnings.clear();
        EXPECT_EQ(loadSettings(path, warnings), defaultSettings()) << path;
        ASSERT_EQ(warnings.size(), 1u) << path;
        EXPECT_EQ(warnings[0], std::string(path) +
                                   (path[0] == 'h' ? ": is larger than a settings file can be (1 MiB)"
                                                   : ": is not a regular file") + "; using the default settings");
    }
}

// Without a home folder to look in the game says so once, naming what is wrong.
TEST(SettingsFile, NoHomeFolder_IsSaidOnceWithWhatIsWrong)
{
    const auto withHome = [](const char* home) {
        return [home](const std::string& name) { return name == "HOME" ? std::string(home) : std::string(); };
    };
    for (const auto& [home, reason] : {std::pair{"", "HOME is not set"},
                                       std::pair{"relative", "HOME is not an absolute path (relative)"}}) {
        std::vector<std::string> warnings;
        EXPECT_EQ(loadUserSettings(withHome(home), warnings), defaultSettings());
        EXPECT_EQ(warnings, std::vector<std::string>{"no settings read: " + std::string(reason) +
                                                     "; using the default settings"});
        EXPECT_EQ(homeProblem(withHome(home)), reason);
    }
    EXPECT_EQ(homeProblem(withHome("/home/ann")), "");
}

TEST(SettingsFile, WriteDefaults_MakesTheFolderAndKeepsAnExistingFileUnlessOverwriting)
{
    ScratchFolder scratch("settings");
    const std::string path = (scratch.path() / "config/space-game/settings.ini").string();
    std::string error;
    ASSERT_TRUE(writeDefaultSettings(path, false, error)) << error;
    std::vector<std::string> warnings;
    EXPECT_EQ(loadSettings(path, warnings), defaultSettings());

    std::ofstream(path) << "volume = 7\n";
    EXPECT_FALSE(writeDefaultSettings(path, false, error));
    EXPECT_NE(error.find(path + ": already exists"), std::string::npos);
    EXPECT_EQ(loadSettings(path, warnings).volume, 7);
    ASSERT_TRUE(writeDefaultSettings(path, true, error)) << error;
    EXPECT_EQ(loadSettings(path, warnings).volume, 100);
}
