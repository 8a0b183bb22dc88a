// What the screen shows when pictures lie over it: the framebuffer's rows with the
// overlays' visible pixels put in their place, in a copy, so the framebuffer itself
// stays as the program drew it.
#pragma once

#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <vector>

struct Image;

struct OverlayPicture {
    const Image* picture = nullptr;
    int x = 0, y = 0;
};

struct ScreenOverlay {
    std::array<OverlayPicture, OVERLAY_LAYERS> layers; // from the bottom up
    std::vector<uint32_t> shown; // the whole screen as last shown, once an overlay was composed
};

bool anyOverlay(const ScreenOverlay& overlay);
// Copies rows first..last of frame (SCREEN_WIDTH x SCREEN_HEIGHT, packed) into
// overlay.shown and lays each layer's picture's pixels with non-zero alpha over them,
// the lowest first. Returns overlay.shown's pixel (0, 0).
const uint32_t* composeOverlay(ScreenOverlay& overlay, const uint32_t* frame, int first, int last);
