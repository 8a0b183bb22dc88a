// One turn of the game on the headless backend, as the runner plays it: shared with
// the tests that replay the golden demos and with the server's judgement of a run, so
// that both go the way `runner --replay` goes.
#pragma once

#include "game/game.h"
#include "app/play_session.h"

// playTurn, then lets each one-off sound of the recording sound library end within the
// frame and forgets the library's calls, as a real run would. False when the game ends.
bool playHeadlessTurn(PlaySession& session, Game& game);

// playHeadlessTurn for a replay judged by its end: the steps before the last recorded
// one write no pixels, the last is drawn whole for the final picture's hash. Each frame
// starts by clearing the whole screen, so no pixel of an earlier one could reach it.
bool playReplayTurnDrawingLastFrame(PlaySession& session, Game& game);
