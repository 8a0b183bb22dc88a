// The user's Pictures folder, found as `xdg-user-dir PICTURES` finds it: the desktop's
// choice in user-dirs.dirs under the config folder, else $XDG_PICTURES_DIR, and then,
// where xdg-user-dir would answer the home folder, ~/Pictures when it exists.
#pragma once

#include "app/user_folders.h"

#include <optional>
#include <string>
#include <vector>

// The value that sourcing the text of a user-dirs.dirs file would give variable:
// the last assignment to it, "$HOME" (or "${HOME}") at its start replaced by home.
// Nothing when no line assigns it or the value is not an absolute path.
std::optional<std::string> userDirsValue(const std::string& text, const std::string& variable,
                                         const std::string& home);
// The Pictures folder; the home folder when there is none; empty without a home. A
// user-dirs.dirs that cannot be read adds a warning and is passed over.
std::string picturesFolder(const Environment& environment, std::vector<std::string>& warnings);
