// Loading and checking the game's pictures. The triangle filler wraps texture
// coordinates with masks and finds rows by shifts, so its textures are checked for
// power-of-two sizes here, once, rather than trusted.
#include "game/game_images.h"

#include "render/image.h"
#include "png/png.h"
#include "space/world_size.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace {

constexpr int kLoadAs32BitImage = 2;

// The textured filler wraps texel coordinates with masks and finds rows by a shift.
bool wrapsAsTexture(const Image& image)
{
    return std::has_single_bit(image.width) && std::has_single_bit(image.height) && std::has_single_bit(image.pitch);
}

Image* loadPicture(const std::string& file, bool asTexture, std::string& error)
{
    Image* image = PNG_LOAD(file, kLoadAs32BitImage);
    if (!image) {
        error = file + ": missing, or not a PNG image this game can read";
    } else if (asTexture && !wrapsAsTexture(*image)) {
        error = file + ": a texture's width and height must be powers of two, not " +
                std::to_string(image->width) + " x " + std::to_string(image->height);
        PNG_FREE(image);
        image = nullptr;
    }
    return image;
}

} // namespace

bool loadGameImages(GameImages& images, const std::string& dataFolder, std::string& error)
{
    struct Wanted {
        Image*& slot;
        const char* file;
        bool asTexture;
    };
    const Wanted textures[] = {
        {images.rock, "rock.png", true},
        {images.ship, "ship3.png", true},
        {images.shot, "grad.png", true},
        {images.flame, "fire2.png", false},
    };
    const std::string folder = dataFolder + "/visual/";
    for (const Wanted& w : textures) {
        w.slot = loadPicture(folder + w.file, w.asTexture, error);
        if (!w.slot) {
            freeGameImages(images);
            return false;
        }
    }
    const std::string backgroundFile = folder + "space.png";
    uint32_t width = 0;
    uint32_t height = 0;
    PNG_SIZE(backgroundFile, width, height);
    // A header may claim any size; the world size is an int.
    WORLD_W = static_cast<int>(std::min<uint32_t>(width, INT32_MAX));
    WORLD_H = static_cast<int>(std::min<uint32_t>(height, INT32_MAX));
    // Without it the world would be 0 x 0, every asteroid piled on the ship: the
    // background is as necessary as the textures.
    images.background = loadPicture(backgroundFile, false, error);
    if (!images.background) {
        freeGameImages(images);
        return false;
    }
    return true;
}

void freeGameImages(GameImages& images)
{
    for (Image** image : {&images.rock, &images.ship, &images.shot, &images.flame, &images.background}) {
        PNG_FREE(*image);
        *image = nullptr;
    }
}
