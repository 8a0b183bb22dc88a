#include "platform/sound_levels.h"

#include <algorithm>
#include <cmath>

namespace sound_levels {

int mixerVolume(float volume)
{
    if (!(volume > 0.0f)) return 0; // NaN is silent too
    return static_cast<int>(std::lround(std::min(volume, kFullVolume) / kFullVolume * kMixerFullVolume));
}

int masterVolume(float level) { return static_cast<int>(std::lround(level * kMixerFullVolume)); }

PanLevels panLevels(float pan)
{
    const float p = std::isnan(pan) ? 0.0f : std::clamp(pan, -1.0f, 1.0f);
    const auto level = [](float share) {
        return static_cast<uint8_t>(std::lround(kFullPanLevel * std::min(1.0f, share)));
    };
    return {level(1.0f - p), level(1.0f + p)};
}

} // namespace sound_levels
