// Constants that more than one area of the game's rules must agree on: the angle at
// which a turn wraps (also the offset of an echo's angle) and how long the sparks of
// any explosion live, and the lines a ship's outline needs.
#pragma once

#include <cstddef>

// One step below the float nearest 2 pi, so the ship's angle stays in [0, 2 pi).
constexpr float kFullTurn = 6.2831850f;
constexpr double kBlastSeconds = 1.0;

// The ship's outline: lines 1 to 3 place the thrust flames; line 0 ends at the nose.
constexpr size_t kShipLinesNeeded = 4;
