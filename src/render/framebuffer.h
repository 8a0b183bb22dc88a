// The screen's pixels: the one 640 by 480 32-bit framebuffer that a null target stands
// for in every pixel routine. The renderer owns this memory, so that drawing needs
// nothing above it; the platform opens it with its window, shows it and closes it.
#pragma once

#include <cstdint>

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_PITCH = SCREEN_WIDTH * 4; // bytes from one row to the next

// Allocates the framebuffer (again) with every pixel set to fill.
void openFramebuffer(uint32_t fill);
void closeFramebuffer();
// Pixel (0, 0), or null while the framebuffer is closed.
uint32_t* framebufferPixels();

// For frames nobody will look at (a replay judged by its end): the screen clear, the
// depth buffer's clear and every pixel routine drawing on the screen leave their
// pixels alone, while whatever the drawing code works out besides still happens.
// Images are drawn on as ever (triangles on one would meet an uncleared depth buffer:
// the programs draw theirs on the screen only). Off until asked for.
void skipScreenPixels(bool skip);
bool screenPixelsSkipped();
