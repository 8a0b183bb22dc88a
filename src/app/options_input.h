// One turn's input for the options pages, read from the platform: the menu's own
// keys and controller buttons as commands, a click as a line and arrow, and the first
// key or controller input pressed, for the controls to take.
#pragma once

#include "app/options_menu.h"
#include "platform/platform.h"

// lastPads: the controllers as the last turn read them, so that a stick or trigger
// counts once when it passes the dead zone, not for as long as it is held; updated.
MenuInput readMenuInput(const OptionsMenu& menu, const Settings& settings, PadState& lastPads);
