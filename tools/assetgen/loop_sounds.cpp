// The two looping sounds. Both are exactly periodic over their length: the noise of
// the thrust is filtered as a loop (sound_shaping.h), and every frequency in either
// sound, modulations included, completes a whole number of cycles in the loop.
#include "sounds.h"

#include "sound_shaping.h"
#include "stable_math.h"

namespace assetgen {

namespace {

constexpr double kLoopSeconds = 1.0; // whole-Hz frequencies close their cycles in it

} // namespace

std::vector<int16_t> synthThrust()
{
    const size_t n = samplesFor(kLoopSeconds);
    const Signal noise = whiteNoise(n, 0x7497u);
    // Two cascaded poles at a low cutoff give the rumble; a band of higher noise the hiss.
    const Signal rumble = normalised(loopLowPass(loopLowPass(noise, 150.0), 150.0));
    const Signal bright = loopLowPass(whiteNoise(n, 0x7498u), 2400.0);
    const Signal dull = loopLowPass(bright, 500.0);
    Signal hiss(n);
    for (size_t i = 0; i < n; ++i) hiss[i] = bright[i] - dull[i];
    hiss = normalised(hiss);
    Signal out(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = secondsAt(i);
        const double throb = 1.0 + 0.2 * sineTurns(5.0 * t) + 0.1 * sineTurns(13.0 * t);
        out[i] = (rumble[i] + 0.22 * hiss[i]) * throb;
    }
    return toPcm(out, 0.7);
}

std::vector<int16_t> synthShield()
{
    constexpr double kHumHz = 120.0;
    constexpr double kVibratoHz = 4.0;
    constexpr double kVibratoDepthHz = 1.5;
    const size_t n = samplesFor(kLoopSeconds);
    Signal out(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = secondsAt(i);
        // The phase is the integral of kHumHz + depth * sin(vibrato), in cycles.
        const double phase = kHumHz * t - kVibratoDepthHz / (2.0 * kPi * kVibratoHz) * cosineTurns(kVibratoHz * t);
        const double hum = sineTurns(phase) + 0.5 * sineTurns(2.0 * phase) + 0.25 * sineTurns(3.0 * phase);
        const double shimmer = 0.2 * sineTurns(1320.0 * t) * (0.5 + 0.5 * sineTurns(7.0 * t)) +
                               0.14 * sineTurns(1990.0 * t) * (0.5 + 0.5 * sineTurns(5.0 * t + 0.3));
        out[i] = (0.6 * hum + shimmer) * (1.0 + 0.15 * sineTurns(3.0 * t));
    }
    return toPcm(out, 0.6);
}

} // namespace assetgen
