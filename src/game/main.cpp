// The game's entry point: read the command line, find the data and read the
// settings, then start (or start a demo's replay), play turns until the player quits,
// and shut down. The turns run as the platform runs frames (RUN_FRAMES): in a browser
// page, after main has handed control back.
#include "app/build_info.h"
#include "app/challenge_day.h"
#include "game/challenge.h"
#include "game/challenge_turn.h"
#include "game/game_command_line.h"
#include "game/game_demo.h"
#include "game/game_options.h"
#include "game/game_session.h"
#include "app/score_lines.h"
#include "app/score_table.h"
#include "app/screen_notice.h"
#include "app/screenshot.h"
#include "app/settings.h"
#include "app/ship_files.h"
#include "platform/platform.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

int writeSettings(const Launch& launch)
{
    const std::string path = settingsPath(launch.environment);
    std::string error = path.empty() ? "no settings folder: " + homeProblem(launch.environment) : "";
    if (!error.empty() || !writeDefaultSettings(path, launch.commandLine.has(kForceOption.name), error)) {
        std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), error.c_str());
        return 1;
    }
    std::printf("wrote the default settings to %s\n", path.c_str());
    return standardOutputWritten(launch.program) ? 0 : 1;
}

int printScores(const Launch& launch)
{
    const std::string folder = challengeFolder(launch.environment);
    if (folder.empty()) {
        std::fprintf(stderr, "%s: no data folder: %s\n", launch.program.c_str(), homeProblem(launch.environment).c_str());
        return 1;
    }
    std::vector<std::string> warnings;
    const std::vector<ScoreEntry> entries = readScoreEntries(folder, warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), warning.c_str());
    const std::string today = formatChallengeDay(utcDay(std::time(nullptr)));
    for (const std::string& line : scoreReport(bestTables(entries, today), today)) std::printf("%s\n", line.c_str());
    return standardOutputWritten(launch.program) ? 0 : 1;
}

// What the player should know before a demo plays: that it may not replay as it was.
void warnAboutDemo(const Launch& launch, const std::string& path, const Demo& demo)
{
    const char* program = launch.program.c_str();
    if (demo.start.gameVersion != kProductVersion) {
        std::fprintf(stderr, "%s: %s was recorded by version %s of the game, this is %s: it may replay differently\n",
                     program, path.c_str(), demo.start.gameVersion.c_str(), std::string(kProductVersion).c_str());
    }
    if (!demo.end) {
        std::fprintf(stderr, "%s: %s stops after frame %zu without its end (the recording was cut short); "
                     "replaying what there is\n", program, path.c_str(), demo.frames.size());
    }
}

// A challenge is always recorded: into the challenge folder unless --record names a
// file. The run's result starts with what is known before it is played.
bool prepareChallenge(const Launch& launch, const ChallengeChoice& choice, std::time_t now, int& steps,
                      std::string& recordPath, ChallengeRun& run, std::string& error)
{
    if (!challengeSteps(launch.environment, steps, error)) return false;
    if (recordPath.empty() &&
        !challengeDemoPath(launch.environment, choice.day, now, static_cast<long>(getpid()), recordPath, error)) {
        error = "cannot record the run: " + error;
        return false;
    }
    run.result.day = choice.day;
    run.result.practice = choice.practice;
    run.result.shortened = steps < kChallengeSteps;
    run.result.demoPath = recordPath;
    run.challengeFolder = challengeFolder(launch.environment);
    return true;
}

// R on the result screen: the finished run is let go and a new one started, of the
// day the command line now names (today's may have become tomorrow's), recorded
// into the challenge folder: a file that --record named belongs to the first run.
bool startNewChallengeRun(const Launch& launch, PlaySession& session, Game& game, ChallengeRun& run, std::string& error)
{
    endChallengeRun(run);
    endSession(session);
    releaseGame(game);
    session = sessionForSamePlayer(session);
    run = ChallengeRun{};
    std::optional<ChallengeChoice> choice;
    int steps = 0;
    std::string recordPath;
    const std::time_t now = std::time(nullptr);
    if (!readChallengeChoice(launch.commandLine, now, choice, error) ||
        !prepareChallenge(launch, *choice, now, steps, recordPath, run, error)) {
        return false;
    }
    auto recording = std::make_unique<DemoWriter>();
    if (!recording->open(recordPath, false)) {
        error = "cannot record: " + recording->error();
        return false;
    }
    return startChallenge(session, game, choice->day, steps, error) &&
           startRecording(session, game, std::move(recording), error);
}

