// Constants that more than one area of the game's rules must agree on: the angle at
// which a turn wraps (also the offset of an echo's angle) and how long the sparks of
// any explosion live.
#pragma once

// One step below the float nearest 2 pi, so the ship's angle stays in [0, 2 pi).
constexpr float kFullTurn = 6.2831850f;
constexpr double kBlastSeconds = 1.0;
