// The heads-up line at the bottom of the screen.
#pragma once

#include <string>

// "SCORE s FUEL f BATTERY b" with fuel and battery rounded down to whole numbers.
std::string hudLine(int score, float fuel, float battery);
// Draws the line in the last text row of the screen.
void drawHud(const std::string& line);
