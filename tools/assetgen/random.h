// The generator's only sources of randomness: a seeded SplitMix64 stream and a
// stateless hash of lattice coordinates. Both are pure integer arithmetic, so every
// run and every build draws the same numbers.
#pragma once

#include <cstdint>

namespace assetgen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next();
    // Uniform in [0, 1), from the top 53 bits.
    double unit();
    double range(double low, double high) { return low + (high - low) * unit(); }
    // Uniform integer in [0, count).
    uint32_t below(uint32_t count);

private:
    uint64_t state;
};

// Uniform in [0, 1) for the lattice point (x, y) of the layer named by seed.
double latticeHash(int32_t x, int32_t y, uint32_t seed);

} // namespace assetgen
