// What the SDL backend's event pump hands to its game controller part.
#pragma once

#include <SDL.h>

namespace sdl {

// Controllers arriving and leaving, and button presses; other events are ignored.
void handlePadEvent(const SDL_Event& event);
// A frame boundary: presses from before it are forgotten.
void startPadFrame();
// Lets every controller go (when the window closes).
void closePads();

} // namespace sdl
