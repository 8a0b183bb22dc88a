// The game's entry point: read the command line, find the data and read the
// settings, then start (or start a demo's replay), play turns until the player quits,
// and shut down. The turns run as the platform runs frames (RUN_FRAMES): in a browser
// page, after main has handed control back.
#include "app/build_info.h"
#include "app/challenge_day.h"
#include "game/game_command_line.h"
#include "game/game_demo.h"
#include "game/game_options.h"
#include "game/game_session.h"
#include "app/score_lines.h"
#include "app/screen_notice.h"
#include "app/screenshot.h"
#include "app/settings.h"
#include "app/ship_files.h"
#include "platform/platform.h"

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
    session.screenshotFolder = screenshotFolder(launch.environment, warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
    std::optional<double> seed;
    std::string error;
    if (!applyGameOptions(launch.commandLine, session.settings, seed, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 2;
    }
    const std::string replayPath = launch.commandLine.value(kReplayOption.name);
    const std::string recordPath = launch.commandLine.value(kRecordOption.name);
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
    const bool started = replayPath.empty() ? startPlaying(session, game, error, seed)
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
    const auto turn = [&] { return status == 0 && playTurn(session, game); };
    return RUN_FRAMES(turn, [&] {
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
