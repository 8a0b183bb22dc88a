// Reading the game's options' values. A seed is a whole number a double holds exactly,
// so that it seeds the generator as typed.
#include "game/game_options.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint64_t kLargestSeed = uint64_t(1) << 53;

bool wholeNumber(const std::string& text, uint64_t largest, uint64_t& number)
{
    if (text.empty() || text.size() > 16 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        })) {
        return false;
    }
    number = std::stoull(text);
    return number <= largest;
}

} // namespace

bool applyGameOptions(const CommandLine& line, Settings& settings, std::optional<double>& seed, std::string& error)
{
    for (const GivenOption& option : line.options) {
        if (option.name == kFullscreenOption.name) settings.fullscreen = true;
        if (option.name == kWindowedOption.name) settings.fullscreen = false;
    }
    uint64_t number = 0;
    if (line.has(kVolumeOption.name)) {
        if (!wholeNumber(line.value(kVolumeOption.name), 100, number)) {
            error = "--volume wants a whole number from 0 to 100, not '" + line.value(kVolumeOption.name) + "'";
            return false;
        }
        settings.volume = static_cast<int>(number);
    }
    if (line.has(kMuteOption.name)) settings.volume = 0;
    if (line.has(kSeedOption.name)) {
        if (!wholeNumber(line.value(kSeedOption.name), kLargestSeed, number)) {
            error = "--seed wants a whole number from 0 to 2^53, not '" + line.value(kSeedOption.name) + "'";
            return false;
        }
        seed = static_cast<double>(number);
    }
    for (const OptionSpec& other : {kSeedOption, kRecordOption}) {
        if (line.has(kReplayOption.name) && line.has(other.name)) {
            error = std::string(other.name) + " cannot be used with --replay: the demo holds the game to replay";
            return false;
        }
    }
    return true;
}

bool readChallengeChoice(const CommandLine& line, std::time_t now, std::optional<ChallengeChoice>& choice,
                         std::string& error)
{
    choice.reset();
    const bool asked = line.has(kChallengeOption.name);
    if (!asked) {
        if (line.operands.empty()) return true;
        error = "a day ('" + line.operands.front() + "') is read only after --challenge";
        return false;
    }
    for (const OptionSpec& other : {kSeedOption, kReplayOption}) {
        if (line.has(other.name)) {
            error = std::string(other.name) + " cannot be used with --challenge: the day decides the field";
            return false;
        }
    }
    const ChallengeDay today = utcDay(now);
    if (line.operands.empty()) {
        std::string problem;
        if (!parseChallengeDay(formatChallengeDay(today), problem)) {
            error = "today " + problem;
            return false;
        }
        choice = ChallengeChoice{today, false};
        return true;
    }
    const std::optional<ChallengeDay> day = parseChallengeDay(line.operands.front(), error);
    if (!day) return false;
    if (*day > today) {
        error = "the challenge of " + formatChallengeDay(*day) + " is not open yet: today is " +
                formatChallengeDay(today) + " (UTC)";
        return false;
    }
    choice = ChallengeChoice{*day, *day < today};
    return true;
}
