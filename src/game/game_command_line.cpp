// The game's options table and help text. A new option is a row here and its
// handling in main.cpp.
#include "game/game_command_line.h"

#include "game/game_options.h"

namespace {

constexpr OptionSpec kGameOptions[] = {kDataOption,   kFullscreenOption,    kWindowedOption,  kMuteOption,
                                       kVolumeOption, kSeedOption,          kChallengeOption, kScoresOption,
                                       kRecordOption, kReplayOption,        kWriteSettingsOption, kForceOption,
                                       kHelpOption,
                                       kVersionOption};

constexpr std::string_view kGameDetails = R"(Keys:
  Up                    thrust (uses fuel)
  Left, Right           turn (needs fuel)
  Down                  jump to a random place
  W                     fire (uses battery)
  Space                 sonar ping: echoes mark asteroids at the edge of the screen
  S                     shield (battery above 25)
  A                     laser sight for 10 s (battery above 10)
  Page Up, Page Down    zoom in, out
  P, Pause              pause and resume
  O (paused)            options: volume, screen shake, fullscreen, window size, and
                        every key and controller button (saved to the settings file)
  F1                    show the keys and buttons as set (pauses; F1, P or Escape closes)
  F12                   save a screenshot in space-game/ in the Pictures folder that
                        xdg-user-dir names (or ~/Pictures, or the home folder)
  Alt+Enter, F11        toggle fullscreen
  Escape                quit

Keys, controller buttons, volume, shake and the window are set on the options
screen, which keeps them in $XDG_CONFIG_HOME/space-game/settings.ini (~/.config by
default); the file may be edited by hand too, and --write-settings writes one with
every default and what each setting means. A game controller plays too: left stick
or d-pad to fly, A fire, B shield, X sight, Y ping, shoulders zoom, d-pad down jump,
Start pause (then A on Options), Back quit.

--record FILE writes the game as it is played into a demo file: the seed, and each
frame's time and the actions held. --replay FILE plays a demo back exactly, at the
speed it was played (Escape quits, P pauses), and then says whether it ended as
recorded: exit status 0 when it did, 3 when it did not, 2 when FILE is no demo.

--challenge plays the day's challenge: the same field for everyone on a UTC day,
from level 1 with the ship built into the game, for three minutes of play (the
countdown is in the top-right corner; Escape asks before it abandons the run).
--challenge DAY plays an earlier day's (YYYY-MM-DD) for practice. Every run is
recorded, into $XDG_DATA_HOME/space-game/challenge/ unless --record names a file.
At time up the run's score and the local tables show; a run that makes the day's
best ten or the best ten of all time is entered under a name. --scores prints
both tables.

Installed, the game flies the ship you saved with space-game-editor, kept in
$XDG_DATA_HOME/space-game/model/Ship.mdata (~/.local/share by default).
)";

} // namespace

const ProgramText kGameProgram{
    .title = "Space Game",
    .summary = "Fly a ship through a field of asteroids; shoot them, and mind your fuel and battery.",
    .operands = "[DAY]", // with --challenge
    .mostOperands = 1,
    .options = kGameOptions,
    .details = kGameDetails,
};
