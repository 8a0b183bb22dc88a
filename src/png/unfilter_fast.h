// The PNG decoder's fast row unfiltering in the form this build runs (see
// base/instruction_set.h): SSE2 loops for 3- and 4-byte pixels, or none, leaving
// every row to the plain byte-by-byte code. Both give the same bytes.
#pragma once

#include "base/instruction_set.h"

#if SPACE_GAME_SSE2
#include "png/unfilter_sse2.h"
namespace png {
namespace unfilter_fast = unfilter_sse2;
}
#else
#include "png/unfilter_portable.h"
namespace png {
namespace unfilter_fast = unfilter_portable;
}
#endif
