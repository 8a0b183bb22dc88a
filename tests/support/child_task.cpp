#include "support/child_task.h"

#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

extern char** environ;

namespace {

constexpr const char* kTaskOption = "--child-task";
constexpr const char* kAsNobodyOption = "--as-nobody";
// The child's exit statuses; any other means it never ran its task.
constexpr int kHeld = 0;
constexpr int kDidNotHold = 1;
constexpr int kCannotRun = 2;

std::map<std::string, ChildTaskBody>& registeredTasks()
{
    static std::map<std::string, ChildTaskBody> tasks;
    return tasks;
}

// A cross build's tests run under an emulator, which cannot start the target's
// programs by itself (the kernel does not know their format): the child goes through
// the same emulator.
std::vector<std::string> emulatorCommand()
{
    std::vector<std::string> words;
#ifdef CHILD_TASK_EMULATOR
    std::istringstream command(CHILD_TASK_EMULATOR);
    for (std::string word; command >> word;) words.push_back(word);
#endif
    return words;
}

std::string readThisProgram()
{
    std::vector<char> path(4096);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<size_t>(length)) : std::string();
}

// Read before any test changes the working folder: under qemu the link is made from
// the path the program was started by, which may be relative.
const std::string kThisProgram = readThisProgram();

bool dropRootForNobody()
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

int runTask(int argc, char** argv)
{
    const auto task = registeredTasks().find(argv[2]);
    if (task == registeredTasks().end()) {
        std::fprintf(stderr, "%s: no child task named %s\n", argv[0], argv[2]);
        return kCannotRun;
    }
    int first = 3;
    if (first < argc && std::strcmp(argv[first], kAsNobodyOption) == 0) {
        if (!dropRootForNobody()) {
            std::fprintf(stderr, "%s: cannot become nobody: %s\n", argv[0], std::strerror(errno));
            return kCannotRun;
        }
        ++first;
    }
    return task->second(std::vector<std::string>(argv + first, argv + argc)) ? kHeld : kDidNotHold;
}

} // namespace

ChildTask::ChildTask(std::string name, ChildTaskBody body) : name_(std::move(name)), body_(body)
{
    registeredTasks().emplace(name_, body_);
}

pid_t ChildTask::start(const std::vector<std::string>& arguments, bool asNobody) const
{
    std::vector<std::string> words = emulatorCommand();
    words.insert(words.end(), {kThisProgram, kTaskOption, name_});
    if (asNobody) words.push_back(kAsNobodyOption);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t child = -1;
    const int failure = ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ);
    if (failure != 0) {
        ADD_FAILURE() << "cannot start " << argv[0] << " for the task " << name_ << ": " << std::strerror(failure);
        return -1;
    }
    return child;
}

bool childSucceeded(pid_t child)
{
    int status = 0;
    if (child < 0) return false;
    if (::waitpid(child, &status, 0) != child) {
        ADD_FAILURE() << "cannot wait for the child process " << child << ": " << std::strerror(errno);
        return false;
    }
    const bool ran = WIFEXITED(status) && (WEXITSTATUS(status) == kHeld || WEXITSTATUS(status) == kDidNotHold);
    // A child that could not run its task must not pass for a check that did not hold.
    if (!ran) ADD_FAILURE() << "the child process did not run its task (wait status " << status << ")";
    return ran && WEXITSTATUS(status) == kHeld;
}

bool isChildTaskCall(int argc, char** argv) { return argc >= 3 && std::strcmp(argv[1], kTaskOption) == 0; }

[[noreturn]] void runChildTaskCall(int argc, char** argv)
{
    // Ended with _exit, as a forked child would be: the leak checker of a sanitizer
    // build cannot inspect a process that changed its user, and the task's leaks are
    // the parent's tests' business.
    ::_exit(runTask(argc, argv));
}
