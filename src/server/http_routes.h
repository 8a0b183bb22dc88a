// The leaderboard's HTTP face: each route parses its request, asks the leaderboard
// and sends the reply. The board's page answers "/" even when the site has an
// index.html of its own; the rest of the site is served as files.
#pragma once

#include "server/leaderboard.h"

#include <httplib.h>

#include <string>

void addRoutes(httplib::Server& server, Leaderboard& leaderboard, const std::string& trustedProxy);
