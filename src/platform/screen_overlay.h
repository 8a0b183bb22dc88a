// What the screen shows when a picture lies over it: the framebuffer's rows with the
// overlay's visible pixels put in their place, in a copy, so the framebuffer itself
// stays as the program drew it.
#pragma once

#include <cstdint>
#include <vector>

struct Image;

struct ScreenOverlay {
    const Image* picture = nullptr;
    int x = 0, y = 0;
    std::vector<uint32_t> shown; // the whole screen as last shown, once an overlay was composed
};

// Copies rows first..last of frame (SCREEN_WIDTH x SCREEN_HEIGHT, packed) into
// overlay.shown and lays the overlay's (non-null) picture's pixels with non-zero alpha over them. Returns
// overlay.shown's pixel (0, 0).
const uint32_t* composeOverlay(ScreenOverlay& overlay, const uint32_t* frame, int first, int last);
