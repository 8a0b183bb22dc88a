// The name is kept valid for the tables as it is edited: printable ASCII, at most the
// longest name; a controller steps through the letters a name most often has first.
#include "app/name_entry.h"

#include "app/score_table.h"

#include <algorithm>

namespace {

constexpr std::string_view kLetterOrder =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_.!?'&*+#@$%()/:;<=>[]^`{|}~,\"\\";

bool printable(char c) { return c >= ' ' && c <= '~'; }

void startEditing(NameEntry& entry)
{
    if (!entry.offered) return;
    entry.offered = false;
    entry.name.clear();
    entry.cursor = 0;
}

void type(NameEntry& entry, const std::string& text)
{
    for (const char c : text) {
        if (!printable(c)) continue; // bytes of other characters, and controls
        startEditing(entry);
        if (entry.name.size() < kLongestPlayerName) entry.name += c;
        entry.cursor = std::min(entry.name.size(), kLongestPlayerName - 1);
    }
}

// A letter outside the order (typed on a keyboard) steps to the order's start.
char stepLetter(char letter, int step)
{
    const size_t count = kLetterOrder.size();
    const size_t at = kLetterOrder.find(letter);
    if (at == std::string_view::npos) return kLetterOrder.front();
    return kLetterOrder[(at + count + size_t(step % int(count))) % count];
}

void pickLetter(NameEntry& entry, const NameInput& input)
{
    if (input.letterStep == 0 && input.cursorStep == 0) return;
    entry.offered = false; // a controller edits the offered name in place
    const long moved = long(entry.cursor) + input.cursorStep;
    entry.cursor = size_t(std::clamp(moved, 0L, long(std::min(entry.name.size(), kLongestPlayerName - 1))));
    if (entry.cursor == entry.name.size()) {
        entry.name += kLetterOrder.front(); // a new letter starts at the order's first
        return;
    }
    if (input.letterStep != 0) entry.name[entry.cursor] = stepLetter(entry.name[entry.cursor], input.letterStep);
}

} // namespace

NameEntry offerName(const std::string& lastName)
{
    return {.name = lastName, .offered = !lastName.empty(), .cursor = lastName.empty() ? 0 : lastName.size() - 1};
}

bool editName(NameEntry& entry, const NameInput& input)
{
    type(entry, input.text);
    if (input.erase && !entry.name.empty()) {
        entry.offered = false;
        entry.name.pop_back();
        entry.cursor = entry.name.empty() ? 0 : std::min(entry.cursor, entry.name.size() - 1);
    }
    pickLetter(entry, input);
    return input.confirm && validPlayerName(entry.name);
}
