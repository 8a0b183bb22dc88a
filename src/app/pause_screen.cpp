// The pause screen is drawn over the frame already in the framebuffer; the next frame
// played draws a whole new picture. Only to change from one paused screen to another
// is the frame kept (keepScreenPicture) and put back.
#include "app/pause_screen.h"

#include "platform/font8x8.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace {

constexpr uint32_t kMessageColour = 0xFFFFFFFF;
constexpr std::string_view kOptionsLine = "> Options";
constexpr int kOptionsLineTop = (SCREEN_HEIGHT - kGlyphSize) / 2 + 3 * kGlyphSize;
constexpr int kOptionsLineLeft = (SCREEN_WIDTH - int(kOptionsLine.size()) * kGlyphSize) / 2;
constexpr int kClickSlack = 4; // pixels around the line that count as on it
constexpr uint32_t kHalfBrightness = 0x007F7F7F; // each channel halved, once shifted right
constexpr uint32_t kOpaque = 0xFF000000;

uint32_t* screenRow(uint8_t* pixels, int y)
{
    int width = 0, height = 0, depth = 0, bytesPerPixel = 0, pitch = 0, rate = 0;
    SCREEN_INFO(width, height, depth, bytesPerPixel, pitch, rate);
    return reinterpret_cast<uint32_t*>(pixels + size_t(y) * size_t(pitch));
}

// The first key of the action, else its first controller input in words; empty for none.
std::string firstInputOf(const Settings& settings, Action action)
{
    const auto& keys = settings.keys[bit(action)];
    const auto& inputs = settings.pad[bit(action)];
    if (!keys.empty()) return KEY_NAME(keys.front());
    if (!inputs.empty()) return padInputLabel(inputs.front());
    return "";
}

} // namespace

std::string pauseMessage(const Settings& settings)
{
    std::string message = "PAUSED";
    const std::string resume = firstInputOf(settings, Action::pause);
    const std::string options = firstInputOf(settings, Action::options);
    if (!resume.empty()) message += " - " + resume + " resume";
    if (!options.empty()) message += " - " + options + " options";
    return message + " - Escape quit";
}

void showMousePointer(bool shown)
{
    constexpr int kLeavePlace = -1, kLeaveClip = -1;
    MOUSE_SET(kLeavePlace, kLeavePlace, shown ? 1 : 0, kLeaveClip);
}

bool leftClickAt(int& x, int& y)
{
    int wheel = 0, buttons = 0, clip = 0;
    MOUSE_GET(x, y, wheel, buttons, clip);
    return buttons > 0 && (buttons & MOUSE_LEFT); // -1: the pointer is off the picture
}

bool onOptionsLine(int x, int y)
{
    const int right = kOptionsLineLeft + int(kOptionsLine.size()) * kGlyphSize;
    return x >= kOptionsLineLeft - kClickSlack && x < right + kClickSlack && y >= kOptionsLineTop - kClickSlack &&
           y < kOptionsLineTop + kGlyphSize + kClickSlack;
}

void dimScreen()
{
    SCREEN_LOCK();
    if (uint8_t* pixels = SCREEN_POINTER()) {
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            uint32_t* row = screenRow(pixels, y);
            for (int x = 0; x < SCREEN_WIDTH; ++x) row[x] = ((row[x] >> 1) & kHalfBrightness) | kOpaque;
        }
    }
    SCREEN_UNLOCK(-1, -1);
}

void showPauseScreen(const std::string& message)
{
    SCREEN_LOCK();
    dimScreen();
    const int textWidth = static_cast<int>(message.size()) * kGlyphSize;
    DRAW_TEXT(nullptr, float((SCREEN_WIDTH - textWidth) / 2), float((SCREEN_HEIGHT - kGlyphSize) / 2), message,
              kMessageColour);
    DRAW_TEXT(nullptr, float(kOptionsLineLeft), float(kOptionsLineTop), std::string(kOptionsLine), kSelectedLineColour);
    SCREEN_UNLOCK(-1, -1);
}

std::vector<uint32_t> keepScreenPicture()
{
    std::vector<uint32_t> picture;
    SCREEN_LOCK();
    if (uint8_t* pixels = SCREEN_POINTER()) {
        picture.reserve(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
        for (int y = 0; y < SCREEN_HEIGHT; ++y) {
            const uint32_t* row = screenRow(pixels, y);
            picture.insert(picture.end(), row, row + SCREEN_WIDTH);
        }
    }
    SCREEN_UNLOCK(SCREEN_HEIGHT, SCREEN_HEIGHT); // nothing changed: nothing to show again
    return picture;
}

void restoreScreenPicture(const std::vector<uint32_t>& picture)
{
    SCREEN_LOCK();
    uint8_t* pixels = SCREEN_POINTER();
    for (int y = 0; pixels && size_t(y + 1) * SCREEN_WIDTH <= picture.size(); ++y) {
        std::copy_n(picture.begin() + std::ptrdiff_t(y) * SCREEN_WIDTH, SCREEN_WIDTH, screenRow(pixels, y));
    }
    SCREEN_UNLOCK(-1, -1);
}
