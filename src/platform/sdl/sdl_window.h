// What the SDL backend's window part shares with its input part.
#pragma once

#include <SDL.h>

namespace sdl {

SDL_Window* window();
SDL_Renderer* renderer();
// Shows the last presented frame again (after a resize or when uncovered).
void reshowFrame();
void toggleFullscreen();

} // namespace sdl
