// The game program's state and its three phases. main() only calls these, so a test
// can start the game on the headless backend, script keys and clock, run frames and
// look at the state and the framebuffer.
#pragma once

#include "world/asteroid_grid.h"
#include "space/camera.h"
#include "world/entity.h"
#include "app/file_watch.h"
#include "game/game_images.h"
#include "game/game_sounds.h"
#include "sound/sound.h"

#include <optional>
#include <string>
#include <vector>

struct Game {
    Game() = default;
    Game(const Game&) = delete; // the sound bank keeps pointers into it
    Game& operator=(const Game&) = delete;

    // Where start-up reads from. The defaults are the working folder's data/, as when
    // the game is started in the folder that holds it.
    std::string dataFolder = "data"; // visual/, audio/effects/ and the shipped model/Ship.mdata
    std::string ownShip;             // the player's own ship, flown instead when it exists; empty for none

    double frameTime = 0.0; // timer reading at the start of the current frame
    double dt = 0.0;        // seconds since the previous frame, never clamped
    GameImages images;
    Camera camera;
    Player player; // its position is followed by the THRUST and SHIELD voices: a Game never moves
    std::vector<Entity> asteroids;
    AsteroidGrid asteroidGrid; // the bounce's storage, reused every frame
    EffectSystem effects;
    bool levelCleared = false; // the next frame builds the next level
    SoundBank soundBank;
    GameSounds sounds;
    FileWatch shipWatch; // the ship file the editor saves to, followed for saves
};

// Seeds the generator (with seed, or else with the clock), opens the window, loads
// pictures, sounds and the ship, builds level 1 and readies the first frame. On false,
// error says what failed (the window, memory, or a picture, by its file name) and
// everything started is shut down again.
bool startGame(Game& game, std::string& error, std::optional<double> seed = std::nullopt);
// One step of a frame: reloads the ship's outline if its file was saved anew (looking
// once a second), builds the next level if the last frame cleared the field, then
// advances the ship, the asteroids, the effects, the camera and the sounds, applies
// the keys and the game's rules, and draws the world and the heads-up line into the
// screen. The drawing is part of the step (it spawns effects), but it shows only at
// the caller's outermost unlock.
void advanceGame(Game& game);
// What a frame does once it is shown: a short sleep, so the game leaves the processor
// some rest.
void restAfterFrame();
// A whole frame: advanceGame, shown, restAfterFrame. False once Escape (or the
// window's close button) ends the game.
bool runGameFrame(Game& game);
// Lets go of everything startGame took but the window, for another game (a new run, a
// demo watched) to start in it without the window closing and opening again.
void releaseGame(Game& game);
// releaseGame, and the window closes.
void endGame(Game& game);
