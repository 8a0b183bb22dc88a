// Starting a challenge: everything that could differ between two players' runs of a
// day is fixed here, except the shake of the view, which the recording keeps.
#include "game/challenge.h"

#include "app/score_table.h"
#include "game/builtin_ship.h"
#include "game/game_session.h"
#include "game/ship_reload.h"
#include "platform/platform.h"

#include "base/bit_cast.h"

#include <algorithm>
#include <cmath>

bool challengeSteps(const Environment& environment, int& steps, std::string& error)
{
    steps = kChallengeSteps;
    const std::string text = environment(kChallengeStepsVariable);
    if (text.empty()) return true;
    const bool digits = text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
    const int value = digits ? std::stoi(text) : 0;
    if (value < 1 || value > kChallengeSteps) {
        error = kChallengeStepsVariable + " wants a whole number of steps from 1 to " + std::to_string(kChallengeSteps) +
                ", not '" + text + "'";
        return false;
    }
    steps = value;
    return true;
}

bool challengeDemoPath(const Environment& environment, const ChallengeDay& day, std::time_t now, long processId,
                       std::string& path, std::string& error)
{
    const std::string folder = challengeFolder(environment);
    if (folder.empty()) {
        error = "no folder to keep the run in: " + homeProblem(environment);
        return false;
    }
    if (!makeFolders(folder, error)) return false;
    path = folder + "/" + formatChallengeDay(day) + "-" + std::to_string(static_cast<long long>(now)) + "-" +
           std::to_string(processId) + ".demo";
    return true;
}

bool startChallenge(PlaySession& session, Game& game, const ChallengeDay& day, int steps, std::string& error)
{
    session.startClock = challengeStartClock(day);
    session.fixedSteps = FixedSteps{kChallengeStep, steps};
    session.challenge = DemoChallenge{day, kChallengeRulesVersion, steps < kChallengeSteps, true};
    game.ownShip.clear();
    if (!startPlaying(session, game, error)) return false;
    setModelLines(game.player.model, builtinShipLines());
    stopWatchingShipFile(game);
    SCREEN_TITLE(challengeTitle(day));
    return true;
}

std::string challengeProblem(const Demo& demo)
{
    const DemoStart& start = demo.start;
    if (!start.challenge) return "it is free play, not a challenge";
    const DemoChallenge& challenge = *start.challenge;
    if (challenge.shortened) return "it is a shortened test run";
    if (challenge.rulesVersion != kChallengeRulesVersion) {
        return "it was played under rules version " + std::to_string(challenge.rulesVersion) + ", these are version " +
               std::to_string(kChallengeRulesVersion);
    }
    const double clock = challengeStartClock(challenge.day);
    if (start.clock != clock || start.seed != clock) return "it does not start at its day's clock";
    if (start.level != 1) return "it starts at level " + std::to_string(start.level) + ", not 1";
    const std::vector<ModelLine> ship = builtinShipLines();
    const auto sameLine = [](const ModelLine& a, const ModelLine& b) {
        return bits::cast<uint64_t>(a.start) == bits::cast<uint64_t>(b.start) &&
               bits::cast<uint64_t>(a.end) == bits::cast<uint64_t>(b.end) &&
               bits::cast<uint64_t>(a.texStart) == bits::cast<uint64_t>(b.texStart) &&
               bits::cast<uint64_t>(a.texEnd) == bits::cast<uint64_t>(b.texEnd);
    };
    if (!challenge.builtinShip || !std::equal(ship.begin(), ship.end(), start.ship.begin(), start.ship.end(), sameLine)) {
        return "it does not fly the built-in ship";
    }
    if (demo.frames.size() != size_t(kChallengeSteps)) {
        return "it has " + std::to_string(demo.frames.size()) + " steps, not " + std::to_string(kChallengeSteps);
    }
    const auto other = std::find_if(demo.frames.begin(), demo.frames.end(),
                                    [](const DemoFrame& frame) { return frame.step != kChallengeStep; });
    if (other != demo.frames.end()) {
        return "step " + std::to_string(other - demo.frames.begin() + 1) + " is not exactly 1/60 s";
    }
    return {};
}

int challengeSecondsLeft(const PlaySession& session)
{
    const FixedSteps& fixed = *session.fixedSteps;
    const int stepsPerSecond = static_cast<int>(std::lround(1.0 / fixed.step));
    return (fixed.limit - fixed.played + stepsPerSecond - 1) / stepsPerSecond;
}
