// The heads-up line: plain text in the 8 by 8 font, top left at (0, 471), so that
// the glyphs end on row 478 and the last row of the screen stays free.
#include "game/hud.h"

#include "platform/platform.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr float kHudX = 0.0f;
constexpr float kHudY = 471.0f;
constexpr uint32_t kHudColour = 0xFFFFFF00;

// Rounds towards minus infinity; values the game never holds (NaN) show as 0.
long long wholeNumber(float value)
{
    if (!std::isfinite(value)) return 0;
    return static_cast<long long>(std::floor(double(value)));
}

} // namespace

std::string hudLine(int score, float fuel, float battery)
{
    return "SCORE " + std::to_string(score) + " FUEL " + std::to_string(wholeNumber(fuel)) + " BATTERY " +
           std::to_string(wholeNumber(battery));
}

void drawHud(const std::string& line) { DRAW_TEXT(nullptr, kHudX, kHudY, line, kHudColour); }
