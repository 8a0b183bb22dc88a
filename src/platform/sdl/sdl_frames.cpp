// The frame loop of a desktop program: a plain loop, since a window's events are
// pumped inside the frames themselves.
#include "platform/platform.h"

int RUN_FRAMES(const std::function<bool()>& frame, const std::function<int()>& finish)
{
    while (frame()) {
    }
    return finish();
}
