// The player's settings: which keys and controller inputs make each action, the
// volume, the shake of the view, and how the window starts. They come from a plain
// "name = value" file in the user's config folder; a line that cannot be used is
// named in a warning and skipped, so the game always starts, with the defaults for
// whatever the file does not say. The game writes the file only when asked to or
// when the player leaves the options (settings_save.h).
#pragma once

#include "app/actions.h"
#include "app/pad_inputs.h"
#include "app/user_folders.h"

#include <array>
#include <map>
#include <string>
#include <vector>

struct Settings {
    std::array<std::vector<int>, kActionCount> keys; // SDL key positions (KEY_BY_NAME); Escape quits besides
    std::array<std::vector<PadInput>, kActionCount> pad;
    int volume = 100; // master volume, 0 (silent) to 100
    bool shake = true;
    bool fullscreen = false;
    int windowScale = 1; // the window's starting size as a multiple of 640 x 480
    std::string leaderboard; // the server kept challenge runs go to ("http(s)://..."); "" sends nothing

    bool operator==(const Settings&) const = default;
};

constexpr int kLargestWindowScale = 4;
constexpr int kLargestVolume = 100; // full loudness

// "$XDG_CONFIG_HOME/space-game/settings.ini" (or under ~/.config); empty without a home.
std::string settingsPath(const Environment& environment);

Settings defaultSettings();
// A focus loss pauses the game and only pause resumes it: pause must keep at least one
// key or controller input, whoever changes the bindings.
bool pauseCanResume(const Settings& settings);
// For each setting a line of the text set, by its name in the file, the number of the
// line that took effect (from 1).
using SettingsSources = std::map<std::string, int>;

// The lines of a settings file applied over the settings given. Each line that cannot
// be used adds one warning "FILE:LINE: problem" and changes nothing. Of several lines
// for one setting the last usable one counts. A key bound to two actions stays with
// the line that bound it first; an action the text rebinds takes its keys away from
// the defaults of the others.
SettingsSources applySettingsText(Settings& settings, const std::string& text, const std::string& fileName,
                                  std::vector<std::string>& warnings);
// The defaults with the file at path applied. No file is no warning; a file that
// cannot be read, or is no regular file of at most 1 MiB (a folder, a FIFO, a link
// to a device), is one warning, and the defaults.
Settings loadSettings(const std::string& path, std::vector<std::string>& warnings);

// loadSettings of settingsPath(); without a home folder to look in, one warning that
// says why, and the defaults.
Settings loadUserSettings(const Environment& environment, std::vector<std::string>& warnings);

// The name of every setting in the file, in the order of settingsText.
std::vector<std::string> settingNames();
// A setting's value as the file writes it ("Left Ctrl, W", "on", "75"); empty for an
// unknown name.
std::string settingValueText(const Settings& settings, const std::string& name);

// A settings file that sets every setting as given, with comments that explain each;
// read back over any settings, it gives these settings again.
std::string settingsText(const Settings& settings);
// settingsText of the defaults.
std::string defaultSettingsText();
// Writes defaultSettingsText() to path, making its folder. An existing file is kept
// unless overwrite is set. False with the reason (naming the file) on failure.
bool writeDefaultSettings(const std::string& path, bool overwrite, std::string& error);
