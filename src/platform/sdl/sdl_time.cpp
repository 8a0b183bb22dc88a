// The real clock and SLEEP_MS for the SDL backend. The sleep keeps pumping events so
// the window stays responsive, and never ends early for a key press.
#include "platform/backend.h"
#include "platform/platform.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const Clock::time_point programStart = Clock::now();

constexpr auto kPumpInterval = std::chrono::milliseconds(1);

} // namespace

double REAL_SECONDS() { return std::chrono::duration<double>(Clock::now() - programStart).count(); }

void SLEEP_MS(int milliseconds)
{
    const Clock::time_point wakeUp = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
    backend::pumpEvents(false);
    for (Clock::time_point now = Clock::now(); now < wakeUp; now = Clock::now()) {
        std::this_thread::sleep_for(std::min<Clock::duration>(wakeUp - now, kPumpInterval));
        backend::pumpEvents(false);
    }
}
