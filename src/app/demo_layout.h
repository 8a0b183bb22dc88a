// The constants of the demo file layout (described in demo_reader.cpp), shared by its
// reader and its writer.
#pragma once

#include "app/actions.h"

#include <cstddef>
#include <cstdint>

namespace demo_layout {

inline constexpr char kMagic[] = "SGDEMO\r\n";
inline constexpr size_t kMagicSize = sizeof kMagic - 1;
inline constexpr uint8_t kFrameTag = 'F';
inline constexpr uint8_t kEndTag = 'E';
inline constexpr uint8_t kShakeOption = 1;
inline constexpr uint8_t kShortenedChallenge = 1;
inline constexpr uint8_t kBuiltinShipChallenge = 2;
inline constexpr size_t kFrameSize = 1 + sizeof(uint16_t) + sizeof(double);

// A frame's held actions as stored: bit n for the n-th of the ten actions the rules
// read, then quit.
inline constexpr size_t kRuleActions = 10;
static_assert(kRuleActions == bit(Action::pause), "the actions the rules read come first, in the stored order");
inline constexpr size_t kQuitBit = kRuleActions;
inline constexpr size_t kHeldBits = kQuitBit + 1;

inline uint16_t heldWord(const ActionSet& held)
{
    uint16_t word = 0;
    for (size_t i = 0; i < kRuleActions; ++i) word |= uint16_t(held[i]) << i;
    return word | uint16_t(uint16_t(held[bit(Action::quit)]) << kQuitBit);
}

inline ActionSet heldActions(uint16_t word)
{
    ActionSet held;
    for (size_t i = 0; i < kRuleActions; ++i) held[i] = (word >> i) & 1;
    held[bit(Action::quit)] = (word >> kQuitBit) & 1;
    return held;
}

} // namespace demo_layout
