// The result screen as the player meets it: its lines on the panel over the stopped
// world, and the keys (by position) and controller buttons that work it.
#pragma once

#include "app/result_screen.h"

#include <string>
#include <vector>

struct ResultLines {
    std::vector<std::string> lines;
    int marked = -1; // the selected entry's line, or the name being typed
    bool operator==(const ResultLines&) const = default;
};
ResultLines resultLines(const ResultScreen& screen);

// Draws the screen over the picture kept when time was up (keepScreenPicture).
void drawResultScreen(const ResultScreen& screen, const std::vector<uint32_t>& stoppedWorld);

// Starts or stops the platform's text input as the name is asked or not.
void followNaming(const ResultScreen& screen, bool& textInputOn);
// This frame's input: typed text, keys by position, and controllers.
ResultInput readResultInput();
