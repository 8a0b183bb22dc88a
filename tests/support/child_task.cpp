#include "support/child_task.h"

#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <sstream>

extern char** environ;

namespace {

constexpr const char* kTaskOption = "--child-task";
constexpr const char* kAsNobodyOption = "--as-nobody";

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

std::string thisProgram()
{
    std::vector<char> path(4096);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<size_t>(length)) : std::string();
}

bool dropRootForNobody()
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

} // namespace

ChildTask::ChildTask(std::string name, ChildTaskBody body) : name_(std::move(name)), body_(body)
{
    registeredTasks().emplace(name_, body_);
}

pid_t ChildTask::start(const std::vector<std::string>& arguments, bool asNobody) const
{
    std::vector<std::string> words = emulatorCommand();
    words.insert(words.end(), {thisProgram(), kTaskOption, name_});
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
    if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isChildTaskCall(int argc, char** argv) { return argc >= 3 && std::strcmp(argv[1], kTaskOption) == 0; }

int runChildTaskCall(int argc, char** argv)
{
    const auto task = registeredTasks().find(argv[2]);
    if (task == registeredTasks().end()) {
        std::fprintf(stderr, "%s: no child task named %s\n", argv[0], argv[2]);
        return 2;
    }
    int first = 3;
    if (first < argc && std::strcmp(argv[first], kAsNobodyOption) == 0) {
        if (!dropRootForNobody()) return 1;
        ++first;
    }
    return task->second(std::vector<std::string>(argv + first, argv + argc)) ? 0 : 1;
}
