// The workers that judge pending runs, apart from the threads that answer requests:
// threads (one per core unless told), each with a store of its own, claiming the oldest pending run,
// judging it in a child process (verify_process.h) and writing the verdict if its
// claim still holds; an idle one drops the demos of runs rejected a week ago. They
// wake when a run arrives, and every few seconds for runs
// that other server processes received or left behind.
#pragma once

#include "server/store/run_store.h"
#include "server/verify_process.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A claim outlives the longest judgement, so that only a claim whose process died
// is taken again.
constexpr UtcSeconds kClaimSeconds = kVerifyDeadline.count() + 60;
// A testing aid that shortens the claims, so that a benchmark sees a killed process's
// runs taken over within seconds; a claim shorter than a replay is taken again while
// it is judged, and only the later judgement's verdict is written.
inline const std::string kClaimSecondsVariable = "SPACE_GAME_SERVER_CLAIM_SECONDS";
// No more runs wait than the workers can judge in this time.
constexpr UtcSeconds kLongestQueueSeconds = 600;
// A testing aid that shortens that time; at 0 every run that would wait is refused,
// which is how a test reaches the answer for a server with too much to do.
inline const std::string kQueueSecondsVariable = "SPACE_GAME_SERVER_QUEUE_SECONDS";

class VerifyWorkers {
public:
    // settled is told each run whose verdict this process wrote or lost.
    VerifyWorkers(std::string database, VerifyProgram program, unsigned count, std::function<void(RunId)> settled,
                  UtcSeconds claimSeconds = kClaimSeconds, UtcSeconds queueSeconds = kLongestQueueSeconds);
    ~VerifyWorkers(); // ends the judgements in progress (their runs wait for another claim) and joins
    VerifyWorkers(const VerifyWorkers&) = delete;
    VerifyWorkers& operator=(const VerifyWorkers&) = delete;

    void wake();
    unsigned count() const { return static_cast<unsigned>(threads_.size()); }
    // How many pending runs the workers can judge within the queue's time
    // (kLongestQueueSeconds), by the time the judgements have taken so far.
    int64_t queueCapacity() const;
    // When that many more pending runs will have been judged.
    int64_t secondsToJudge(int64_t runs) const;

private:
    void work();
    bool judgeOne(RunStore& store);
    void waitForWork(uint64_t wakesSeen);

    std::string database_;
    VerifyProgram program_;
    std::function<void(RunId)> settled_;
    UtcSeconds claimSeconds_;
    UtcSeconds queueSeconds_;
    std::atomic<double> secondsPerRun_;
    std::mutex mutex_;
    std::condition_variable wakeUp_;
    std::atomic<bool> stopping_ = false;
    uint64_t wakeCount_ = 0;
    std::vector<std::thread> threads_;
};

// Seconds since 1970 now, as the store keeps its times.
UtcSeconds utcNow();
