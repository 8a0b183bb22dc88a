// What a paused game shows: its last frame, dimmed, with one line of text centred.
#pragma once

#include "app/settings.h"

#include <cstdint>
#include <string>
#include <vector>

// The chosen line of a menu over the paused game, the pause screen's own Options line
// included.
constexpr uint32_t kSelectedLineColour = 0xFFFFE040;

// "PAUSED - P resume - O options - Escape quit", naming the first key (or controller
// input) bound to pause and to the options.
std::string pauseMessage(const Settings& settings);
// Dims the picture on screen to half its brightness, writes the message over it in
// the built-in font with the Options line under it (for a controller and the mouse),
// and shows the result.
void showPauseScreen(const std::string& message);
// The pointer shows over the paused screens, for their lines to be clicked, and is
// hidden while the game plays.
void showMousePointer(bool shown);
// Where the left button went down since the last reading of the mouse, in framebuffer
// pixels; false when it did not, or not over the picture.
bool leftClickAt(int& x, int& y);
// Whether framebuffer pixel (x, y) is on the pause screen's Options line.
bool onOptionsLine(int x, int y);
// Dims the picture on screen to half its brightness (shown at the outermost unlock).
void dimScreen();
// The picture on screen, and putting it back, so that one screen shown over the game
// (the pause message, the key help) can give way to another.
std::vector<uint32_t> keepScreenPicture();
void restoreScreenPicture(const std::vector<uint32_t>& picture);
