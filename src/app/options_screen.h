// Drawing the options and controls pages over the paused game's picture, and finding
// the line and arrow under the mouse pointer in the same layout.
#pragma once

#include "app/options_menu.h"

// Dims the picture on screen and draws the page on a panel; shown at the outermost
// unlock. The selected line is marked by "> " and drawn in another colour.
void drawOptions(const OptionsMenu& menu, const Settings& settings);
// The page's line under framebuffer pixel (x, y), or -1; arrow is -1 on its "<", +1
// on its ">", else 0.
int optionsLineAt(const OptionsMenu& menu, const Settings& settings, int x, int y, int& arrow);
