#include "platform/sound_records.h"

#include <climits>

int sound_records::loopsLeft(const LibrarySound& sound, bool playing)
{
    if (!playing) return 0;
    return sound.loopCount > 0 ? sound.loopCount : INT_MAX;
}
