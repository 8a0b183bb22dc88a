// WAV files made up for tests: a RIFF header, a "fmt " chunk and a "data" chunk, with
// room for whatever a test wants to spoil or add.
#pragma once

#include <cstdint>
#include <string>

namespace wave_bytes {

inline std::string little(uint32_t value, int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += char((value >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string chunk(const std::string& name, const std::string& body)
{
    return name + little(uint32_t(body.size()), 4) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}

// A "fmt " chunk's body: the format tag 1 is PCM.
inline std::string format(int channels, int rate, int bits, int tag = 1)
{
    const int frameBytes = channels * bits / 8;
    return little(uint32_t(tag), 2) + little(uint32_t(channels), 2) + little(uint32_t(rate), 4) +
           little(uint32_t(rate * frameBytes), 4) + little(uint32_t(frameBytes), 2) + little(uint32_t(bits), 2);
}

inline std::string riff(const std::string& chunks) { return "RIFF" + little(uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks; }

// A whole mono 16-bit file of frames samples, all of value sample.
inline std::string mono16(int frames, int16_t sample, int rate = 22050)
{
    std::string samples;
    for (int i = 0; i < frames; ++i) samples += little(uint16_t(sample), 2);
    return riff(chunk("fmt ", format(1, rate, 16)) + chunk("data", samples));
}

} // namespace wave_bytes
