#include "server/verify_workers.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

// Before the first judgement is timed: a slow machine's time for a three-minute run.
constexpr double kFirstGuessSeconds = 10.0;
// Runs of other processes are looked for this often when nothing wakes a worker.
constexpr std::chrono::seconds kIdlePoll{5};
// An idle worker drops the demos of runs rejected a week ago this often.
constexpr UtcSeconds kDropInterval = 3600;
// Each new time counts this much in the running mean.
constexpr double kNewTimeWeight = 0.2;

} // namespace

UtcSeconds utcNow() { return static_cast<UtcSeconds>(std::time(nullptr)); }

VerifyWorkers::VerifyWorkers(std::string database, VerifyProgram program, unsigned count,
                             std::function<void(RunId)> settled, UtcSeconds claimSeconds, UtcSeconds queueSeconds)
    : database_(std::move(database)), program_(std::move(program)), settled_(std::move(settled)),
      claimSeconds_(claimSeconds), queueSeconds_(queueSeconds), secondsPerRun_(kFirstGuessSeconds)
{
    for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
}

VerifyWorkers::~VerifyWorkers()
{
    {
        const std::lock_guard lock(mutex_); // a worker between its check and its wait would miss the news
        stopping_ = true;
    }
    wakeUp_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void VerifyWorkers::wake()
{
    {
        const std::lock_guard lock(mutex_);
        ++wakeCount_;
    }
    wakeUp_.notify_one();
}

int64_t VerifyWorkers::queueCapacity() const
{
    // Without workers of its own a process cannot tell how fast the others verify.
    if (count() == 0) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(double(count()) * double(queueSeconds_) / secondsPerRun_.load());
}

int64_t VerifyWorkers::secondsToJudge(int64_t runs) const
{
    return static_cast<int64_t>(std::ceil(double(runs) * secondsPerRun_.load() / double(count())));
}

void VerifyWorkers::work()
{
    std::string error;
    const std::unique_ptr<RunStore> store = openRunStore(database_, error);
    if (!store) {
        std::fprintf(stderr, "space-game-server: a verifying worker cannot open the database: %s\n", error.c_str());
        return;
    }
    UtcSeconds lastDrop = 0;
    for (;;) {
        uint64_t wakesSeen = 0;
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) return;
            wakesSeen = wakeCount_;
        }
        bool judged = false;
        try {
            judged = judgeOne(*store);
            if (!judged && utcNow() - lastDrop >= kDropInterval) {
                lastDrop = utcNow();
                store->dropOldRejectedDemos(lastDrop);
            }
        } catch (const RunStoreError& failure) {
            std::fprintf(stderr, "space-game-server: verifying: %s\n", failure.what());
        }
        if (!judged) waitForWork(wakesSeen);
    }
}

// False when there was nothing to judge, or it could not be judged now.
bool VerifyWorkers::judgeOne(RunStore& store)
{
    const std::optional<RunClaim> claim = store.claimNext(utcNow(), claimSeconds_);
    if (!claim) return false;
    const auto demo = std::span(reinterpret_cast<const uint8_t*>(claim->demo.data()), claim->demo.size());
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    const std::optional<ChallengeJudgement> judgement = judgeInChildProcess(program_, demo, stopping_, error);
    if (!judgement) {
        // The claim runs out and the run is judged again, here or by another process.
        std::fprintf(stderr, "space-game-server: run %lld waits: %s\n", static_cast<long long>(claim->id), error.c_str());
        return false;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    secondsPerRun_ = secondsPerRun_.load() * (1.0 - kNewTimeWeight) + seconds * kNewTimeWeight;
    store.finish(*claim, Verdict{judgement->verified, judgement->score, judgement->level, judgement->reason}, utcNow());
    settled_(claim->id);
    return true;
}

// Until a run arrives (or arrived since the worker last looked), the poll interval
// passes, or the workers stop.
void VerifyWorkers::waitForWork(uint64_t wakesSeen)
{
    std::unique_lock lock(mutex_);
    wakeUp_.wait_for(lock, kIdlePoll, [&] { return stopping_ || wakeCount_ != wakesSeen; });
}
