// The outline test's inner step, four of b's edges against one of a's, in the form
// this build runs (see base/instruction_set.h). Both forms decide every edge pair
// exactly as LINES_INTERSECT does.
#pragma once

#include "base/instruction_set.h"

#if SPACE_GAME_SSE2
#include "model/crossing_lanes_sse2.h"
namespace crossing_lanes = crossing_lanes_sse2;
#else
#include "model/crossing_lanes_portable.h"
namespace crossing_lanes = crossing_lanes_portable;
#endif
