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
constexpr size_t kLongestName = 16;

struct SubmissionCheck {
    int status = 200; // the HTTP status of a refusal: 400, 413 or 422; 200 when accepted
    std::string reason;
    Demo demo; // once accepted
};

// A name of 1 to kLongestName printable ASCII characters; else the problem in words.
std::string nameProblem(const std::string& name);

SubmissionCheck checkSubmission(const std::string& name, std::span<const uint8_t> body, const ChallengeDay& today);
