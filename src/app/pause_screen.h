// What a paused game shows: its last frame, dimmed, with one line of text centred.
#pragma once

#include "app/settings.h"

#include <string>

// "PAUSED - P to resume", naming the first key (or controller input) bound to pause.
std::string pauseMessage(const Settings& settings);
// Dims the picture on screen to half its brightness, writes the message over it in
// the built-in font and shows the result.
void showPauseScreen(const std::string& message);
