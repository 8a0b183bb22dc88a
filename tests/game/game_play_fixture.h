// A started headless game for the rule tests: clock and seed fixed, no background
// (it plays no part and is the slow part of a frame), and helpers to run the rules
// one step at a time or whole frames with keys held.
#pragma once

#include "game_fixture.h"
#include "platform/platform.h"
#include "support/world_helpers.h"

#include <initializer_list>

class GamePlay : public StartedGame {
protected:
    void SetUp() override
    {
        StartedGame::SetUp();
        dropBackground();
        game.player.position = {1000.0f, 700.0f};
        game.camera.zoom = game.camera.targetZoom = 1.0f;
        parkAsteroids();
    }
    // Every asteroid still and far from the ship, so that nothing touches it unasked.
    void parkAsteroids()
    {
        for (Entity& asteroid : game.asteroids) {
            asteroid.position = {50.0f, 50.0f};
            asteroid.velocity = {0.0f, 0.0f};
            asteroid.turnRate = 0.0f;
        }
    }

    // Only the keys listed are down.
    static void hold(std::initializer_list<int> keys)
    {
        headless::releaseAllKeys();
        for (int key : keys) headless::setKey(key, true);
    }

    // Sets the frame's clock and step as the frame loop would, without the updates.
    void step(double dt)
    {
        game.dt = dt;
        game.frameTime += dt;
    }

    int liveEffects(int32_t kind) const
    {
        int count = 0;
        for (const Effect& effect : game.effects.slots) count += effect.active && effect.kind == kind;
        return count;
    }
};
