// One turn of the game on the headless backend, as the runner plays it: shared with
// the tests that replay the golden demos and with the server's judgement of a run, so
// that both go the way `runner --replay` goes.
#pragma once

#include "game/game.h"
#include "app/play_session.h"

// playTurn, then lets each one-off sound of the recording sound library end within the
// frame and forgets the library's calls, as a real run would. False when the game ends.
bool playHeadlessTurn(PlaySession& session, Game& game);