// The warnings as the window shows them: a file by its name alone ("settings.ini:3:
// ..."), so that the line keeps the problem rather than the folders above it.
std::vector<std::string> warningsOnScreen(const std::vector<std::string>& warnings)
{
    std::vector<std::string> lines;
    for (const std::string& warning : warnings) {
        const size_t slash = warning.rfind('/', warning.find(':'));
        lines.push_back(warning.front() == '/' && slash != std::string::npos ? warning.substr(slash + 1) : warning);
    }
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    Launch launch;
    if (const std::optional<int> status = launchProgram(kGameProgram, argc, argv, launch)) return *status;
    if (launch.commandLine.has(kWriteSettingsOption.name)) return writeSettings(launch);
    if (launch.commandLine.has(kScoresOption.name)) return printScores(launch);
    const char* program = launch.program.c_str();

    PlaySession session;
    std::vector<std::string> warnings;
    session.settings = loadUserSettings(launch.environment, warnings);
    session.settingsFile = settingsPath(launch.environment);
    session.screenshotFolder = screenshotFolder(launch.environment, warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
    std::optional<double> seed;
    std::string error;
    if (!applyGameOptions(launch.commandLine, session.settings, seed, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 2;
    }
    const std::time_t now = std::time(nullptr);
    std::optional<ChallengeChoice> challenge;
    if (!readChallengeChoice(launch.commandLine, now, challenge, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 2;
    }
    const std::string replayPath = launch.commandLine.value(kReplayOption.name);
    std::string recordPath = launch.commandLine.value(kRecordOption.name);
    int challengeStepCount = 0;
    ChallengeRun run;
    if (challenge && !prepareChallenge(launch, *challenge, now, challengeStepCount, recordPath, run, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 2;
    }
    Demo demo;
    if (!replayPath.empty()) {
        if (!readDemoFile(replayPath, demo, error)) {
            std::fprintf(stderr, "%s: %s\n", program, error.c_str());
            return kReplayUnverifiable;
        }
        warnAboutDemo(launch, replayPath, demo);
    }
    auto recording = std::make_unique<DemoWriter>();
    if (!recordPath.empty() && !recording->open(recordPath, launch.commandLine.has(kForceOption.name))) {
        std::fprintf(stderr, "%s: cannot record: %s\n", program, recording->error().c_str());
        return 1;
    }

    Game game;
    game.dataFolder = launch.data.path;
    game.ownShip = shipFiles(launch.data, launch.environment).own;
    const bool started = challenge          ? startChallenge(session, game, challenge->day, challengeStepCount, error)
                         : replayPath.empty() ? startPlaying(session, game, error, seed)
                                              : startReplaying(session, game, std::move(demo), error);
    if (!started) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 1;
    }
    // Said once more over the window: a game started from a menu has no terminal.
    showNotice(session.notice, warningsOnScreen(warnings), kWarningNoticeSeconds);
    int status = 0;
    if (!recordPath.empty() && !startRecording(session, game, std::move(recording), error)) {
        std::fprintf(stderr, "%s: cannot record: %s\n", program, error.c_str());
        status = 1;
    }
    const auto turn = [&] {
        if (status != 0) return false;
        if (!challenge) return playTurn(session, game);
        if (playChallengeTurn(run, session, game)) return true;
        if (!run.newRunAsked) return false;
        if (startNewChallengeRun(launch, session, game, run, error)) return true;
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        status = 1;
        return false;
    };
    return RUN_FRAMES(turn, [&] {
        if (challenge) endChallengeRun(run);
        const DemoEnd end = gameEnd(session, game); // the last frame hashed once, for both
        if (!finishRecording(session, end, error)) {
            std::fprintf(stderr, "%s: the demo is incomplete: %s\n", program, error.c_str());
            status = 1;
        }
        if (session.replay) {
            const ReplayVerdict verdict = replayVerdict(session, end);
            std::printf("%s: %s\n", replayPath.c_str(), verdict.message.c_str());
            status = standardOutputWritten(launch.program) ? verdict.status : 1;
        }
        endSession(session);
        endGame(game);
        return status;
    });
}
