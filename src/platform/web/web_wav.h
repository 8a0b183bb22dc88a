// PCM WAV files read into samples for the browser's sound output, which must have a
// wave at once, while the browser's own decoder only answers later.
#pragma once

#include <string>
#include <vector>

struct PcmWave {
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> samples; // channel after channel, each frames() long, in -1..1
    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// Reads an uncompressed 8- or 16-bit WAV file with one or two channels. On false,
// problem says why.
bool readPcmWave(const std::string& path, PcmWave& wave, std::string& problem);
