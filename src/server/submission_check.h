// Everything a client sends with a run, checked in one place before it reaches the
// store: the body's size first, then the name, then what the demo's bytes alone show
// (that it is a demo, a whole well-formed challenge of these rules, for the server's
// day or the day before). Only its replay can then reject it.
#pragma once

#include "app/demo_file.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

constexpr size_t kLargestBody = size_t(1) << 20;
// Said by the check and by the HTTP library's own refusal of a longer body alike.
constexpr const char* kBodyTooLarge = "a run's demo is at most 1 MiB";

struct SubmissionCheck {
    int status = 200; // the HTTP status of a refusal: 400, 413 or 422; 200 when accepted
    std::string reason;
    Demo demo; // once accepted
};

// What makes the name one the game would not give (validPlayerName), in words; empty
// when there is nothing.
std::string nameProblem(const std::string& name);

SubmissionCheck checkSubmission(const std::string& name, std::span<const uint8_t> body, const ChallengeDay& today);
