// The pause screen is drawn over the frame already in the framebuffer; the next frame
// played draws a whole new picture, so nothing needs to be kept.
#include "app/pause_screen.h"

#include "platform/platform.h"

namespace {

constexpr int kGlyphSize = 8;
constexpr uint32_t kMessageColour = 0xFFFFFFFF;
constexpr uint32_t kHalfBrightness = 0x007F7F7F; // each channel halved, once shifted right
constexpr uint32_t kOpaque = 0xFF000000;

} // namespace

std::string pauseMessage(const Settings& settings)
{
    const auto& keys = settings.keys[bit(Action::pause)];
    const auto& inputs = settings.pad[bit(Action::pause)];
    if (!keys.empty()) return "PAUSED - " + KEY_NAME(keys.front()) + " to resume";
    if (!inputs.empty()) return "PAUSED - " + padInputName(inputs.front()) + " to resume";
    return "PAUSED";
}

void showPauseScreen(const std::string& message)
{
    SCREEN_LOCK();
    int width = 0, height = 0, depth = 0, bytesPerPixel = 0, pitch = 0, rate = 0;
    SCREEN_INFO(width, height, depth, bytesPerPixel, pitch, rate);
    if (uint8_t* pixels = SCREEN_POINTER()) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(pixels + size_t(y) * size_t(pitch));
            for (int x = 0; x < width; ++x) row[x] = ((row[x] >> 1) & kHalfBrightness) | kOpaque;
        }
    }
    const int textWidth = static_cast<int>(message.size()) * kGlyphSize;
    DRAW_TEXT(nullptr, float((width - textWidth) / 2), float((height - kGlyphSize) / 2), message, kMessageColour);
    SCREEN_UNLOCK(-1, -1);
}
