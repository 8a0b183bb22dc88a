// The server's own program started again to judge one demo, apart from the server so
// that a demo which finds a fault in the game's code ends this process and not that
// one: `PROGRAM --verify-demo FILE --data DIR`. It lowers its priority and limits its
// processor time and memory before it reads a byte of the demo, then prints the
// judgement (judgement_json.h) on standard output.
#pragma once

#include <sys/resource.h>

#include <string_view>

inline constexpr std::string_view kVerifyDemoArgument = "--verify-demo";

// A replay of a three-minute run takes a few seconds of one core; these leave room for
// a slow machine and still stop a runaway child.
constexpr int kVerifyNiceness = 10;
constexpr rlim_t kVerifyProcessorSeconds = 60;
constexpr rlim_t kVerifyDataBytes = rlim_t(512) << 20;

// Whether the arguments ask for a judgement rather than a server.
bool isVerifyCall(int argc, char** argv);
// Judges the demo and prints the verdict: 0 once printed, 1 when it could not be.
int runVerifyCall(int argc, char** argv);
