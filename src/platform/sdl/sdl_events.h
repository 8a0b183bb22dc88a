// Input state gathered from SDL's events, read by the key and mouse services.
#pragma once

#include <SDL.h>

namespace sdl {

// The window's close button was pressed (or the system asked the program to quit),
// and the program has not answered "not yet" since (cancelClose).
bool closeRequested();
void cancelClose();
// The key went down since the last frame boundary, even if it is already up again:
// a tap shorter than a frame still counts as one press.
bool tapped(SDL_Scancode key);
// Sum of the wheel's steps, away from the user positive.
int wheelPosition();
// Remembers a button press until MOUSE_GET reports it (sdl_mouse.cpp).
void latchButtonPress(const SDL_MouseButtonEvent& press);

} // namespace sdl
