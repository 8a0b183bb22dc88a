// A short line over the window for a couple of seconds, such as where a screenshot
// went: the player started from a menu has no terminal to read it in. It is laid over
// the screen (SCREEN_OVERLAY), so it never becomes part of a screenshot or a frame.
#pragma once

#include <string>
#include <vector>

struct Image;

struct ScreenNotice {
    Image* picture = nullptr; // the text on its dark strip while shown
    double until = 0.0;       // REAL_SECONDS when it goes
};

constexpr double kNoticeSeconds = 2.0;
constexpr double kWarningNoticeSeconds = 6.0; // several lines, read once at start
constexpr int kNoticeColumns = 78; // a longer text loses its middle to "..."
constexpr size_t kNoticeMostLines = 6; // beyond, the last line counts the rest

// Shows text (in place of any notice shown) from the next presentation on.
void showNotice(ScreenNotice& notice, const std::string& text);
// The same for several lines at once, shown for the seconds given; none shows nothing.
void showNotice(ScreenNotice& notice, const std::vector<std::string>& lines, double seconds);
// Takes the notice away once its time is up; true when it did, so a screen that is
// not redrawn every frame knows to show itself again.
bool expireNotice(ScreenNotice& notice);
void removeNotice(ScreenNotice& notice);
// The lines in the built-in font on a dark strip, as a notice shows them; null when
// there is no memory for it. The caller destroys it.
Image* createTextStrip(const std::vector<std::string>& lines);
// text, or its start and end around "..." when it is longer than columns.
std::string fitToColumns(const std::string& text, size_t columns);
