// Game controllers through the real SDL backend, with SDL's virtual joystick standing
// in for a controller: a button reaches the rules as its action's key, and unplugging
// the controller in the middle of a held thrust lets go of the thrust.
#include "app/play_session.h"
#include "platform/platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class VirtualPad : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1); // a window with no display behind it
        // A dummy window never has the keyboard focus, and by default SDL drops the
        // controllers' input while no window of the program has it.
        ::setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        ASSERT_EQ(SCREEN_OPEN(640, 480, 32, 1, 0, 0), 0) << SCREEN_ERROR();
        session.settings = defaultSettings();
        beginSession(session);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
        desc.axis_mask = (1u << desc.naxes) - 1;
        desc.button_mask = (1u << desc.nbuttons) - 1;
        desc.name = "virtual test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(device);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        PUMP_EVENTS(); // the controller is announced and opened
    }
    void TearDown() override
    {
        if (joystick) SDL_JoystickClose(joystick);
        if (device >= 0 && SDL_JoystickIsVirtual(device)) SDL_JoystickDetachVirtual(device);
        endSession(session);
        SCREEN_CLOSE();
    }

    // The rule keys down during the next turn's frame.
    KeySet nextFrameKeys()
    {
        PUMP_EVENTS();
        KeySet seen;
        EXPECT_TRUE(stepSession(session, noSounds, [&seen] {
            for (int code = 0; code < 128; ++code) seen[size_t(code)] = KEY_DOWN(code) != 0;
            return true;
        }));
        return seen;
    }

    PlaySession session;
    SoundBank noSounds;
    int device = -1;
    SDL_Joystick* joystick = nullptr;
};

KeySet only(int code)
{
    KeySet keys;
    keys.set(size_t(code));
    return keys;
}

} // namespace

TEST_F(VirtualPad, AButton_ReachesTheRulesAsFiresKey)
{
    EXPECT_EQ(nextFrameKeys(), KeySet());
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1), 0) << SDL_GetError();
    EXPECT_EQ(nextFrameKeys(), only(scancode::W));
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 0);
    EXPECT_EQ(nextFrameKeys(), KeySet());
}

TEST_F(VirtualPad, UnpluggedWhileThrusting_ReleasesTheThrust)
{
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, -32768), 0) << SDL_GetError();
    EXPECT_EQ(nextFrameKeys(), only(scancode::UP));
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0) << SDL_GetError();
    device = -1;
    EXPECT_EQ(nextFrameKeys(), KeySet());
    EXPECT_EQ(PADS_READ().held, 0u);
}
