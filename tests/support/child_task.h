// A second process for a test: this test program started again (posix_spawn, through
// the build's emulator when it has one) to run one named task and exit with whether it
// held. A forked copy that never execs would be simpler, but under qemu-user such a
// child spins for ever. Tasks are registered by constructing a ChildTask at namespace
// scope; the child runs in the parent's working folder and sees its files.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

using ChildTaskBody = bool (*)(const std::vector<std::string>& arguments);

class ChildTask {
public:
    ChildTask(std::string name, ChildTaskBody body);

    bool run(const std::vector<std::string>& arguments) const { return body_(arguments); }
    // The task in a new process, as "nobody" when asked (which needs root); -1 when it
    // cannot start, with the reason added to the test's failures.
    pid_t start(const std::vector<std::string>& arguments, bool asNobody = false) const;

private:
    std::string name_;
    ChildTaskBody body_;
};

// Waits for a started child: whether its task held. A child that could not run its
// task fails the test.
bool childSucceeded(pid_t child);

// The child's side, called by the test program's main when its arguments ask for a
// task: runs it and ends the process with its exit status.
bool isChildTaskCall(int argc, char** argv);
[[noreturn]] void runChildTaskCall(int argc, char** argv);
