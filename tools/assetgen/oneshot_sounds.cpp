// The one-shot sounds: each is shaped by an envelope and starts and ends with a short
// raised-cosine fade, so playback never begins or stops with a click.
#include "sounds.h"

#include "sound_shaping.h"
#include "stable_math.h"
#include "wav_writer.h"

namespace assetgen {

namespace {

// A sine sweep whose frequency falls exponentially from startHz with the given time
// constant; the phase is accumulated per sample so the pitch glides without jumps.
class FallingTone {
public:
    FallingTone(double startHz, double endHz, double timeConstant)
        : startHz(startHz), endHz(endHz), timeConstant(timeConstant) {}
    // Advances one sample and returns the phase in cycles.
    double step(double t)
    {
        phase += (endHz + (startHz - endHz) * exponential(-t / timeConstant)) / kSampleRate;
        return phase;
    }

private:
    double startHz;
    double endHz;
    double timeConstant;
    double phase = 0.0;
};

// A decaying sine with a few quiet overtones, the shape of both sonar sounds.
Signal ringingTone(double seconds, double hz, double decaySeconds, double attackSeconds)
{
    Signal out(samplesFor(seconds));
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        const double tone = sineTurns(hz * t) + 0.12 * sineTurns(2.0 * hz * t) + 0.05 * sineTurns(3.01 * hz * t);
        out[i] = tone * exponential(-t / decaySeconds);
    }
    fadeEdges(out, attackSeconds, 0.02);
    return out;
}

} // namespace

std::vector<int16_t> synthExplosion()
{
    const Signal noise = whiteNoise(samplesFor(1.0), 0xB1A57u);
    Signal crash(noise.size());
    double low1 = 0.0;
    double low2 = 0.0;
    for (size_t i = 0; i < noise.size(); ++i) {
        const double t = secondsAt(i);
        // The cutoff falls from bright to dull as the blast dies away.
        const double a = lowPassCoefficient(180.0 + 5000.0 * exponential(-t / 0.12));
        low1 += a * (noise[i] - low1);
        low2 += a * (low1 - low2);
        crash[i] = low2;
    }
    crash = normalised(crash);
    FallingTone boom(80.0, 36.0, 0.15);
    Signal out(crash.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        out[i] = crash[i] * exponential(-t / 0.28) + 0.6 * sineTurns(boom.step(t)) * exponential(-t / 0.35);
    }
    fadeEdges(out, 0.004, 0.03);
    return toPcm(out, 0.75);
}

std::vector<int16_t> synthZap()
{
    constexpr double kSeconds = 0.15;
    FallingTone sweep(1900.0, 150.0, 0.075);
    Signal out(samplesFor(kSeconds));
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        const double phase = sweep.step(t);
        const double tone = sineTurns(phase) + 0.4 * sineTurns(2.0 * phase) + 0.2 * sineTurns(3.0 * phase);
        out[i] = tone * (1.0 - 0.6 * t / kSeconds);
    }
    fadeEdges(out, 0.002, 0.015);
    return toPcm(out, 0.6);
}

std::vector<int16_t> synthPing() { return toPcm(ringingTone(0.5, 1000.0, 0.11, 0.003), 0.7); }

std::vector<int16_t> synthPingReturn() { return toPcm(ringingTone(0.3, 1500.0, 0.06, 0.008), 0.35); }

} // namespace assetgen
