// What the rules read of time and keys, for both backends. The loop around the rules
// may hold both for a frame: TIMER_SECONDS then answers its game clock, which stops
// while the game is paused, and KEY_DOWN the keys it decided the frame holds. Without
// a hold both read the backend's live clock and keyboard.
#include "platform/backend.h"
#include "platform/platform.h"

#include <optional>

namespace {

struct Hold {
    std::optional<double> time;
    std::optional<KeySet> keys;
};

Hold hold;

} // namespace

double TIMER_SECONDS() { return hold.time ? *hold.time : REAL_SECONDS(); }
void HOLD_TIMER(double seconds) { hold.time = seconds; }
void RELEASE_TIMER() { hold.time.reset(); }

void HOLD_KEYS(const KeySet& keys) { hold.keys = keys; }
void RELEASE_KEYS() { hold.keys.reset(); }

int KEY_DOWN(int scanCode)
{
    if (scanCode < 0 || scanCode >= int(KeySet().size())) return 0;
    // Quitting stays with the player: Escape and the close button act whatever was held.
    const bool live = (!hold.keys || scanCode == scancode::ESCAPE) && backend::keyDown(scanCode);
    return live || (hold.keys && hold.keys->test(size_t(scanCode))) ? -1 : 0;
}
