// The event pump of the SDL backend. It runs on the program's thread inside the
// outermost unlock, the sleep, PUMP_EVENTS and WAIT_EVENTS, and keeps the few facts
// that SDL's own keyboard and mouse state does not: close requests, taps, button
// presses, the wheel and a lost focus. Controller events go on to the controller part.
#include "platform/backend.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_window.h"

#include <array>

namespace {

struct EventState {
    bool closeRequested = false;
    bool focusLost = false;
    std::array<bool, SDL_NUM_SCANCODES> tapped{};
    int wheel = 0;
    // A menu reads its keys, redraws and waits, and the redraw's present begins a
    // frame of its own: a key tapped during the present is in that frame, unread when
    // the wait comes, so the wait keeps it and returns at once instead of beginning
    // another frame, which would forget it.
    bool frameUnread = false;
};

EventState events;

// A chord typed quicker than a frame (Ctrl+Z from a script or a fast hand) may have
// its modifier up again, and its tap forgotten at a frame boundary, before the key's
// own tap is read: the modifiers held at the key's press are latched with it.
void latchModifiers(Uint16 held)
{
    constexpr struct {
        SDL_Keymod mod;
        SDL_Scancode key;
    } kModifiers[] = {{KMOD_LCTRL, SDL_SCANCODE_LCTRL},   {KMOD_RCTRL, SDL_SCANCODE_RCTRL},
                      {KMOD_LSHIFT, SDL_SCANCODE_LSHIFT}, {KMOD_RSHIFT, SDL_SCANCODE_RSHIFT},
                      {KMOD_LALT, SDL_SCANCODE_LALT},     {KMOD_RALT, SDL_SCANCODE_RALT}};
    for (const auto& modifier : kModifiers) {
        if (held & modifier.mod) events.tapped[modifier.key] = true;
    }
}

void handleKeyDown(const SDL_KeyboardEvent& key)
{
    if (key.repeat) return;
    events.tapped[key.keysym.scancode] = true;
    latchModifiers(key.keysym.mod);
    const bool altEnter = key.keysym.scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT);
    if (altEnter || key.keysym.scancode == SDL_SCANCODE_F11) sdl::toggleFullscreen();
}

void handleWindowEvent(const SDL_WindowEvent& window)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: events.closeRequested = true; break;
    // Not HIDDEN: on X11 a new window reports hidden and shown again while it is mapped.
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED: events.focusLost = true; break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: sdl::reshowFrame(); break;
    default: break;
    }
}

void handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT: events.closeRequested = true; break;
    case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
    case SDL_KEYDOWN: handleKeyDown(event.key); break;
    case SDL_TEXTINPUT: backend::textTyped(event.text.text); break;
    case SDL_MOUSEBUTTONDOWN: sdl::latchButtonPress(event.button); break;
    case SDL_MOUSEWHEEL:
        events.wheel += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        break;
    default: sdl::handlePadEvent(event); break;
    }
}

void startFrame()
{
    events.tapped.fill(false);
    events.focusLost = false;
    sdl::startPadFrame();
}

} // namespace

namespace sdl {

bool closeRequested() { return events.closeRequested; }
void cancelClose() { events.closeRequested = false; }
bool tapped(SDL_Scancode key)
{
    events.frameUnread = false;
    return events.tapped[key];
}
int wheelPosition() { return events.wheel; }

} // namespace sdl

namespace backend {

void startTextInput() { SDL_StartTextInput(); }
void stopTextInput() { SDL_StopTextInput(); }

void pumpEvents(bool frameBoundary)
{
    if (!sdl::window()) return;
    if (frameBoundary) {
        startFrame();
        events.frameUnread = true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) handle(event);
}

} // namespace backend

bool FOCUS_LOST() { return events.focusLost; }

void WAIT_EVENTS(int milliseconds)
{
    if (!sdl::window()) return;
    SDL_Event event;
    if (events.frameUnread) {
        events.frameUnread = false;
    } else {
        startFrame();
        if (SDL_WaitEventTimeout(&event, milliseconds)) handle(event);
    }
    while (SDL_PollEvent(&event)) handle(event);
}
