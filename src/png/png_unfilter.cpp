// Row unfiltering, the plain byte-by-byte form: the reference for the SSE2 path and
// the path for every row that has none. Arithmetic is modulo 256 throughout.
#include "png/png_parts.h"
#include "png/unfilter_fast.h"

#include <cstdlib>
#include <cstring>

namespace png {

namespace {

uint8_t paethPredictor(int left, int above, int upperLeft)
{
    const int p = left + above - upperLeft;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - above);
    const int pc = std::abs(p - upperLeft);
    if (pa <= pb && pa <= pc) return uint8_t(left);
    return uint8_t(pb <= pc ? above : upperLeft);
}

void undoSub(uint8_t* row, size_t length, size_t bpp)
{
    for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + row[i - bpp]);
}

void undoUp(uint8_t* row, const uint8_t* prior, size_t length)
{
    for (size_t i = 0; i < length; ++i) row[i] = uint8_t(row[i] + prior[i]);
}

void undoAverage(uint8_t* row, const uint8_t* prior, size_t length, size_t bpp)
{
    const size_t head = bpp < length ? bpp : length;
    for (size_t i = 0; i < head; ++i) row[i] = uint8_t(row[i] + (prior[i] >> 1));
    for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + ((row[i - bpp] + prior[i]) >> 1));
}

void undoAverageFirstRow(uint8_t* row, size_t length, size_t bpp)
{
    for (size_t i = bpp; i < length; ++i) row[i] = uint8_t(row[i] + (row[i - bpp] >> 1));
}

void undoPaeth(uint8_t* row, const uint8_t* prior, size_t length, size_t bpp)
{
    // With no pixel on the left, left and upper-left are zero and the predictor is above.
    const size_t head = bpp < length ? bpp : length;
    for (size_t i = 0; i < head; ++i) row[i] = uint8_t(row[i] + prior[i]);
    for (size_t i = bpp; i < length; ++i)
        row[i] = uint8_t(row[i] + paethPredictor(row[i - bpp], prior[i], prior[i - bpp]));
}

} // namespace

bool unfilterRowScalar(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t bytesPerPixel)
{
    if (filter > 4) return false;
    // On the first row of a pass the row above is all zeros: Up becomes None, and Paeth
    // always picks the left byte, which is Sub.
    if (!prior) {
        if (filter == 1 || filter == 4) undoSub(row, length, bytesPerPixel);
        if (filter == 3) undoAverageFirstRow(row, length, bytesPerPixel);
        return true;
    }
    switch (filter) {
    case 1: undoSub(row, length, bytesPerPixel); break;
    case 2: undoUp(row, prior, length); break;
    case 3: undoAverage(row, prior, length, bytesPerPixel); break;
    case 4: undoPaeth(row, prior, length, bytesPerPixel); break;
    default: break;
    }
    return true;
}

bool unfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t length, size_t bytesPerPixel)
{
    if (filter > 4) return false;
    return unfilter_fast::unfilterWholePixels(filter, row, prior, length, bytesPerPixel) ||
           unfilterRowScalar(filter, row, prior, length, bytesPerPixel);
}

} // namespace png
