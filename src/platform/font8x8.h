// The built-in 8 by 8 cell font: our own 5 by 7 glyphs (with a descender row) for
// printable ASCII, one byte per row, bit 7 the leftmost pixel of the cell.
#pragma once

#include <cstdint>

constexpr int kGlyphSize = 8;

// The eight rows of the glyph, or null for a character outside printable ASCII.
const uint8_t* glyphRows(char c);
