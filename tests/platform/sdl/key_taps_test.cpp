// Taps through the real SDL backend, with SDL's windowless dummy video driver: a menu
// reads its keys, redraws and waits, and a key tapped while it redraws is read after
// the wait, once.
#include "platform/key_positions.h"
#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void tapKey(SDL_Scancode key)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    event.type = SDL_KEYUP;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void redraw()
{
    SCREEN_LOCK();
    SCREEN_UNLOCK();
}

} // namespace

TEST(MenuTaps, KeyTappedDuringARedraw_IsReadOnceAfterTheWait)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0) << SCREEN_ERROR();
    WAIT_EVENTS(0);
    EXPECT_FALSE(KEY_PRESSED(key_position::ESCAPE));

    tapKey(SDL_SCANCODE_ESCAPE);
    redraw();
    WAIT_EVENTS(0);
    EXPECT_TRUE(KEY_PRESSED(key_position::ESCAPE)) << "the tap was forgotten by the wait";
    WAIT_EVENTS(0);
    EXPECT_FALSE(KEY_PRESSED(key_position::ESCAPE)) << "the tap was read twice";

    // A frame read before the wait is not kept: its tap is not seen again.
    tapKey(SDL_SCANCODE_ESCAPE);
    redraw();
    EXPECT_TRUE(KEY_PRESSED(key_position::ESCAPE));
    WAIT_EVENTS(0);
    EXPECT_FALSE(KEY_PRESSED(key_position::ESCAPE)) << "a tap already read was kept";
    SCREEN_CLOSE();
}
