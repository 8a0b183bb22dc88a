// The server's options table, its help text and the checks of what is given.
#include "server/server_command_line.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <thread>

namespace {

constexpr OptionSpec kListenOption{"--listen", "HOST:PORT", "take requests there (127.0.0.1:8080; port 0: any free one)"};
constexpr OptionSpec kDatabaseOption{"--database", "URL", "keep the runs in sqlite:PATH or postgresql://..."};
constexpr OptionSpec kSiteOption{"--site", "DIR", "serve the browser build's pages from DIR as well"};
constexpr OptionSpec kTrustedProxyOption{"--trusted-proxy", "ADDR",
                                         "read the client's address from X-Forwarded-For on requests from ADDR"};

constexpr OptionSpec kWorkersOption{"--workers", "N",
                                    "verify runs with N workers (one per core; 0: only answer requests)"};

// More workers than this would only wait for each other's processors.
constexpr unsigned kMostWorkers = 256;

constexpr OptionSpec kServerOptions[] = {kListenOption, kDatabaseOption, kSiteOption, kTrustedProxyOption,
                                         kWorkersOption, kDataOption,    kHelpOption, kVersionOption};

constexpr std::string_view kServerDetails = R"(The server ranks the daily challenge's runs by replaying their demos itself: a
client sends the demo, never a score. Each run is replayed in a process of its own,
at a lower priority and with limits on its processor time and memory, by as many
workers as the machine has cores (--workers). A process with no workers answers
requests while others that share its PostgreSQL database verify.

The database is an SQLite file, $XDG_DATA_HOME/space-game/server/runs.sqlite
(~/.local/share by default), unless --database names another; several server
processes can share one PostgreSQL database (--database postgresql://...).

API: POST /api/runs?name=NAME (the demo as the body), GET /api/runs/ID,
GET /api/runs/ID/demo, DELETE /api/runs/ID?token=TOKEN, GET /api/boards/DAY,
GET /api/info; the board as a page at / and /boards/DAY.

The limits on clients (runs a minute, runs pending) are kept by each process.
TLS is the job of a reverse proxy in front; name it with --trusted-proxy.

SPACE_GAME_SERVER_TODAY=YYYY-MM-DD sets the server's day, a testing aid.
)";

std::string defaultDatabase(const Environment& environment, std::string& error)
{
    const std::string data = userDataFolder(environment);
    if (data.empty()) {
        error = "no folder for the database (" + homeProblem(environment) + "): give --database";
        return {};
    }
    return "sqlite:" + data + "/server/runs.sqlite";
}

// "HOST:PORT", the host an IPv4 or bracketed IPv6 address or a name.
bool parseListen(const std::string& text, ServerOptions& options, std::string& error)
{
    const size_t colon = text.rfind(':');
    error = "--listen wants HOST:PORT with a port from 1 to 65535 (or 0: any free one), not '" + text + "'";
    if (colon == std::string::npos || colon == 0) return false;
    std::string host = text.substr(0, colon);
    if (host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    int port = 0;
    const auto [end, problem] = std::from_chars(first, last, port);
    if (host.empty() || first == last || problem != std::errc() || end != last || port < 0 || port > 65535) {
        return false;
    }
    options.host = host;
    options.port = port;
    error.clear();
    return true;
}

bool parseWorkers(const std::string& text, ServerOptions& options, std::string& error)
{
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), options.workers);
    if (problem == std::errc() && end == text.data() + text.size() && options.workers <= kMostWorkers) return true;
    error = "--workers wants a number from 0 to " + std::to_string(kMostWorkers) + ", not '" + text + "'";
    return false;
}

bool isAddress(const std::string& text)
{
    unsigned char bytes[16];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 || inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

} // namespace

const ProgramText kServerProgram{
    .title = "Space Game server",
    .summary = "Serve the daily challenge's leaderboard, ranking only runs that its own replays prove.",
    .operands = "",
    .mostOperands = 0,
    .options = kServerOptions,
    .details = kServerDetails,
};

bool readServerOptions(const CommandLine& commandLine, const Environment& environment, ServerOptions& options,
                       std::string& error)
{
    if (commandLine.has(kListenOption.name) && !parseListen(commandLine.value(kListenOption.name), options, error)) {
        return false;
    }
    options.database = commandLine.value(kDatabaseOption.name);
    if (options.database.empty()) options.database = defaultDatabase(environment, error);
    if (options.database.empty()) return false;
    options.site = commandLine.value(kSiteOption.name);
    std::error_code problem;
    if (!options.site.empty() && !std::filesystem::is_directory(options.site, problem)) {
        error = "--site: " + options.site + " is not a folder";
        return false;
    }
    options.trustedProxy = commandLine.value(kTrustedProxyOption.name);
    if (!options.trustedProxy.empty() && !isAddress(options.trustedProxy)) {
        error = "--trusted-proxy wants an IP address, not '" + options.trustedProxy + "'";
        return false;
    }
    options.workers = std::max(1u, std::thread::hardware_concurrency());
    return !commandLine.has(kWorkersOption.name) || parseWorkers(commandLine.value(kWorkersOption.name), options, error);
}
