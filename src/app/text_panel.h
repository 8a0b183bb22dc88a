// Lines of text on a dark bordered panel in the middle of the dimmed screen: the key
// help and the challenge's result screen. One line may be marked as chosen: drawn in
// another colour, with an arrow before it and a box around it.
#pragma once

#include <string>
#include <vector>

constexpr int kNoMarkedLine = -1;

// A dark bordered panel a few pixels beyond the text area given (right and bottom
// excluded), which keeps text readable over any picture.
void drawPanelAround(int left, int top, int right, int bottom);
// Dims the picture on screen and draws the panel over it; shown at the outermost unlock.
void drawTextPanel(const std::vector<std::string>& lines, int markedLine = kNoMarkedLine);
