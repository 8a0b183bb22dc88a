// Sending a kept challenge run to a leaderboard server and following its check there.
// The server is first asked whether it has the API (GET /api/info), then sent the
// run's demo (POST /api/runs), then asked about the run (GET /api/runs/ID) until its
// replay has verified or rejected it. Nothing here waits: each step starts a request
// and a later turn looks at its reply, so the game goes on whatever the network does.
#pragma once

#include <string>

struct BoardUpload {
    enum class Stage { askingApi, sending, checking, done };
    std::string server;       // "https://host[:port]", no slash at the end
    bool quietWithoutApi = false; // the page's own server: no API there is no news
    std::string name;
    std::string demo;         // the demo file's bytes
    Stage stage = Stage::askingApi;
    int request = 0;          // the request under way
    std::string runId;
    double nextAsk = 0;       // when to ask about the run again (REAL_SECONDS)
    double givingUpAt = 0;
    std::string verdict;      // for the player; "" while there is nothing to say
};

// quietWithoutApi: a server that turns out to have no API is no news (the page's own).
BoardUpload startBoardUpload(const std::string& server, bool quietWithoutApi, const std::string& name,
                             const std::string& demo, double now);
// Looks at the request under way and starts the next; true when the verdict changed.
bool followBoardUpload(BoardUpload& upload, double now);
