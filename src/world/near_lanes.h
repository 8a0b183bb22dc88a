// The asteroid grid's broad test on four entries at a time, in the form this build
// runs (see base/instruction_set.h). Both forms compute the same float differences,
// squares and limits, so they pass the same entries.
#pragma once

#include "base/instruction_set.h"

#if SPACE_GAME_SSE2
#include "world/near_lanes_sse2.h"
namespace near_lanes = near_lanes_sse2;
#else
#include "world/near_lanes_portable.h"
namespace near_lanes = near_lanes_portable;
#endif
