// Demos of the game: its start and end as a demo keeps them, and the comparison of a
// replay's end with the recorded one, field by field, so a difference is named.
#include "game/game_demo.h"

#include "app/build_info.h"
#include "game/game_session.h"
#include "game/ship_reload.h"
#include "base/bit_cast.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace {

std::string hexHash(uint64_t hash)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}

// "score 950 (recorded 975)" for each field that differs, joined with commas.
std::string differences(const DemoEnd& replayed, const DemoEnd& recorded)
{
    std::string text;
    const auto note = [&](bool differs, const std::string& name, const std::string& now, const std::string& then) {
        if (!differs) return;
        if (!text.empty()) text += ", ";
        text += name + " " + now + " (recorded " + then + ")";
    };
    note(replayed.score != recorded.score, "score", std::to_string(replayed.score), std::to_string(recorded.score));
    note(replayed.level != recorded.level, "level", std::to_string(replayed.level), std::to_string(recorded.level));
    note(bits::cast<uint32_t>(replayed.fuel) != bits::cast<uint32_t>(recorded.fuel), "fuel",
         number(replayed.fuel), number(recorded.fuel));
    note(bits::cast<uint32_t>(replayed.battery) != bits::cast<uint32_t>(recorded.battery), "battery",
         number(replayed.battery), number(recorded.battery));
    note(replayed.asteroidsLeft != recorded.asteroidsLeft, "asteroids left", std::to_string(replayed.asteroidsLeft),
         std::to_string(recorded.asteroidsLeft));
    note(replayed.frameHash != recorded.frameHash, "frame hash", hexHash(replayed.frameHash),
         hexHash(recorded.frameHash));
    return text;
}

} // namespace

DemoEnd gameEnd(const PlaySession& session, const Game& game)
{
    DemoEnd end;
    end.frames = static_cast<uint32_t>(session.replay ? session.replay->played
                                                      : session.recording ? session.recording->frames() : 0);
    end.score = game.player.score;
    end.level = game.player.levelNumber;
    end.fuel = game.player.fuel;
    end.battery = game.player.battery;
    end.asteroidsLeft = static_cast<uint32_t>(std::count_if(
        game.asteroids.begin(), game.asteroids.end(), [](const Entity& asteroid) { return asteroid.active; }));
    end.frameHash = playedFrameHash(session);
    return end;
}

bool startRecording(PlaySession& session, Game& game, std::unique_ptr<DemoWriter> file, std::string& error)
{
    const DemoStart start{std::string(kProductVersion), session.seed,           session.gameClock,
                          levelAboutToPlay(game),       session.settings.shake, game.player.model.lines,
                          session.challenge};
    if (!file->begin(start)) {
        error = file->error();
        return false;
    }
    session.recording = std::move(file);
    stopWatchingShipFile(game); // a save in the editor would fly a ship the demo does not hold
    return true;
}

bool finishRecording(PlaySession& session, const DemoEnd& end, std::string& error)
{
    if (!session.recording) return true;
    const bool written = session.recording->finish(end);
    if (!written) error = session.recording->error();
    session.recording.reset();
    return written;
}

bool startReplaying(PlaySession& session, Game& game, Demo demo, std::string& error)
{
    session.replay = DemoReplay{std::move(demo), 0};
    const DemoStart& start = session.replay->demo.start;
    session.settings.shake = start.shake;
    if (!startPlaying(session, game, error, start.seed)) return false;
    startAtLevel(game, start.level);
    setModelLines(game.player.model, start.ship); // as a ship file would have given it
    stopWatchingShipFile(game);
    return true;
}

ReplayVerdict replayVerdict(const PlaySession& session, const DemoEnd& end)
{
    const DemoReplay& replay = *session.replay;
    const size_t recorded = replay.demo.frames.size();
    if (replay.played < recorded) {
        return {0, "stopped after frame " + std::to_string(replay.played) + " of " + std::to_string(recorded)};
    }
    const std::string played = std::to_string(recorded) + " frames replayed";
    if (!replay.demo.end) {
        return {kReplayUnverifiable,
                played + "; the recording stops there without its final state (it was cut short): nothing to compare"};
    }
    const std::string different = differences(end, *replay.demo.end);
    if (!different.empty()) return {kReplayDiffers, played + "; NOT as recorded: " + different};
    return {0, played + "; the final state and picture match the recording"};
}
