// The texture under the grid in TEXTURE mode, so texture points are picked by
// sight: texture grid point (c, r), texel (8c, 8r), lies at the centre of cell
// (c, r), each cell covering its 8 x 8 texels, darkened so that the cells, the
// outline and the markers stay readable over it.
#pragma once

struct Image;

// Draws onto the locked screen, within the grid's cells; nothing for a null texture.
void drawTextureUnderGrid(const Image* texture);
