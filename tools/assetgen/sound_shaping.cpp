// Signal helpers; all arithmetic is plain double maths on the stable sine/exp, so the
// PCM output is identical on every build.
#include "sound_shaping.h"

#include "random.h"
#include "stable_math.h"
#include "wav_writer.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr double kFullScale = 32767.0;

double riseOf(double x) { return 0.5 - 0.5 * cosineTurns(0.5 * clamp01(x)); }

// Multiplies `length` samples at one end by a ramp that is exactly 0 at the very end
// sample and reaches 1 at the inner one.
void applyRamp(Signal& signal, size_t length, bool atEnd)
{
    const size_t n = signal.size();
    if (length < 2 || length > n) return;
    for (size_t i = 0; i < length; ++i) {
        const double gain = riseOf(double(i) / double(length - 1));
        signal[atEnd ? n - 1 - i : i] *= gain;
    }
}

} // namespace

size_t samplesFor(double seconds) { return size_t(std::floor(seconds * kSampleRate + 0.5)); }

double secondsAt(size_t sample) { return double(sample) / kSampleRate; }

Signal whiteNoise(size_t count, uint64_t seed)
{
    Rng rng(seed);
    Signal noise(count);
    for (double& value : noise) value = rng.range(-1.0, 1.0);
    return noise;
}

double lowPassCoefficient(double cutoffHz) { return 1.0 - exponential(-2.0 * kPi * cutoffHz / kSampleRate); }

Signal loopLowPass(const Signal& loop, double cutoffHz)
{
    const double a = lowPassCoefficient(cutoffHz);
    double state = 0.0;
    for (double x : loop) state += a * (x - state);
    Signal out(loop.size());
    for (size_t i = 0; i < loop.size(); ++i) {
        state += a * (loop[i] - state);
        out[i] = state;
    }
    return out;
}

Signal normalised(Signal signal)
{
    double largest = 0.0;
    for (double value : signal) largest = std::fmax(largest, std::fabs(value));
    if (largest > 0.0)
        for (double& value : signal) value /= largest;
    return signal;
}

void fadeEdges(Signal& signal, double fadeInSeconds, double fadeOutSeconds)
{
    applyRamp(signal, samplesFor(fadeInSeconds), false);
    applyRamp(signal, samplesFor(fadeOutSeconds), true);
}

std::vector<int16_t> toPcm(const Signal& signal, double peak)
{
    const Signal unit = normalised(signal);
    std::vector<int16_t> pcm(unit.size());
    for (size_t i = 0; i < unit.size(); ++i) pcm[i] = int16_t(std::lround(unit[i] * peak * kFullScale));
    return pcm;
}

} // namespace assetgen
