// The message a failing start-up step ends the editor with, in the run-time's own
// format, so that scripts and users see the same text and exit status as always:
// an error number (which is also the exit status), its name, and where it happened.
#pragma once

#include <string>

constexpr int kErrorIllegalFunctionCall = 1;
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorOutOfMemory = 4;

// line 0 means the source line is not known; an empty module means the place is not
// known at all, and the message then ends after the error's name.
std::string runtimeErrorMessage(int number, int line, const std::string& module, const std::string& procedure);
