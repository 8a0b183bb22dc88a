// A run's identity: its day and its recorded inputs, and nothing a client could vary
// without replaying differently (the header's text and the claimed end are left out),
// so the same play sent again under another name is known as the same run.
#pragma once

#include "app/demo_file.h"

#include <span>
#include <string>

// SHA-256 of the day and each frame's held actions and step, as 64 hex digits.
std::string runKey(const ChallengeDay& day, std::span<const DemoFrame> frames);
