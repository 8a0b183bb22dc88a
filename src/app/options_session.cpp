// A file that cannot be written is said on the screen and on standard error; the
// changes stay in effect for the rest of the run either way.
#include "app/options_session.h"

#include "app/options_input.h"
#include "app/options_screen.h"
#include "app/pause_screen.h"
#include "app/play_session.h"
#include "app/settings_save.h"
#include "platform/fbsound.h"

#include <cstdio>

namespace {

void show(const PlaySession& session)
{
    SCREEN_LOCK();
    restoreScreenPicture(session.pausedPicture);
    drawOptions(session.options.menu, session.settings);
    SCREEN_UNLOCK(-1, -1);
}

// The game's own sounds are paused: the sample lets the player hear the new volume.
void playVolumeSample(PlaySession& session)
{
    int& sound = session.options.sampleSound;
    if (sound < 0 && (session.volumeSampleWave < 0 || !FBS_CREATE_SOUND(session.volumeSampleWave, sound))) return;
    FBS_PLAY_SOUND(sound, 1);
}

void saveChanges(PlaySession& session)
{
    const OptionsState& options = session.options;
    if (session.settingsFile.empty() || options.before == session.settings) return;
    std::string error;
    if (saveSettingsChanges(session.settingsFile, options.before, session.settings, error)) return;
    std::fprintf(stderr, "the options were not saved: %s\n", error.c_str());
    showNotice(session.notice, "Options not saved (kept for this game): " + error);
}

} // namespace

void applyVolume(const Settings& settings)
{
    FBS_SET_MASTERVOLUME(static_cast<float>(settings.volume / double(kLargestVolume)));
}

void applyWindowMode(const Settings& settings) { SCREEN_WINDOW_MODE(settings.windowScale, settings.fullscreen); }

void openOptions(PlaySession& session)
{
    OptionsState& options = session.options;
    // Alt+Enter may have changed the window since the settings were read.
    session.settings.fullscreen = SCREEN_FULLSCREEN();
    options.open = true;
    options.menu = OptionsMenu{};
    options.menu.largestScale = SCREEN_LARGEST_SCALE();
    options.before = session.settings;
    options.lastPads = PADS_READ();
    show(session);
}

bool answerOptions(PlaySession& session)
{
    OptionsState& options = session.options;
    const MenuInput input = readMenuInput(options.menu, session.settings, options.lastPads);
    const MenuOutcome outcome = stepMenu(options.menu, session.settings, input);
    if (outcome.volumeChanged) {
        applyVolume(session.settings);
        playVolumeSample(session);
    }
    if (outcome.windowChanged) applyWindowMode(session.settings);
    if (!outcome.notice.empty()) showNotice(session.notice, outcome.notice);
    if (outcome.closed) {
        closeOptions(session);
        return false;
    }
    if (input.command != MenuCommand::none || input.clickedLine >= 0 || input.key != 0 || input.padInput) show(session);
    return true;
}

void closeOptions(PlaySession& session)
{
    session.options.open = false;
    saveChanges(session);
}
