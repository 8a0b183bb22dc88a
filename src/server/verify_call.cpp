#include "server/verify_call.h"

#include "files/file_read.h"
#include "server/judgement_json.h"

#include <cstdio>
#include <string>

namespace {

// The limits apply to this process alone, and are set before it touches the demo.
bool limitThisProcess()
{
    const rlimit processor{kVerifyProcessorSeconds, kVerifyProcessorSeconds + 1}; // SIGXCPU, then SIGKILL
    const rlimit noCore{0, 0};
    bool limited = setpriority(PRIO_PROCESS, 0, kVerifyNiceness) == 0 && setrlimit(RLIMIT_CPU, &processor) == 0 &&
                   setrlimit(RLIMIT_CORE, &noCore) == 0;
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's shadow memory alone is far above any data limit
    const rlimit data{kVerifyDataBytes, kVerifyDataBytes};
    limited = limited && setrlimit(RLIMIT_DATA, &data) == 0;
#endif
    return limited;
}

ChallengeJudgement judgeFile(const std::string& path, const std::string& dataFolder)
{
    if (!limitThisProcess()) return {false, "the replay could not be limited", 0, 0};
    // Read here rather than by readDemoFile, whose messages name the file: a client is
    // told what is wrong with its demo, not where the server kept it.
    FileBytes bytes;
    Demo demo;
    std::string problem;
    if (!readWholeFile(path, {"demo", kDemoLargestFile}, bytes, problem) || !parseDemo(bytes.bytes(), demo, problem)) {
        return {false, "not a demo: " + problem, 0, 0};
    }
    return judgeChallengeDemo(std::move(demo), dataFolder);
}

} // namespace

bool isVerifyCall(int argc, char** argv)
{
    return argc == 5 && argv[1] == kVerifyDemoArgument && std::string_view(argv[3]) == "--data";
}

int runVerifyCall(int, char** argv)
{
    const std::string answer = judgementJson(judgeFile(argv[2], argv[4])) + "\n";
    return std::fputs(answer.c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}
