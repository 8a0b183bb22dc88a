// The limits on each client, by address: at most kRunsPerMinute runs sent in any
// minute and kPendingPerClient runs waiting for their replay. They are kept in this
// process's memory alone (each server process keeps its own) and the addresses are
// never stored; an address is forgotten once it has nothing counted.
#pragma once

#include "server/store/run_store.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

constexpr size_t kRunsPerMinute = 30;
constexpr size_t kPendingPerClient = 10;

// The client's address: the connection's, or, on a connection from the trusted proxy,
// the last address of its X-Forwarded-For (the one that proxy added; earlier ones are
// the client's own word).
std::string clientAddress(const std::string& connectedFrom, const std::string& forwardedFor,
                          const std::string& trustedProxy);

class ClientLimits {
public:
    using Clock = std::chrono::steady_clock;

    // Counts a run sent now; false, uncounted, when the address has sent
    // kRunsPerMinute in the last minute already.
    bool admitRun(const std::string& address, Clock::time_point now);
    // The runs counted as pending for the address.
    std::vector<RunId> pendingOf(const std::string& address);
    void addPending(const std::string& address, RunId id);
    // The run is judged or deleted: no longer pending for anyone.
    void settle(RunId id);

private:
    void forgetIdle(Clock::time_point now);

    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<Clock::time_point>> recentRuns_;
    std::unordered_map<std::string, std::vector<RunId>> pending_;
    std::unordered_map<RunId, std::string> pendingAddress_;
    Clock::time_point lastSweep_{};
};
