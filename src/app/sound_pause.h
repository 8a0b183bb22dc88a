// Pausing every voice of the sound bank at once, for a paused game, so that each
// resumes where it was. A voice the rules had already paused (the ship's thrust or
// shield while unused) is left alone and stays paused after the resume.
#pragma once

#include "sound/sound.h"

#include <vector>

// Pauses every playing, unpaused voice; returns the library sounds it paused.
std::vector<int> pauseAllVoices(const SoundBank& bank);
void resumeVoices(const std::vector<int>& paused);
