// SplitMix64 (a fixed-increment counter through a strong 64-bit mixer), also used as
// the lattice hash by feeding it the packed coordinates.
#include "random.h"

namespace assetgen {

namespace {

uint64_t mix64(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double unitFromBits(uint64_t bits) { return double(bits >> 11) * (1.0 / 9007199254740992.0); }

} // namespace

uint64_t Rng::next()
{
    state += 0x9E3779B97F4A7C15ULL;
    return mix64(state);
}

double Rng::unit() { return unitFromBits(next()); }

uint32_t Rng::below(uint32_t count) { return uint32_t((next() >> 32) * count >> 32); }

double latticeHash(int32_t x, int32_t y, uint32_t seed)
{
    const uint64_t packed = (uint64_t(uint32_t(x)) << 32) | uint32_t(y);
    return unitFromBits(mix64(packed ^ mix64(uint64_t(seed) + 0x9E3779B97F4A7C15ULL)));
}

} // namespace assetgen
