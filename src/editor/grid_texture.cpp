// Nearest-texel scaling by 14 / 8 in whole numbers: screen pixel x shows texel
// floor((x - centre of cell 0) * 8 / 14), so every cell shows the 8 texels from 4
// before its grid point to 3 after it, and the grid's half cells at the edges,
// which lie outside the texture, stay black.
#include "editor/grid_texture.h"

#include "editor/editor_grid.h"
#include "render/image.h"
#include "render/surface.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kTexelsPerCell = 8;
constexpr int kFirstPointPixel = kGridLeft + kCellSize / 2; // column 0's centre: texel 0
constexpr int kFirstPointRow = kGridTop + kCellSize / 2;

// Rounds towards minus infinity, unlike /, so pixels left of texel 0 map below 0.
int floorDivide(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

int texelAt(int pixel, int firstPointPixel)
{
    return floorDivide((pixel - firstPointPixel) * kTexelsPerCell, kCellSize);
}

// A quarter of each channel: dark enough under the grey cells.
uint32_t darkened(uint32_t texel) { return 0xFF000000u | ((texel >> 2) & 0x003F3F3Fu); }

} // namespace

void drawTextureUnderGrid(const Image* texture)
{
    const Surface screen = surfaceOf(nullptr);
    if (!texture || !screen.base) return;
    const int width = static_cast<int>(texture->width);
    const int height = static_cast<int>(texture->height);
    // Every row maps its columns to the same texels.
    std::array<int, kGridRight - kGridLeft + 1> columnTexel;
    for (int x = kGridLeft; x <= kGridRight; ++x) columnTexel[x - kGridLeft] = texelAt(x, kFirstPointPixel);
    const int lastX = std::min(kGridRight, screen.width - 1);
    for (int y = kGridTop; y <= std::min(kGridBottom, screen.height - 1); ++y) {
        const int v = texelAt(y, kFirstPointRow);
        if (v < 0 || v >= height) continue;
        const uint32_t* texels = imageRow(texture, static_cast<uint32_t>(v));
        uint32_t* pixels = screen.row(y);
        for (int x = kGridLeft; x <= lastX; ++x) {
            const int u = columnTexel[x - kGridLeft];
            if (u >= 0 && u < width) pixels[x] = darkened(texels[u]);
        }
    }
}
