// A RIFF reader for the one kind of WAV file the game's sounds are: chunks are walked
// by their sizes, each checked against what is left, and only "fmt " and "data" read.
#include "platform/web/web_wav.h"

#include "platform/fbsound.h"

#include <cstdint>

namespace {

constexpr uint16_t kPcmFormat = 1;
constexpr size_t kChunkHeader = 8;
constexpr size_t kFormatSize = 16;

uint32_t little(const std::string& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
    return value;
}

float sampleAt(const std::string& bytes, size_t at, int bits)
{
    if (bits == 8) return (float(uint8_t(bytes[at])) - 128.0f) / 128.0f; // 8-bit samples are unsigned
    return float(int16_t(little(bytes, at, 2))) / 32768.0f;
}

} // namespace

bool readPcmWave(const std::string& path, PcmWave& wave, std::string& problem)
{
    FileBytes file;
    if (!readWholeFile(path, kSoundFile, file, problem)) {
        problem = path + ": " + problem;
        return false;
    }
    const std::string bytes(file.text());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        problem = path + " is no WAV file";
        return false;
    }
    int bits = 0;
    for (size_t at = 12; at + kChunkHeader <= bytes.size();) {
        const size_t size = little(bytes, at + 4, 4);
        const size_t body = at + kChunkHeader;
        if (size > bytes.size() - body) break;
        if (bytes.compare(at, 4, "fmt ") == 0 && size >= kFormatSize) {
            if (little(bytes, body, 2) != kPcmFormat) break;
            wave.channels = int(little(bytes, body + 2, 2));
            wave.sampleRate = int(little(bytes, body + 4, 4));
            bits = int(little(bytes, body + 14, 2));
        } else if (bytes.compare(at, 4, "data") == 0 && bits != 0) {
            if ((bits != 8 && bits != 16) || wave.channels < 1 || wave.channels > 2 || wave.sampleRate <= 0) break;
            const size_t frameBytes = size_t(bits / 8 * wave.channels);
            const size_t frames = size / frameBytes;
            wave.samples.resize(frames * size_t(wave.channels));
            for (size_t f = 0; f < frames; ++f) {
                for (int c = 0; c < wave.channels; ++c) {
                    const size_t at = body + f * frameBytes + size_t(c * bits / 8);
                    wave.samples[size_t(c) * frames + f] = sampleAt(bytes, at, bits);
                }
            }
            return true;
        }
        at = body + size + (size & 1); // chunks are padded to an even size
    }
    problem = path + " holds no 8- or 16-bit PCM sound with one or two channels";
    return false;
}
