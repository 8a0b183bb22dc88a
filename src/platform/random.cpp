// The seeded generator both backends share (xoshiro256**), so that a seed, a script
// of inputs and a list of frame times reproduce a run exactly on any backend.
#include "platform/platform.h"
#include "base/bit_cast.h"

#include <bit>
#include <cstdint>

namespace {

struct Xoshiro256 {
    uint64_t s[4];
};

uint64_t splitMix64(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Every bit of the seed matters (two timer readings a microsecond apart differ), and
// splitmix spreads them so that no seed leaves the state all zero.
Xoshiro256 seeded(double seed)
{
    uint64_t state = bits::cast<uint64_t>(seed);
    Xoshiro256 g{};
    for (uint64_t& word : g.s) word = splitMix64(state);
    return g;
}

uint64_t next(Xoshiro256& g)
{
    const uint64_t result = std::rotl(g.s[1] * 5, 7) * 9;
    const uint64_t t = g.s[1] << 17;
    g.s[2] ^= g.s[0];
    g.s[3] ^= g.s[1];
    g.s[1] ^= g.s[2];
    g.s[0] ^= g.s[3];
    g.s[2] ^= t;
    g.s[3] = std::rotl(g.s[3], 45);
    return result;
}

Xoshiro256 generator = seeded(0.0);

} // namespace

void RANDOM_SEED(double seed) { generator = seeded(seed); }

// The top 53 bits make an exactly representable double in [0, 1).
double RANDOM_UNIT() { return double(next(generator) >> 11) * 0x1.0p-53; }
