// Lines in the font's 80 columns. The name being typed shows a cursor; the name only
// offered shows in brackets, as a selection that typing replaces.
#include "app/result_view.h"

#include "app/pause_screen.h"
#include "app/score_lines.h"
#include "app/screen_notice.h"
#include "app/text_panel.h"
#include "platform/key_positions.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr size_t kProblemLines = 2;
constexpr size_t kProblemColumns = 76;

std::string heading(const ResultScreen& screen)
{
    std::string title = "CHALLENGE " + screen.day + " (UTC) - TIME UP";
    if (screen.run.shortened) return title + " - TEST RUN";
    return screen.run.practice ? title + " - PRACTICE" : title;
}

std::string standing(const ResultScreen& screen)
{
    if (screen.run.shortened) return "A shortened test run: kept apart from the real tables.";
    if (screen.run.practice) return "A practice run of an earlier day: not entered in the tables.";
    if (screen.naming) return "A place in the tables!";
    return screen.enteredFile.empty() ? "Not in the tables this time." : "Entered in the tables.";
}

std::string nameLine(const NameEntry& entry)
{
    if (entry.offered) return "Your name: [" + entry.name + "]";
    std::string shown = entry.name;
    if (entry.cursor >= shown.size()) shown += '_';
    return "Your name: " + shown;
}

bool padPressed(const PadState& pads, pad::Button button) { return pads.pressed & (1u << button); }
bool key(int position) { return KEY_PRESSED(position); }

} // namespace

ResultLines resultLines(const ResultScreen& screen)
{
    ResultLines view;
    auto& lines = view.lines;
    // The leaderboard's word takes the blank line under the standing: the panel is full
    const std::string board = screen.upload ? screen.upload->verdict : "";
    lines = {heading(screen), "", "Score " + std::to_string(screen.run.score) + "   level " +
             std::to_string(screen.run.level), standing(screen), fitToColumns(board, kProblemColumns)};
    if (screen.naming) {
        view.marked = int(lines.size());
        lines.push_back(nameLine(*screen.naming));
        lines.push_back("");
        lines.push_back("Type it and press Enter (Enter alone keeps the name shown).");
        lines.push_back("Controller: d-pad up/down letter, left/right move, B erase, A done.");
        lines.push_back("");
    }
    const std::vector<std::string> day = scoreTableLines(screen.tables.day, false);
    const std::vector<std::string> allTime = scoreTableLines(screen.tables.allTime, true);
    lines.push_back("THE DAY'S BEST TEN");
    const size_t dayStart = lines.size();
    lines.insert(lines.end(), day.begin(), day.end());
    lines.push_back("");
    lines.push_back("THE BEST TEN OF ALL TIME");
    const size_t allTimeStart = lines.size();
    lines.insert(lines.end(), allTime.begin(), allTime.end());
    if (!screen.naming && (!screen.tables.day.empty() || !screen.tables.allTime.empty())) {
        const bool inDay = screen.selected < screen.tables.day.size();
        view.marked = int(inDay ? dayStart + screen.selected : allTimeStart + screen.selected - screen.tables.day.size());
    }
    // The latest problems only: the panel has room for two lines more than full tables.
    const size_t shown = std::min(screen.problems.size(), kProblemLines);
    for (auto problem = screen.problems.end() - long(shown); problem != screen.problems.end(); ++problem) {
        lines.push_back(fitToColumns(*problem, kProblemColumns));
    }
    lines.push_back("");
    lines.push_back(screen.naming ? "Escape quits without entering the run"
                                  : "Up/Down choose   W watch   R new run   Escape quit");
    return view;
}

void drawResultScreen(const ResultScreen& screen, const std::vector<uint32_t>& stoppedWorld)
{
    const ResultLines view = resultLines(screen);
    SCREEN_LOCK();
    restoreScreenPicture(stoppedWorld);
    drawTextPanel(view.lines, view.marked);
    SCREEN_UNLOCK(-1, -1);
}

void followNaming(const ResultScreen& screen, bool& textInputOn)
{
    if (screen.naming.has_value() == textInputOn) return;
    textInputOn = screen.naming.has_value();
    if (textInputOn) TEXT_INPUT_START();
    else TEXT_INPUT_STOP();
}

ResultInput readResultInput()
{
    const PadState pads = PADS_READ();
    ResultInput input;
    input.name = {
        .text = TEXT_TYPED(),
        .erase = key(key_position::BACKSPACE) || padPressed(pads, pad::B),
        .confirm = key(key_position::RETURN) || key(key_position::KEYPAD_ENTER) || padPressed(pads, pad::A),
        .letterStep = int(padPressed(pads, pad::DPAD_UP)) - int(padPressed(pads, pad::DPAD_DOWN)),
        .cursorStep = int(padPressed(pads, pad::DPAD_RIGHT)) - int(padPressed(pads, pad::DPAD_LEFT)),
    };
    input.rowStep = int(key(key_position::DOWN) || padPressed(pads, pad::DPAD_DOWN)) -
                    int(key(key_position::UP) || padPressed(pads, pad::DPAD_UP));
    input.watch = key(key_position::A + ('W' - 'A')) || padPressed(pads, pad::A);
    input.newRun = key(key_position::A + ('R' - 'A')) || padPressed(pads, pad::START);
    // The window's close button reads as Escape held without the key being down.
    const bool closeAsked = KEY_DOWN(scancode::ESCAPE) && !KEY_HELD(key_position::ESCAPE);
    input.quit = key(key_position::ESCAPE) || closeAsked || padPressed(pads, pad::BACK);
    return input;
}
