// A game started on the headless backend with the clock (and so the seed) fixed,
// shut down again after each test, with a helper to run whole frames.
#pragma once

#include "game/game.h"
#include "platform/headless/headless.h"
#include "png/png.h"

#include <gtest/gtest.h>

class StartedGame : public ::testing::Test {
protected:
    static constexpr double kStartClock = 1000.0; // the seed is the clock at start-up

    void SetUp() override
    {
        headless::reset();
        headless::setTime(kStartClock);
        std::string error;
        ASSERT_TRUE(startGame(game, error)) << error;
    }
    void TearDown() override
    {
        endGame(game);
        headless::reset();
    }

    // For tests of the rules: the background is the slow part of a frame and plays no
    // part in them. A missing background is simply not drawn.
    void dropBackground()
    {
        PNG_FREE(game.images.background);
        game.images.background = nullptr;
    }

    void frame(double seconds = 0.02)
    {
        headless::advanceTime(seconds);
        ASSERT_TRUE(runGameFrame(game));
    }

    Game game;
};
