// Binds each data file's path to its painter or synthesiser and its encoder. The
// order is the order in which the generator writes and reports the files.
#include "assets.h"

#include "images.h"
#include "mdata_writer.h"
#include "png/png_writer.h"
#include "sounds.h"
#include "wav_writer.h"

#include <array>

namespace assetgen {

namespace {

template <Raster (*paint)()>
std::vector<uint8_t> png()
{
    return encodePng(paint());
}

template <std::vector<int16_t> (*synth)()>
std::vector<uint8_t> wav()
{
    return encodeWav(synth());
}

template <uint32_t size>
Raster paintIconOf() { return paintIcon(size); }

Raster paintGameHull() { return paintShipHull(false); }
Raster paintEditorHull() { return paintShipHull(true); }

constexpr std::array kCatalogue = {
    AssetRecipe{"data/visual/space.png", png<paintSpace>},
    AssetRecipe{"data/visual/rock.png", png<paintRock>},
    AssetRecipe{"data/visual/ship3.png", png<paintGameHull>},
    AssetRecipe{"data/visual/ship2.png", png<paintEditorHull>},
    AssetRecipe{"data/visual/grad.png", png<paintShotGlow>},
    AssetRecipe{"data/visual/fire2.png", png<paintFlamePuff>},
    AssetRecipe{"data/audio/effects/thrust.wav", wav<synthThrust>},
    AssetRecipe{"data/audio/effects/shield.wav", wav<synthShield>},
    AssetRecipe{"data/audio/effects/asstroblast.wav", wav<synthExplosion>},
    AssetRecipe{"data/audio/effects/zap.wav", wav<synthZap>},
    AssetRecipe{"data/audio/effects/ping.wav", wav<synthPing>},
    AssetRecipe{"data/audio/effects/ping_return.wav", wav<synthPingReturn>},
    AssetRecipe{kEditorOwnedPath, encodeShipModel},
    // The desktop's icon theme picks among these sizes; the window shows the 64 one.
    AssetRecipe{"packaging/icons/16x16/space-game.png", png<paintIconOf<16>>},
    AssetRecipe{"packaging/icons/32x32/space-game.png", png<paintIconOf<32>>},
    AssetRecipe{"packaging/icons/48x48/space-game.png", png<paintIconOf<48>>},
    AssetRecipe{"packaging/icons/64x64/space-game.png", png<paintIconOf<64>>},
    AssetRecipe{"packaging/icons/128x128/space-game.png", png<paintIconOf<128>>},
    AssetRecipe{"packaging/icons/256x256/space-game.png", png<paintIconOf<256>>},
};

} // namespace

std::span<const AssetRecipe> assetCatalogue() { return kCatalogue; }

} // namespace assetgen
