// Saving what the player changed in the options into the settings file the player may
// also edit by hand: every line and comment stays, only the values that changed are
// rewritten where they took effect, and a setting the file never set gets a line at
// the end. Settings that did not change (a --volume given for this run, say) are left
// as the file has them.
#pragma once

#include "app/settings.h"

#include <string>

// The settings text with the settings that differ between before and after set to
// after's values: each in the line it took effect from (a refused or overridden line
// stays as it is), or in a line added at the end. Read back over the defaults, the
// result gives after's value for each changed setting and the text's own for the rest,
// as far as a file can hold them (not a key bound to two actions, nor pause left with
// nothing to resume); to keep it so, a line that would now take a key the changes gave
// elsewhere, or lose one to them, is rewritten too. No change gives the text itself.
std::string rewriteSettingsText(const std::string& text, const Settings& before, const Settings& after);

// Rewrites the settings file at path as above, replacing it in one step (its mode and
// links kept) and making its folder when there is none; a missing file is taken as
// empty. Writes nothing when nothing changes. On false, error names the file and the
// problem, and the file is as it was: one that cannot be read is never overwritten.
bool saveSettingsChanges(const std::string& path, const Settings& before, const Settings& after, std::string& error);
