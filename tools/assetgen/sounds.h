// The synthesised sound effects under data/audio/effects/, as 16-bit mono PCM at
// 44100 Hz. The two loops repeat seamlessly; the one-shots start and end in silence.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

std::vector<int16_t> synthThrust();      // thrust.wav: engine rumble loop
std::vector<int16_t> synthShield();      // shield.wav: shimmering hum loop
std::vector<int16_t> synthExplosion();   // asstroblast.wav
std::vector<int16_t> synthZap();         // zap.wav: laser shot
std::vector<int16_t> synthPing();        // ping.wav: sonar ping
std::vector<int16_t> synthPingReturn();  // ping_return.wav: its echo

} // namespace assetgen
