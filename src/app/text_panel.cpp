// The panel is as wide as the widest line and as high as the lines; the mark sits in
// the panel's margin, so marking a line moves no text.
#include "app/text_panel.h"

#include "app/pause_screen.h"
#include "platform/font8x8.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr int kLineHeight = 12;
constexpr uint32_t kTextColour = 0xFFFFFFFF;
constexpr uint32_t kMarkColour = 0xFFFFD040;
constexpr uint32_t kPanelColour = 0xFF101020;
constexpr uint32_t kBorderColour = 0xFF6070A0;
constexpr int kPanelMargin = 8; // pixels of panel around the text
constexpr int kArrowSize = 6;

void fillPanel(int left, int top, int right, int bottom)
{
    uint8_t* pixels = SCREEN_POINTER();
    if (!pixels) return;
    for (int y = std::max(top, 0); y <= std::min(bottom, SCREEN_HEIGHT - 1); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels + size_t(y) * SCREEN_PITCH);
        std::fill(row + left, row + right + 1, kPanelColour);
    }
}

// A box around the line and a filled arrow pointing at it from the margin.
void drawMark(int left, int top, int width)
{
    DRAW_LINE(nullptr, float(left - 2), float(top - 2), float(left + width + 1), float(top + kGlyphSize + 1),
              kMarkColour, LINE_KIND_BOX);
    const int tip = left - 4;
    const int middle = top + kGlyphSize / 2;
    for (int x = 0; x < kArrowSize; ++x) {
        DRAW_LINE(nullptr, float(tip - kArrowSize + x), float(middle - (kArrowSize - x) / 2),
                  float(tip - kArrowSize + x), float(middle + (kArrowSize - x) / 2), kMarkColour);
    }
}

} // namespace

void drawPanelAround(int left, int top, int right, int bottom)
{
    const int panelLeft = std::max(left - kPanelMargin, 0);
    const int panelRight = std::min(right + kPanelMargin, SCREEN_WIDTH) - 1;
    const int panelTop = top - kPanelMargin;
    const int panelBottom = bottom + kPanelMargin - 1;
    SCREEN_LOCK();
    fillPanel(panelLeft, panelTop, panelRight, panelBottom);
    DRAW_LINE(nullptr, float(panelLeft), float(panelTop), float(panelRight), float(panelBottom), kBorderColour,
              LINE_KIND_BOX);
    SCREEN_UNLOCK(-1, -1);
}

void drawTextPanel(const std::vector<std::string>& lines, int markedLine)
{
    SCREEN_LOCK();
    dimScreen();
    size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, line.size());
    const int left = (SCREEN_WIDTH - int(widest) * kGlyphSize) / 2;
    const int top = (SCREEN_HEIGHT - int(lines.size()) * kLineHeight) / 2;
    const int arrow = markedLine == kNoMarkedLine ? 0 : kArrowSize;
    drawPanelAround(left - arrow, top, SCREEN_WIDTH - left + arrow, top + int(lines.size()) * kLineHeight);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = top + int(i) * kLineHeight;
        const bool marked = int(i) == markedLine;
        if (marked) drawMark(left, y, int(lines[i].size()) * kGlyphSize);
        DRAW_TEXT(nullptr, float(left), float(y), lines[i], marked ? kMarkColour : kTextColour);
    }
    SCREEN_UNLOCK(-1, -1);
}
