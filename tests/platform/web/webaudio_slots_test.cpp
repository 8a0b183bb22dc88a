// The browser's sound library under node, over a stand-in for Web Audio: a wave that
// failed to load keeps its number, and every later wave still plays its own buffer
// (told apart by their lengths), as on the desktop.
#include "platform/fbsound.h"
#include "support/wave_bytes.h"

#include <emscripten.h>

#include <cstdio>
#include <fstream>

namespace {

int failures = 0;

void expect(bool holds, const char* what)
{
    if (holds) return;
    std::printf("FAILED: %s\n", what);
    ++failures;
}

int lastStartedLength() { return EM_ASM_INT({ return globalThis.startedBufferLengths.slice(-1)[0] || 0; }); }

int load(const char* path)
{
    int wave = -1;
    FBS_LOAD_WAVFILE(path, wave);
    return wave;
}

} // namespace

int main()
{
    std::ofstream("/tmp/short.wav", std::ios::binary) << wave_bytes::mono16(100, 1000);
    std::ofstream("/tmp/long.wav", std::ios::binary) << wave_bytes::mono16(300, 1000);
    std::ofstream("/tmp/broken.wav", std::ios::binary) << "RIFF, but nothing more";
    expect(FBS_INIT(44100, 2, 4, 1024, 0, 0), "the library opens over the stand-in");
    const int first = load("/tmp/short.wav");
    const int broken = load("/tmp/broken.wav");
    const int missing = load("/tmp/missing.wav");
    const int last = load("/tmp/long.wav");
    expect(first == 0 && broken == 1 && missing == 2 && last == 3, "waves are numbered in load order, failures too");
    expect(FBS_PLAY_WAVE(last, 1, 1.0f, 1.0f, 0.0f, nullptr), "the wave after two failed loads plays");
    expect(lastStartedLength() == 300, "it plays its own buffer, not a neighbour's");
    expect(FBS_PLAY_WAVE(first, 1, 1.0f, 1.0f, 0.0f, nullptr) && lastStartedLength() == 100, "the first plays its own");
    expect(!FBS_PLAY_WAVE(broken, 1, 1.0f, 1.0f, 0.0f, nullptr), "a wave that failed to load plays nothing");
    FBS_EXIT();
    std::printf("%s\n", failures == 0 ? "1 passed, 0 failed" : "0 passed, 1 failed");
    return failures == 0 ? 0 : 1;
}
