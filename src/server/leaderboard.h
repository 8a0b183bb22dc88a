// What each request asks of the leaderboard, apart from HTTP: the handlers parse a
// request, call one of these and send the reply. Storage failures become a 500 reply
// (the detail goes to the server's log, not to the client).
#pragma once

#include "server/client_limits.h"
#include "server/server_day.h"
#include "server/store_pool.h"
#include "server/verify_workers.h"

#include <cstdint>
#include <span>
#include <string>

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    int64_t retryAfter = 0; // seconds, sent when not 0
};

// A reply {"error": reason}.
Reply errorReply(int status, const std::string& reason);

class Leaderboard {
public:
    Leaderboard(StorePool& stores, ClientLimits& limits, VerifyWorkers& workers, ServerClock clock)
        : stores_(stores), limits_(limits), workers_(workers), clock_(clock)
    {
    }

    Reply submit(const std::string& address, const std::string& name, std::span<const uint8_t> body);
    Reply run(const std::string& id);
    Reply demo(const std::string& id);
    Reply remove(const std::string& id, const std::string& token);
    Reply board(const std::string& day);
    // The board as a page: the day's, or today's when day is empty.
    Reply boardPage(const std::string& day);
    Reply info();

private:
    template <typename Work> Reply guarded(Work work);
    Reply store(const std::string& address, const std::string& name, const Demo& demo, std::span<const uint8_t> body);
    bool underPendingLimit(RunStore& store, const std::string& address);

    StorePool& stores_;
    ClientLimits& limits_;
    VerifyWorkers& workers_;
    ServerClock clock_;
};
