// DRAW_TEXT: one 8 by 8 cell per character, left to right; only set pixels are
// written, so text lays over whatever is already drawn.
#include "platform/font8x8.h"
#include "platform/platform.h"
#include "render/rounding.h"
#include "render/surface.h"

#include <cmath>

namespace {

void drawGlyph(const Surface& s, int64_t left, int64_t top, const uint8_t* rows, uint32_t colour)
{
    for (int row = 0; row < kGlyphSize; ++row) {
        const int64_t y = top + row;
        for (int column = 0; column < kGlyphSize; ++column) {
            const int64_t x = left + column;
            if ((rows[row] & (0x80 >> column)) && s.contains(x, y)) s.row(int(y))[x] = colour;
        }
    }
}

} // namespace

void DRAW_TEXT(Image* target, float x, float y, const std::string& text, uint32_t colour)
{
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const Surface surface = surfaceOf(target);
    if (!surface.base) return;
    if (!target) SCREEN_LOCK();
    int64_t left = pixelIndex(x);
    const int64_t top = pixelIndex(y);
    for (const char c : text) {
        if (left >= surface.width) break;
        if (const uint8_t* rows = glyphRows(c)) drawGlyph(surface, left, top, rows, colour);
        left += kGlyphSize;
    }
    if (!target) SCREEN_UNLOCK();
}
