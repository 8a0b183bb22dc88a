// The game played through the play session (src/app/play_session.h): its clock,
// input, pause and screenshots around the game's start-up and frames.
#pragma once

#include "game.h"
#include "play_session.h"

#include <optional>
#include <string>

// Begins the session and starts the game inside it, seeded with seed or else with the
// clock, with the session's settings applied. False with error as startGame gives it.
bool startPlaying(PlaySession& session, Game& game, std::string& error, std::optional<double> seed = std::nullopt);
// One turn of the session over the game's frame; false when the player quits.
bool playTurn(PlaySession& session, Game& game);
