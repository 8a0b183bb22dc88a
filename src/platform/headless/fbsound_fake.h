// Controls of the recording sound library that the headless platform links in place
// of the real one; only programs linked with the headless backend may call these. It
// records every call and plays nothing: a played sound reports loops left until a test
// says it has finished. Waves and created sounds are numbered as the real one numbers
// them, but FBS_PLAY_WAVE always makes a new sound where the real one may reuse one.
#pragma once

#include <string>
#include <vector>

namespace fbsound_fake {

// One call as it was made. Handles, counts and flags go to numbers in argument
// order, volumes, pans and speeds to values, file names and paths to text.
struct Call {
    std::string function;
    std::string text;
    std::vector<int> numbers;
    std::vector<float> values;
};

// Forgets every call, wave, sound and script: as at program start.
void reset();

const std::vector<Call>& calls();
// The recorded calls of one function, in order.
std::vector<Call> callsOf(const std::string& function);
void clearCalls();

// The next FBS_INIT fails with this reason, as when there is no audio device.
void failInit(const std::string& reason);
// Loading this file fails; it still takes its wave number.
void failLoad(const std::string& fileName);

// What FBS_GET_SOUNDLOOPS reports for the sound from now on (0: it has finished).
void setLoopsLeft(int sound, int loopsLeft);
int loopsLeft(int sound);
bool paused(int sound);
int waveCount();
int soundCount();

} // namespace fbsound_fake
