// The notice is drawn once into a small image of its own, centred near the top of the
// screen, clear of the heads-up line at the bottom.
#include "app/screen_notice.h"

#include "platform/font8x8.h"
#include "platform/platform.h"
#include "render/image.h"

#include <algorithm>

namespace {

constexpr int kMargin = 4; // dark pixels around the text
constexpr int kLineGap = 4;
constexpr int kLineHeight = kGlyphSize + kLineGap;
constexpr int kTop = 8;
constexpr uint32_t kStripColour = 0xFF202040;
constexpr uint32_t kTextColour = 0xFFFFFFFF;
const std::string kElision = "...";

} // namespace

std::string fitToColumns(const std::string& text, size_t columns)
{
    if (text.size() <= columns) return text;
    const size_t kept = columns - kElision.size();
    const size_t head = kept / 2;
    return text.substr(0, head) + kElision + text.substr(text.size() - (kept - head));
}

void showNotice(ScreenNotice& notice, const std::string& text) { showNotice(notice, {text}, kNoticeSeconds); }

void showNotice(ScreenNotice& notice, const std::vector<std::string>& lines, double seconds)
{
    removeNotice(notice);
    if (lines.empty()) return;
    std::vector<std::string> shown;
    for (const std::string& line : lines) {
        if (shown.size() + 1 == kNoticeMostLines && lines.size() > kNoticeMostLines) {
            shown.push_back("and " + std::to_string(lines.size() - shown.size()) + " more");
            break;
        }
        shown.push_back(fitToColumns(line, kNoticeColumns));
    }
    notice.picture = createTextStrip(shown);
    if (!notice.picture) return; // no memory for a notice: the message on the terminal stays
    notice.until = REAL_SECONDS() + seconds;
    SCREEN_OVERLAY(notice.picture, (SCREEN_WIDTH - int(notice.picture->width)) / 2, kTop);
}

Image* createTextStrip(const std::vector<std::string>& lines)
{
    size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, line.size());
    const int width = int(widest) * kGlyphSize + 2 * kMargin;
    const int height = int(lines.size()) * kLineHeight - kLineGap + 2 * kMargin;
    Image* strip = createImage(uint32_t(width), uint32_t(height));
    if (!strip) return nullptr;
    for (int y = 0; y < height; ++y) std::fill_n(imageRow(strip, uint32_t(y)), width, kStripColour);
    for (size_t i = 0; i < lines.size(); ++i) {
        DRAW_TEXT(strip, float(kMargin), float(kMargin + int(i) * kLineHeight), lines[i], kTextColour);
    }
    return strip;
}

bool expireNotice(ScreenNotice& notice)
{
    if (!notice.picture || REAL_SECONDS() < notice.until) return false;
    removeNotice(notice);
    return true;
}

void removeNotice(ScreenNotice& notice)
{
    if (!notice.picture) return;
    SCREEN_OVERLAY(nullptr, 0, 0);
    destroyImage(notice.picture);
    notice.picture = nullptr;
}
