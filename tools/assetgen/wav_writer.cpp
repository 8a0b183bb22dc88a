// Writes every header field and sample byte by byte, so the file is little-endian
// whatever the host's byte order.
#include "wav_writer.h"

namespace assetgen {

namespace {

constexpr uint16_t kChannels = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr uint16_t kFormatPcm = 1;

void appendLittle(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void appendTag(std::vector<uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

} // namespace

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples)
{
    const uint32_t dataBytes = uint32_t(samples.size()) * kBlockAlign;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    appendTag(out, "RIFF");
    appendLittle(out, 36 + dataBytes, 4); // everything after this field
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLittle(out, 16, 4);
    appendLittle(out, kFormatPcm, 2);
    appendLittle(out, kChannels, 2);
    appendLittle(out, kSampleRate, 4);
    appendLittle(out, kSampleRate * kBlockAlign, 4); // bytes per second
    appendLittle(out, kBlockAlign, 2);
    appendLittle(out, kBitsPerSample, 2);
    appendTag(out, "data");
    appendLittle(out, dataBytes, 4);
    for (int16_t sample : samples) appendLittle(out, uint16_t(sample), 2);
    return out;
}

} // namespace assetgen
