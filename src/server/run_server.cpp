#include "server/run_server.h"

#include "server/http_routes.h"
#include "server/submission_check.h"

#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

// A client that stops sending or reading is let go after this long.
constexpr time_t kSocketTimeoutSeconds = 10;
constexpr time_t kKeepAliveSeconds = 5;

void configure(httplib::Server& server)
{
    // The library's default adds SO_REUSEPORT, with which a second server on a port in
    // use would start and silently share it; SO_REUSEADDR alone still lets a restart
    // take the port back at once.
    server.set_socket_options([](int socket) {
        const int on = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
    // A reply goes out as its headers, then its body: with Nagle's wait on, a client
    // that keeps its connection gets the body only after its delayed ACK, 40 ms later.
    server.set_tcp_nodelay(true);
    server.set_read_timeout(kSocketTimeoutSeconds, 0);
    server.set_write_timeout(kSocketTimeoutSeconds, 0);
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    server.set_payload_max_length(kLargestBody);
}

// Binds the address; port 0 takes any free port, which is said with the rest.
bool bind(httplib::Server& server, const ServerOptions& options, int& port, std::string& error)
{
    errno = 0;
    port = options.port == 0 ? server.bind_to_any_port(options.host) : options.port;
    if (port > 0 && (options.port == 0 || server.bind_to_port(options.host, port))) return true;
    error = "cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " +
            (errno ? std::strerror(errno) : "the address is not this machine's") +
            (errno == EADDRINUSE ? " (another program has the port)" : "");
    return false;
}

// The verifying children are this program with the same data folder, wherever the
// server's working folder is.
bool verifyProgram(const Launch& launch, VerifyProgram& program, std::string& error)
{
    program.path = executablePath();
    std::error_code problem;
    program.dataFolder = std::filesystem::absolute(launch.data.path, problem).string();
    if (program.path.empty() || problem) error = "cannot find its own program and data to replay runs with";
    return error.empty();
}

// A testing variable's seconds, from lowest to highest; seconds is left as it is when
// the variable is not set.
bool readSecondsVariable(const Environment& environment, const std::string& variable, UtcSeconds lowest,
                         UtcSeconds highest, UtcSeconds& seconds, std::string& error)
{
    const std::string text = environment(variable);
    if (text.empty()) return true;
    UtcSeconds read = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (problem == std::errc() && end == text.data() + text.size() && read >= lowest && read <= highest) {
        seconds = read;
        return true;
    }
    error = variable + " wants seconds from " + std::to_string(lowest) + " to " + std::to_string(highest) + ", not '" +
            text + "'";
    return false;
}

int fail(const Launch& launch, const std::string& error, int status)
{
    std::fprintf(stderr, "%s: %s\n", launch.program.c_str(), error.c_str());
    return status;
}

} // namespace

int runServer(const Launch& launch, const ServerOptions& options)
{
    umask(077); // the database holds each run's delete token: for this user's eyes only
    ServerClock clock;
    std::string error;
    if (!readServerClock(launch.environment, clock, error)) return fail(launch, error, 2);
    UtcSeconds claimSeconds = kClaimSeconds;
    UtcSeconds queueSeconds = kLongestQueueSeconds;
    if (!readSecondsVariable(launch.environment, kClaimSecondsVariable, 1, kClaimSeconds, claimSeconds, error) ||
        !readSecondsVariable(launch.environment, kQueueSecondsVariable, 0, kLongestQueueSeconds, queueSeconds, error)) {
        return fail(launch, error, 2);
    }
    std::unique_ptr<RunStore> firstStore = openRunStore(options.database, error);
    if (!firstStore) return fail(launch, error, 1);
    VerifyProgram program;
    if (!verifyProgram(launch, program, error)) return fail(launch, error, 1);

    // Signals are taken by one thread that stops the server, so every thread started
    // from here on blocks them; a client that hangs up mid-reply is no signal at all.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    httplib::Server server;
    configure(server);
    int port = 0;
    if (!bind(server, options, port, error)) return fail(launch, error, 1);
    if (!options.site.empty() && !server.set_mount_point("/", options.site)) {
        return fail(launch, "cannot serve the site " + options.site, 1);
    }
    ClientLimits limits;
    VerifyWorkers workers(options.database, program, options.workers, [&limits](RunId id) { limits.settle(id); },
                          claimSeconds, queueSeconds);
    StorePool stores(options.database, std::move(firstStore));
    Leaderboard leaderboard(stores, limits, workers, clock);
    addRoutes(server, leaderboard, options.trustedProxy);

    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    std::printf("%s: listening on http://%s:%d/ with %u verifying workers\n", launch.program.c_str(),
                options.host.c_str(), port, options.workers);
    std::fflush(stdout);
    const bool listened = server.listen_after_bind();
    pthread_kill(stopper.native_handle(), SIGTERM); // the stopper, if the server ended by itself
    stopper.join();
    return listened ? 0 : fail(launch, "the server stopped taking requests", 1);
}
