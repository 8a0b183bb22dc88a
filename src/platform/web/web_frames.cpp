// The browser backend's clock and frame loop. A page must give control back to the
// browser after every frame, so RUN_FRAMES hands the frame to the browser's animation
// loop (one call per display refresh) and never returns; the caller's locals stay on
// the stack for the frames to use. Nothing here can wait: a sleep is the time until
// the next frame. Each frame's own work is timed, for the page to report. The clock
// stands still while the page is hidden: the browser runs no frames then, so the
// game learns of the lost focus only when it is shown again, and the time between
// must not reach the world as the step before its pause.
#include "platform/platform.h"
#include "platform/web/web_page.h"

#include <emscripten.h>

#include <utility>

namespace {

struct FrameLoop {
    std::function<bool()> frame;
    std::function<int()> finish;
};

FrameLoop loop;

struct HiddenTime {
    double since = -1.0; // when the page was hidden, while it is; else negative
    double total = 0.0;  // milliseconds hidden before that
};

HiddenTime hiddenTime;

// The page's program ended with this status (page.js shows it).
EM_JS(void, endPageProgram, (int status), { Module.onProgramEnd(status); });
EM_JS(void, markFramesRunning, (), {
    Module.framesRunning = true;
    Module.printedBeforeFrames = Module.printed.length;
});
// Kept for the last half hour or so at 60 frames a second.
EM_JS(void, noteFrameWork, (double milliseconds), {
    if (Module.frameWork.length >= 100000) Module.frameWork.splice(0, 50000);
    Module.frameWork.push(milliseconds);
});

void runOneFrame()
{
    const double start = emscripten_get_now();
    web::startKeyFrame();
    const bool going = loop.frame();
    noteFrameWork(emscripten_get_now() - start);
    if (going) return;
    emscripten_cancel_main_loop();
    const int status = loop.finish();
    loop = FrameLoop{};
    endPageProgram(status);
}

} // namespace

void web::pageHidden(bool hidden)
{
    const double now = emscripten_get_now();
    if (hidden && hiddenTime.since < 0.0) hiddenTime.since = now;
    if (!hidden && hiddenTime.since >= 0.0) {
        hiddenTime.total += now - hiddenTime.since;
        hiddenTime.since = -1.0;
    }
}

double REAL_SECONDS()
{
    const double now = hiddenTime.since >= 0.0 ? hiddenTime.since : emscripten_get_now();
    return (now - hiddenTime.total) / 1000.0;
}

void SLEEP_MS(int /*milliseconds*/) {}

int RUN_FRAMES(const std::function<bool()>& frame, const std::function<int()>& finish)
{
    loop = {frame, finish};
    markFramesRunning();
    emscripten_set_main_loop(runOneFrame, 0, true);
    return 0; // not reached: the simulated infinite loop unwinds the caller
}
