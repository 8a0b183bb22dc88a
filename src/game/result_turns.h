// The result screen as the game program runs it once a challenge's time is up: drawn
// over the stopped world, one turn per frame, and an entry's demo watched in the same
// window through the replay path, at the speed it was played; Escape (or the demo's
// end) comes back to the tables.
#pragma once

#include "app/play_session.h"
#include "app/result_screen.h"
#include "game/game.h"

#include <memory>
#include <vector>

struct ResultTurns {
    ResultScreen screen;
    std::vector<uint32_t> stoppedWorld; // the last frame played, for the screen to lie over
    bool textInputOn = false;
    std::unique_ptr<PlaySession> watching; // the replay's own session while a demo plays
};

// Keeps the picture on screen and shows the result over it.
// An entered run of the day goes to the leaderboard at that address ("" sends nothing;
// the page's own server, when the page came from one).
void showResult(ResultTurns& turns, const ChallengeResult& run, const std::string& challengeFolder,
                const std::string& leaderboard);
// One turn of the screen, or of the demo being watched (in game, whose finished run is
// let go for it); what the player chose, stay while the screen goes on.
ResultChoice resultTurn(ResultTurns& turns, const PlaySession& played, Game& game);
void closeResult(ResultTurns& turns);
