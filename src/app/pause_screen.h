// What a paused game shows: its last frame, dimmed, with one line of text centred.
#pragma once

#include "app/settings.h"

#include <cstdint>
#include <string>
#include <vector>

// "PAUSED - P to resume", naming the first key (or controller input) bound to pause.
std::string pauseMessage(const Settings& settings);
// Dims the picture on screen to half its brightness, writes the message over it in
// the built-in font and shows the result.
void showPauseScreen(const std::string& message);
// Dims the picture on screen to half its brightness (shown at the outermost unlock).
void dimScreen();
// The picture on screen, and putting it back, so that one screen shown over the game
// (the pause message, the key help) can give way to another.
std::vector<uint32_t> keepScreenPicture();
void restoreScreenPicture(const std::vector<uint32_t>& picture);
