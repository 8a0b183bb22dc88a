// The browser backend's clock and frame loop. A page must give control back to the
// browser after every frame, so RUN_FRAMES hands the frame to the browser's animation
// loop (one call per display refresh) and never returns; the caller's locals stay on
// the stack for the frames to use. Nothing here can wait: a sleep is the time until
// the next frame. Each frame's own work is timed, for the page to report.
#include "platform/platform.h"

#include <emscripten.h>

#include <utility>

namespace {

struct FrameLoop {
    std::function<bool()> frame;
    std::function<int()> finish;
};

FrameLoop loop;

// The page's program ended with this status (page.js shows it).
EM_JS(void, endPageProgram, (int status), { Module.onProgramEnd(status); });
EM_JS(void, markFramesRunning, (), { Module.framesRunning = true; });
EM_JS(void, noteFrameWork, (double milliseconds), { Module.frameWork.push(milliseconds); });

void runOneFrame()
{
    const double start = emscripten_get_now();
    const bool going = loop.frame();
    noteFrameWork(emscripten_get_now() - start);
    if (going) return;
    emscripten_cancel_main_loop();
    const int status = loop.finish();
    loop = FrameLoop{};
    endPageProgram(status);
}

} // namespace

double REAL_SECONDS() { return emscripten_get_now() / 1000.0; }

void SLEEP_MS(int /*milliseconds*/) {}

int RUN_FRAMES(const std::function<bool()>& frame, const std::function<int()>& finish)
{
    loop = {frame, finish};
    markFramesRunning();
    emscripten_set_main_loop(runOneFrame, 0, true);
    return 0; // not reached: the simulated infinite loop unwinds the caller
}
