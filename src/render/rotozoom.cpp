// The three sprite drawers: their zoom checks, and which put-down rule and pixel loop
// each runs over the shared plan. ROTOZOOM, the one that draws whole backgrounds,
// samples four rows at a time, or copies rows outright when it only moves the source
// by whole pixels; the blending ones draw small sprites row by row.
#include "render/rotozoom.h"

#include "render/image.h"
#include "render/rotozoom_loops.h"
#include "render/rotozoom_plan.h"
#include "render/surface.h"

#include <algorithm>

using namespace rotozoom;

void ROTOZOOM(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent,
              int px, int py)
{
    Source source;
    if (!sourceOf(src, source) || zx == 0.0f) return;
    if (zy == 0.0f) zy = zx;
    const Surface target = surfaceOf(dst);
    Plan plan;
    if (!planRotozoom(target, *src, {x, y, angle, zx, zy, true, px, py, false}, plan)) return;
    if (isWholePixelShift(plan)) {
        copyShifted(target, source, plan, transparent);
    } else {
        drawRows<4>(target, source, plan, CopyTexel{transparent});
    }
}

int ROTOZOOM_ALPHA(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent)
{
    if (!(zx > 0.0f && zy > 0.0f)) return -1; // NaN fails too
    Source source;
    if (!sourceOf(src, source)) return 0;
    const Surface target = surfaceOf(dst);
    Plan plan;
    if (planRotozoom(target, *src, {x, y, angle, zx, zy}, plan)) {
        drawRows<1>(target, source, plan, AlphaTexel{transparent});
    }
    return 0;
}

void ROTOZOOM_BLEND(Image* dst, const Image* src, int x, int y, int angle, float zx, float zy, uint32_t transparent,
                    int opacity)
{
    Source source;
    if (!sourceOf(src, source) || zx == 0.0f) return;
    if (zy == 0.0f) zy = zx;
    const Surface target = surfaceOf(dst);
    Plan plan;
    if (!planRotozoom(target, *src, {x, y, angle, zx, zy, false, 0, 0, true}, plan)) return;
    drawRows<1>(target, source, plan, BlendTexel{transparent, std::clamp(opacity, 0, 255)});
}
