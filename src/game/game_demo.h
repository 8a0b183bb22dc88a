// The game recorded into a demo, and a demo replayed into the game, through the play
// session: a replay starts the game as the recording did (seed, clock, level, shake,
// ship) and then feeds it the recorded frames; at its end the game's state and
// picture are compared with the ones recorded.
#pragma once

#include "app/demo_file.h"
#include "game/game.h"
#include "app/play_session.h"

#include <memory>
#include <string>

// Where the game stands now, as a demo's end records it (frames: those played).
DemoEnd gameEnd(const PlaySession& session, const Game& game);

// Records the game just started (and brought to its first level) from its next frame
// on, into the file the writer has open. False with error, naming the file, when it
// cannot be written. Saves of the ship file are not flown while recording (nor while
// replaying): a demo holds the ship it starts with.
bool startRecording(PlaySession& session, Game& game, std::unique_ptr<DemoWriter> file, std::string& error);
// Writes the recording's end (gameEnd) and closes it; true when there is no recording. False with
// error when any part of it could not be written: the file then stops where it failed.
bool finishRecording(PlaySession& session, const DemoEnd& end, std::string& error);

// Starts the game as the demo's recording started, to play its frames. False with
// error as startPlaying gives it.
bool startReplaying(PlaySession& session, Game& game, Demo demo, std::string& error);

// What a replay came to, for the player, and the programs' exit status.
struct ReplayVerdict {
    int status = 0; // 0: as recorded (or stopped by the player), 3: different, 2: nothing to compare with
    std::string message;
};
constexpr int kReplayDiffers = 3;
constexpr int kReplayUnverifiable = 2;
// To be asked with the game's end (gameEnd) once the session has ended its turns,
// before it ends.
ReplayVerdict replayVerdict(const PlaySession& session, const DemoEnd& end);
