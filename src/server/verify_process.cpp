#include "server/verify_process.h"

#include "server/judgement_json.h"
#include "server/verify_call.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace {

// A verdict is a line of JSON; more than this is no verdict.
constexpr size_t kLongestAnswer = 64 * 1024;
// The status of a child whose program could not be run, by convention.
constexpr int kCouldNotStart = 127;

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// The demo in a file only this user can read, removed again with the object.
class TemporaryDemo {
public:
    bool write(std::span<const uint8_t> demo, std::string& error)
    {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/space-game-verify-XXXXXX";
        const int file = mkostemp(pattern.data(), O_CLOEXEC);
        if (file < 0) {
            error = systemError("cannot make a temporary file in " + pattern.substr(0, pattern.rfind('/')));
            return false;
        }
        path_ = pattern;
        size_t written = 0;
        while (written < demo.size()) {
            const ssize_t count = ::write(file, demo.data() + written, demo.size() - written);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            written += static_cast<size_t>(count);
        }
        const bool whole = written == demo.size();
        const bool closed = ::close(file) == 0;
        if (!whole || !closed) error = systemError("cannot write " + path_);
        return whole && closed;
    }
    ~TemporaryDemo()
    {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The child started with its standard output on a pipe whose read end is returned;
// every other descriptor of the server is closed on exec (all are opened O_CLOEXEC).
bool spawnVerifier(const VerifyProgram& program, const std::string& demoPath, pid_t& child, int& output,
                   std::string& error)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        error = systemError("cannot make a pipe");
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    // The server blocks the signals its own thread waits for and ignores SIGPIPE; the
    // child starts with neither, so that it can be stopped like any process.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> arguments{program.path, std::string(kVerifyDemoArgument), demoPath, "--data",
                                       program.dataFolder};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int failure = posix_spawn(&child, program.path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[1]);
    if (failure != 0) {
        ::close(ends[0]);
        error = "cannot start " + program.path + ": " + std::strerror(failure);
        return false;
    }
    output = ends[0];
    return true;
}

enum class AnswerEnd { Whole, Late, Stopped };

// Reads to the end of the output, or until the deadline passes or the server stops,
// which it looks at every kStopCheck.
AnswerEnd readAnswer(int output, std::chrono::steady_clock::time_point deadline, const std::atomic<bool>& stopping,
                     std::string& answer)
{
    constexpr std::chrono::milliseconds kStopCheck{200};
    char buffer[4096];
    for (;;) {
        if (stopping) return AnswerEnd::Stopped;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return AnswerEnd::Late;
        pollfd ready{output, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(std::min(left, kStopCheck).count()));
        if ((polled < 0 && errno == EINTR) || polled == 0) continue;
        if (polled < 0) return AnswerEnd::Whole; // nothing more can be read: the answer is what came
        const ssize_t count = ::read(output, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return AnswerEnd::Whole;
        if (answer.size() < kLongestAnswer) answer.append(buffer, static_cast<size_t>(count));
    }
}

int waitForChild(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::string howItEnded(int status)
{
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        if (signal == SIGXCPU || signal == SIGKILL) {
            return "it used more than its " + std::to_string(kVerifyProcessorSeconds) + " s of processor time";
        }
        return std::string("it crashed (") + strsignal(signal) + ")";
    }
    if (WEXITSTATUS(status) == 0) return "it gave no verdict";
    return "it ended with status " + std::to_string(WEXITSTATUS(status));
}

ChallengeJudgement failed(const std::string& why) { return {false, "the replay failed: " + why, 0, 0}; }

} // namespace

std::optional<ChallengeJudgement> judgeInChildProcess(const VerifyProgram& program, std::span<const uint8_t> demo,
                                                      const std::atomic<bool>& stopping, std::string& error)
{
    TemporaryDemo file;
    pid_t child = 0;
    int output = -1;
    if (!file.write(demo, error) || !spawnVerifier(program, file.path(), child, output, error)) return std::nullopt;
    std::string answer;
    const AnswerEnd end = readAnswer(output, std::chrono::steady_clock::now() + kVerifyDeadline, stopping, answer);
    ::close(output);
    if (end != AnswerEnd::Whole) kill(child, SIGKILL);
    const int status = waitForChild(child);
    if (end == AnswerEnd::Stopped) {
        error = "the server is stopping";
        return std::nullopt;
    }
    if (end == AnswerEnd::Late) return failed("it took longer than " + std::to_string(kVerifyDeadline.count()) + " s");
    // Where posix_spawn cannot report a program that fails to start (an emulator runs
    // it as fork and exec), the child ends with 127 and says nothing: as when it does.
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCouldNotStart && answer.empty()) {
        error = "cannot start " + program.path;
        return std::nullopt;
    }
    const std::optional<ChallengeJudgement> judgement = parseJudgementJson(answer);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && judgement) return judgement;
    return failed(howItEnded(status));
}
