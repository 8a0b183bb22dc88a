// The game program's state and its three phases. main() only calls these, so a test
// can start the game on the headless backend, script keys and clock, run frames and
// look at the state and the framebuffer.
#pragma once

#include "camera.h"
#include "game_images.h"
#include "game_sounds.h"
#include "model.h"
#include "sound.h"

#include <string>

struct Game {
    Game() = default;
    Game(const Game&) = delete; // the sound bank keeps pointers into it
    Game& operator=(const Game&) = delete;

    double frameTime = 0.0; // timer reading at the start of the current frame
    double dt = 0.0;        // seconds since the previous frame, never clamped
    GameImages images;
    Camera camera;
    Model shipModel;    // the outline flown by the player, from data/model/Ship.mdata
    Vec2f shipPosition; // followed by the THRUST and SHIELD voices: a Game never moves
    SoundBank soundBank;
    GameSounds sounds;
    int score = 0;
    float fuel = 100.0f;
    float battery = 100.0f;
};

// Seeds the generator, opens the window, loads pictures, sounds and the ship, and
// readies the first frame. On false, error says what failed (the window, memory, or
// a picture, by its file name) and everything started is shut down again.
bool startGame(Game& game, std::string& error);
// Runs one frame; false once Escape (or the window's close button) ends the game.
bool runGameFrame(Game& game);
void endGame(Game& game);
