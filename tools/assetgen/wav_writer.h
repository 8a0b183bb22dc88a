// Canonical WAV output: a 44-byte RIFF header (one "fmt " chunk for 16-bit PCM, then
// the "data" chunk) followed by little-endian mono samples at 44100 Hz.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

constexpr uint32_t kSampleRate = 44100;

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples);

} // namespace assetgen
