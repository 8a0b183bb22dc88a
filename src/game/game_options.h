// The game's own command-line options: the settings they override for one run and
// the random seed. The table rows live in game_command_line.cpp.
#pragma once

#include "app/command_line.h"
#include "app/settings.h"

#include "app/challenge_day.h"

#include <ctime>
#include <optional>
#include <string>

inline constexpr OptionSpec kFullscreenOption{"--fullscreen", "", "start filling the screen"};
inline constexpr OptionSpec kWindowedOption{"--windowed", "", "start in a window"};
inline constexpr OptionSpec kMuteOption{"--mute", "", "play without sound (volume 0)"};
inline constexpr OptionSpec kVolumeOption{"--volume", "N", "master volume from 0 to 100"};
inline constexpr OptionSpec kSeedOption{"--seed", "N", "fix the random seed: the same seed and keys start the same"};
inline constexpr OptionSpec kWriteSettingsOption{"--write-settings", "",
                                                 "write a settings file with every default and exit"};
inline constexpr OptionSpec kScoresOption{"--scores", "", "print the challenge's local score tables and exit"};
inline constexpr OptionSpec kForceOption{"--force", "", "with --write-settings or --record: replace an existing file"};
inline constexpr OptionSpec kRecordOption{"--record", "FILE", "record the game into FILE as a demo"};
inline constexpr OptionSpec kChallengeOption{"--challenge", "",
                                             "play today's challenge (UTC), or the DAY given (YYYY-MM-DD) for practice"};
inline constexpr OptionSpec kReplayOption{"--replay", "FILE",
                                          "replay the demo in FILE and say whether it ends as recorded"};

// Applies the options given over the settings (the last of --fullscreen and --windowed
// wins; --mute wins over --volume) and reads the seed. False with the problem when a
// value cannot be used, or when --replay comes with --seed or --record (a replay is
// the recorded game).
bool applyGameOptions(const CommandLine& line, Settings& settings, std::optional<double>& seed, std::string& error);

struct ChallengeChoice {
    ChallengeDay day;
    bool practice = false; // an earlier day's, played again
};
// The challenge the command line asks for: none without --challenge, else the DAY
// operand's or, without one, today's (the UTC day at now). False with the problem for
// a DAY that is no day or lies after today, a DAY without --challenge, and --challenge
// with --seed or --replay (a challenge's field is its day's).
bool readChallengeChoice(const CommandLine& line, std::time_t now, std::optional<ChallengeChoice>& choice,
                         std::string& error);
