// What the leaderboard server says about itself on its command line, and the settings
// read from it: where it listens, its database, the site it serves, the proxy it
// trusts and how many workers verify runs.
#pragma once

#include "app/program_launch.h"

#include <string>

extern const ProgramText kServerProgram;

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string database;     // "sqlite:PATH" or "postgresql://..."
    std::string site;         // the browser build's folder; empty: the API and the board alone
    std::string trustedProxy; // the one address whose X-Forwarded-For is believed; empty: none
    unsigned workers = 0;     // the verifying workers; 0: none, only requests answered
};

// The options given, with the defaults for the rest (the SQLite file under
// $XDG_DATA_HOME/space-game/server/, a worker per core). False with error, in words for the user, when
// one cannot be used.
bool readServerOptions(const CommandLine& commandLine, const Environment& environment, ServerOptions& options,
                       std::string& error);
