// Building blocks for the synthesised effects: signals as doubles in about -1..1 at
// 44100 Hz, seeded noise, one-pole low-passes (plain and loop-periodic), raised-cosine
// fades, and the final scaling and rounding to 16-bit PCM with a chosen peak.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

using Signal = std::vector<double>;

size_t samplesFor(double seconds);
double secondsAt(size_t sample);

// Uniform noise in [-1, 1).
Signal whiteNoise(size_t count, uint64_t seed);

// The per-sample smoothing factor of a one-pole low-pass with this cutoff.
double lowPassCoefficient(double cutoffHz);

// Low-passes a loop as if it had been playing forever: one pass settles the filter,
// a second one produces the output, so the result is as periodic as the input and
// its last sample leads smoothly into its first.
Signal loopLowPass(const Signal& loop, double cutoffHz);

// Scales so the largest magnitude is 1 (a silent signal is left as it is).
Signal normalised(Signal signal);

// Raised-cosine ramps from silence at the start and back to silence at the end.
void fadeEdges(Signal& signal, double fadeInSeconds, double fadeOutSeconds);

// Scales to the given peak (fraction of full scale) and rounds half away from zero.
std::vector<int16_t> toPcm(const Signal& signal, double peak);

} // namespace assetgen
