// Fixed columns in the 8-pixel font: the options page is narrow and centred, the
// controls page takes the width of the screen like the key help. A cell too long for
// its column loses its middle to "...".
#include "app/options_screen.h"

#include "app/help_screen.h"
#include "app/text_panel.h"
#include "app/pause_screen.h"
#include "app/screen_notice.h"
#include "platform/font8x8.h"
#include "platform/platform.h"

namespace {

constexpr int kLineHeight = 12;
constexpr uint32_t kTextColour = 0xFFFFFFFF;
constexpr uint32_t kHintColour = 0xFFA0A8C0;
constexpr size_t kMarkerColumns = 2; // "> "

struct PageLayout {
    size_t width;        // columns of the page's text
    size_t labelColumns; // the first column, marker included
    size_t valueColumns; // the second; the controllers' column takes the rest
};

constexpr PageLayout kOptionsLayout = {56, 22, 34};
constexpr PageLayout kControlsLayout = {78, 14, 26};

const PageLayout& layoutOf(const OptionsMenu& menu) { return menu.controlsShown ? kControlsLayout : kOptionsLayout; }

int pageLeft(const PageLayout& layout) { return (SCREEN_WIDTH - int(layout.width) * kGlyphSize) / 2; }

// Title, a gap, the lines, a gap, the footer.
int pageRows(size_t lines) { return int(lines) + 4; }

int pageTop(size_t lines) { return (SCREEN_HEIGHT - pageRows(lines) * kLineHeight) / 2; }

int firstLineTop(size_t lines) { return pageTop(lines) + 2 * kLineHeight; }

std::string valueText(const MenuLine& line) { return line.arrows ? "< " + line.value + " >" : line.value; }

std::string lineText(const MenuLine& line, bool selected, const PageLayout& layout)
{
    std::string text = selected ? "> " : "  ";
    text += fitToColumns(line.label, layout.labelColumns - kMarkerColumns - 1);
    if (line.value.empty() && line.controllerValue.empty()) return text;
    text.resize(layout.labelColumns, ' ');
    text += fitToColumns(valueText(line), layout.valueColumns - 1);
    if (line.controllerValue.empty()) return text;
    text.resize(layout.labelColumns + layout.valueColumns, ' ');
    return text + fitToColumns(line.controllerValue, layout.width - layout.labelColumns - layout.valueColumns);
}

void drawLine(int left, int top, const std::string& text, uint32_t colour)
{
    DRAW_TEXT(nullptr, float(left), float(top), text, colour);
}

} // namespace

void drawOptions(const OptionsMenu& menu, const Settings& settings)
{
    const std::vector<MenuLine> lines = menuLines(menu, settings);
    const PageLayout& layout = layoutOf(menu);
    const int left = pageLeft(layout);
    const int top = pageTop(lines.size());
    SCREEN_LOCK();
    dimScreen();
    drawPanelAround(left, top, left + int(layout.width) * kGlyphSize, top + pageRows(lines.size()) * kLineHeight);
    drawLine(left, top, menuTitle(menu), kTextColour);
    int y = firstLineTop(lines.size());
    for (size_t i = 0; i < lines.size(); ++i, y += kLineHeight) {
        const bool selected = int(i) == menu.selected;
        drawLine(left, y, lineText(lines[i], selected, layout), selected ? kSelectedLineColour : kTextColour);
    }
    drawLine(left, y + kLineHeight, fitToColumns(menuFooter(menu), layout.width), kHintColour);
    SCREEN_UNLOCK(-1, -1);
}

int optionsLineAt(const OptionsMenu& menu, const Settings& settings, int x, int y, int& arrow)
{
    arrow = 0;
    const std::vector<MenuLine> lines = menuLines(menu, settings);
    const PageLayout& layout = layoutOf(menu);
    const int left = pageLeft(layout);
    const int first = firstLineTop(lines.size());
    if (x < left || x >= left + int(layout.width) * kGlyphSize || y < first) return -1;
    const int line = (y - first) / kLineHeight;
    if (line >= int(lines.size())) return -1;
    if (lines[line].arrows) {
        // Each arrow is one glyph; a little to either side of it counts as well.
        const int column = (x - left) / kGlyphSize;
        const int lastArrow = int(layout.labelColumns + valueText(lines[line]).size()) - 1;
        if (column >= int(layout.labelColumns) - 1 && column <= int(layout.labelColumns) + 1) arrow = -1;
        if (column >= lastArrow - 1 && column <= lastArrow + 1) arrow = +1;
    }
    return line;
}
