// Typing a name for the score tables, from the keyboard as text or letter by letter
// with a controller. The name offered at first (the one used last) stands until the
// first letter typed replaces it; Enter (or A) keeps whatever valid name is there.
#pragma once

#include <cstddef>
#include <string>

struct NameEntry {
    std::string name;
    bool offered = false; // name is the one offered, not yet edited
    size_t cursor = 0;    // the letter a controller changes
};

// What a frame brought to the name entry.
struct NameInput {
    std::string text; // typed, UTF-8: only printable ASCII is taken
    bool erase = false;   // Backspace, or B on a controller
    bool confirm = false; // Enter, or A
    int letterStep = 0;   // d-pad up (+1) or down (-1): the letter under the cursor
    int cursorStep = 0;   // d-pad right (+1) or left (-1)
};

NameEntry offerName(const std::string& lastName);
// Applies the input; true when the player confirmed a valid name.
bool editName(NameEntry& entry, const NameInput& input);
