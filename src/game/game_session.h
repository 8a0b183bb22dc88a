// The game played through the play session (src/app/play_session.h): its clock,
// input, pause and screenshots around the game's start-up and frames.
#pragma once

#include "game/game.h"
#include "app/play_session.h"

#include <optional>
#include <string>

// Begins the session and starts the game inside it, seeded with seed or else with the
// clock (the seed used is kept in the session), with the session's settings applied.
// False with error as startGame gives it.
bool startPlaying(PlaySession& session, Game& game, std::string& error, std::optional<double> seed = std::nullopt);
// Makes a game just started begin at a later level: its first frame builds that level
// in place of level 1.
void startAtLevel(Game& game, int level);
// The level the next frame plays, counting one its start builds.
int levelAboutToPlay(const Game& game);
// One turn of the session over the game's frame (or, with fixed steps, its steps);
// false when the player quits.
bool playTurn(PlaySession& session, Game& game);
