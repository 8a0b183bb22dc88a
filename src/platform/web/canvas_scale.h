// From the canvas as the page shows it to the framebuffer: the page scales the 640 x
// 480 canvas to the window with its 4:3 shape kept (page.html), so a point's share of
// the shown width and height is its share of the framebuffer's.
#pragma once

#include "render/framebuffer.h" // SCREEN_WIDTH, SCREEN_HEIGHT

#include <cmath>

namespace web {

// The framebuffer pixel under a point (x, y) CSS pixels from the shown canvas's top
// left, when the canvas is shown width x height CSS pixels. False off the picture, or
// when the canvas is not shown at all.
inline bool framebufferPixel(double x, double y, double width, double height, int& column, int& row)
{
    if (!(width > 0.0) || !(height > 0.0)) return false;
    column = int(std::floor(x * SCREEN_WIDTH / width));
    row = int(std::floor(y * SCREEN_HEIGHT / height));
    return column >= 0 && row >= 0 && column < SCREEN_WIDTH && row < SCREEN_HEIGHT;
}

} // namespace web
