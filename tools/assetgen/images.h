// The painted pictures under data/visual/ and the desktop icon, one function per
// picture, each returning the finished raster for the PNG writer.
#pragma once

#include "png/raster.h"

namespace assetgen {

// space.png: 2048 x 1536, the background whose size is the world's; wraps seamlessly.
Raster paintSpace();
// rock.png: 128 x 128 tileable asteroid surface.
Raster paintRock();
// ship3.png (game) without, ship2.png (editor) with the editor's 8-texel guide grid.
Raster paintShipHull(bool withEditorGrid);
// grad.png: 16 x 16 shot glow, bright in column 8, dark at columns 0 and 15.
Raster paintShotGlow();
// fire2.png: 32 x 32 RGBA flame puff on fully zero (transparent-key) pixels.
Raster paintFlamePuff();
// The size x size RGBA desktop icon (256 at most): the hull over a disc of space,
// clear outside it.
Raster paintIcon(uint32_t size);

} // namespace assetgen
