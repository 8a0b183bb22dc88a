// Screenshots: the framebuffer's 0xAARRGGBB words become RGB samples (the window
// shows no alpha), compressed at zlib's usual level, which takes a fraction of the
// best level's time on a full screen for a file only slightly larger.
#include "app/screenshot.h"

#include "app/pictures_folder.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "png/png_writer.h"
#include "png/raster.h"

#include <sys/stat.h>


namespace {

constexpr int kScreenshotCompression = 6;

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Read without a lock: the framebuffer is our own memory, and the outermost unlock
// would be a frame boundary that forgets the presses (and a focus loss) gathered
// since the frame's own event pump, before the next turn has read them.
Raster screenPicture()
{
    Raster picture(SCREEN_WIDTH, SCREEN_HEIGHT, 3);
    const uint8_t* pixels = SCREEN_POINTER();
    int width = 0, height = 0, depth = 0, bytesPerPixel = 0, pitch = 0, rate = 0;
    SCREEN_INFO(width, height, depth, bytesPerPixel, pitch, rate);
    for (uint32_t y = 0; pixels && picture.valid() && y < picture.height; ++y) {
        const uint8_t* row = pixels + size_t(y) * size_t(pitch);
        for (uint32_t x = 0; x < picture.width; ++x) {
            uint8_t* sample = picture.pixel(x, y);
            sample[0] = row[x * 4 + 2]; // pixels are stored B, G, R, A
            sample[1] = row[x * 4 + 1];
            sample[2] = row[x * 4 + 0];
        }
    }
    return picture;
}

} // namespace

std::string screenshotFolder(const Environment& environment, std::vector<std::string>& warnings)
{
    const std::string pictures = picturesFolder(environment, warnings);
    return pictures.empty() ? pictures : pictures + "/" + kUserFolderName;
}

std::string freeScreenshotPath(const std::string& folder, const std::tm& localTime)
{
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &localTime);
    const std::string stem = folder + "/" + kUserFolderName + "-" + stamp;
    std::string path = stem + ".png";
    for (int counter = 2; exists(path); ++counter) path = stem + "-" + std::to_string(counter) + ".png";
    return path;
}

bool saveScreenshot(const std::string& folder, const std::tm& localTime, std::string& path, std::string& error)
{
    if (folder.empty()) {
        error = "no folder for screenshots: neither XDG_PICTURES_DIR nor HOME is set";
        return false;
    }
    if (!makeFolders(folder, error)) return false;
    // Memory that runs out is said, not thrown: the browser build catches nothing.
    const EncodedPng png = encodePngBytes(screenPicture(), kScreenshotCompression);
    if (!png.data) {
        error = png.problem;
        return false;
    }
    path = freeScreenshotPath(folder, localTime);
    return replaceFile(path, {reinterpret_cast<const char*>(png.data.get()), png.size}, error);
}
