// The leaderboard server's entry point: the judgement of one demo when the server
// started this program to make one (verify_call.h), else the server itself.
#include "server/run_server.h"
#include "server/server_command_line.h"
#include "server/verify_call.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (isVerifyCall(argc, argv)) return runVerifyCall(argc, argv);
    Launch launch;
    if (const std::optional<int> status = launchProgram(kServerProgram, argc, argv, launch)) return *status;
    ServerOptions options;
    std::string error;
    if (!readServerOptions(launch.commandLine, launch.environment, options, error)) {
        std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), error.c_str());
        return 2;
    }
    return runServer(launch, options);
}
