// Game controllers for the SDL backend, through SDL's game controller layer and its
// built-in mapping database, so that any known controller reports the same buttons.
// Controllers are opened as SDL announces them (those present at the start are
// announced too) and let go when unplugged; nothing of a gone controller is read.
#include "platform/platform.h"
#include "platform/sdl/sdl_pads.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

static_assert(int(pad::BUTTON_COUNT) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1 &&
              int(pad::AXIS_COUNT) == int(SDL_CONTROLLER_AXIS_MAX),
              "pad:: numbers SDL's controller buttons and axes");

struct Pads {
    bool started = false;
    std::vector<SDL_GameController*> open;
    uint32_t pressed = 0;
};

Pads pads;

SDL_JoystickID instanceOf(SDL_GameController* controller)
{
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

void add(int deviceIndex)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const SDL_JoystickID id = instanceOf(controller);
    const bool known = std::any_of(pads.open.begin(), pads.open.end(),
                                   [id](SDL_GameController* c) { return instanceOf(c) == id; });
    if (known) SDL_GameControllerClose(controller); // opening again only added a reference
    else pads.open.push_back(controller);
}

void remove(SDL_JoystickID id)
{
    const auto gone = std::find_if(pads.open.begin(), pads.open.end(),
                                   [id](SDL_GameController* c) { return instanceOf(c) == id; });
    if (gone == pads.open.end()) return;
    SDL_GameControllerClose(*gone);
    pads.open.erase(gone);
}

void reportUnmapped(int deviceIndex)
{
    if (SDL_IsGameController(deviceIndex)) return;
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    std::fprintf(stderr, "ignoring the controller \"%s\": SDL has no button mapping for it\n", name ? name : "?");
}

// The reading furthest from rest wins, so a resting controller never masks a moved one.
int furthestFromRest(int a, int b) { return std::abs(b) > std::abs(a) ? b : a; }

} // namespace

namespace sdl {

void handlePadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_JOYDEVICEADDED: reportUnmapped(event.jdevice.which); break;
    case SDL_CONTROLLERDEVICEADDED: add(event.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED: remove(event.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (event.cbutton.button < pad::BUTTON_COUNT) pads.pressed |= 1u << event.cbutton.button;
        break;
    default: break;
    }
}

void startPadFrame() { pads.pressed = 0; }

void closePads()
{
    if (!pads.started) return;
    for (SDL_GameController* controller : pads.open) SDL_GameControllerClose(controller);
    pads = Pads{};
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

} // namespace sdl

void PADS_OPEN()
{
    if (pads.started) return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "playing without game controllers: %s\n", SDL_GetError());
        return;
    }
    pads.started = true;
}

PadState PADS_READ()
{
    PadState state;
    state.pressed = pads.pressed;
    for (SDL_GameController* controller : pads.open) {
        for (int button = 0; button < pad::BUTTON_COUNT; ++button) {
            if (SDL_GameControllerGetButton(controller, SDL_GameControllerButton(button))) state.held |= 1u << button;
        }
        for (int axis = 0; axis < pad::AXIS_COUNT; ++axis) {
            state.axes[axis] =
                furthestFromRest(state.axes[axis], SDL_GameControllerGetAxis(controller, SDL_GameControllerAxis(axis)));
        }
    }
    return state;
}
