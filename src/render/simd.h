// The renderer's per-pixel helpers in the form this build runs (see
// base/instruction_set.h): rounding to whole pixels, byte-wise brightness and
// blending, the keyed row copy and four sprite rows sampled side by side. The SSE2
// and the portable forms give the same bits.
#pragma once

#include "base/instruction_set.h"

#if SPACE_GAME_SSE2
#include "render/simd_sse2.h"
namespace simd = simd_sse2;
#else
#include "render/simd_portable.h"
namespace simd = simd_portable;
#endif
