// One frame's input, decided once: the keyboard through the key map and every
// connected controller through the controller map, combined into the actions held
// and the actions just pressed. The rules then see exactly the held set as keys for
// the whole frame; a replay would put a recorded set in its place.
#pragma once

#include "app/actions.h"
#include "platform/platform.h"
#include "app/settings.h"

struct FrameInput {
    ActionSet held;    // a key or a controller input of the action is down
    ActionSet pressed; // one of them went down since the last frame boundary (buttons only, on a controller)
    ActionSet downNow; // held, less the keys tapped and let go again since the boundary
    bool focusLost = false;
};

FrameInput readFrameInput(const Settings& settings);
// The set-1 codes by which the rules read the held actions; quit reads as Escape.
KeySet ruleKeys(const ActionSet& held);
