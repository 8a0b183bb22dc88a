// Hashing the framebuffer through its pitch, so that the row padding of a backend
// never reaches the hash.
#include "app/frame_hash.h"

#include "platform/platform.h"

#include <cstddef>

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

} // namespace

uint64_t frameHash()
{
    SCREEN_LOCK();
    int width = 0, height = 0, depth = 0, bytesPerPixel = 0, pitch = 0, rate = 0;
    SCREEN_INFO(width, height, depth, bytesPerPixel, pitch, rate);
    uint64_t hash = kFnvOffsetBasis;
    if (const uint8_t* pixels = SCREEN_POINTER()) {
        const size_t rowBytes = size_t(width) * size_t(bytesPerPixel);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = pixels + size_t(y) * size_t(pitch);
            for (size_t i = 0; i < rowBytes; ++i) hash = (hash ^ row[i]) * kFnvPrime;
        }
    }
    SCREEN_UNLOCK(SCREEN_HEIGHT, SCREEN_HEIGHT); // rows past the bottom: nothing changed, nothing shown again
    return hash;
}
