// Where the leaderboard keeps its runs: one small interface, kept by SQLite (one
// server process, WAL) or by PostgreSQL (any number of processes). A run is stored as
// sent and ranked only by the verdict of its own replay; no client address is stored.
// Storage failures (a full disk, a lost connection) throw RunStoreError with the
// reason in words; every other outcome is a value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class RunStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RunStatus { Pending, Verified, Rejected };
// "pending", "verified", "rejected": the names clients see.
const char* runStatusName(RunStatus status);

using RunId = int64_t;
using UtcSeconds = int64_t;

// A submission as the server accepted it, before any replay.
struct NewRun {
    std::string name;
    std::string day;  // "YYYY-MM-DD", as the demo names it
    std::string key;  // runKey() of the demo: its day and inputs
    std::string demo; // the demo file's bytes
    UtcSeconds receivedAt = 0;
};

struct Submission {
    RunId id = 0;
    // The run that was verified first with the same key, when there is one: nothing
    // was stored and deleteToken is empty.
    bool alreadyVerified = false;
    std::string deleteToken;
};

struct RunInfo {
    RunId id = 0;
    std::string name;
    std::string day;
    RunStatus status = RunStatus::Pending;
    int score = 0; // the replay's, once verified
    int level = 0;
    int rank = 0;  // among the day's verified runs; 0 unless verified
    std::string reason; // why it was rejected
    std::optional<RunId> duplicateOf; // the run these inputs were verified as first
};

struct BoardEntry {
    int rank = 0;
    RunId id = 0;
    std::string name;
    int score = 0;
    int level = 0;
};

// A pending run taken for verification. Only the holder of the current claim can
// write its verdict; a claim not finished by expiresAt may be taken by another.
struct RunClaim {
    RunId id = 0;
    std::string token;
    std::string demo;
    UtcSeconds expiresAt = 0;
};

struct Verdict {
    bool verified = false;
    int score = 0;      // verified: the replay's
    int level = 0;
    std::string reason; // rejected: why
};

enum class FinishOutcome {
    Written,   // the verdict stands
    Duplicate, // verified, but the same inputs were verified first as another run
    Stale,     // the claim was no longer current (taken again, or the run deleted)
};

enum class DeleteOutcome { Deleted, NoSuchRun, WrongToken };

constexpr int kBoardLength = 100;
constexpr UtcSeconds kRejectedDemoKeptFor = 7 * 24 * 3600;
// What a duplicate's reason says; duplicateOf names the run.
constexpr const char* kDuplicateReason = "the same inputs were verified first as another run";

// One store may be shared by threads, but its calls take turns (a database connection
// serves one at a time): readers that must not wait behind a write open a store of
// their own.
class RunStore {
public:
    virtual ~RunStore() = default;

    // Stores a pending run, unless a verified run has the same key: then that run's id
    // comes back and the first submitter keeps it. Rejected runs block nobody.
    virtual Submission submit(const NewRun& run) = 0;
    virtual std::optional<RunInfo> run(RunId id) = 0;
    // The day's verified runs, best score first, ties to the earlier submission.
    virtual std::vector<BoardEntry> board(const std::string& day) = 0;
    // Nothing when the run is unknown or its demo was dropped.
    virtual std::optional<std::string> demo(RunId id) = 0;
    virtual DeleteOutcome remove(RunId id, const std::string& deleteToken) = 0;
    virtual int64_t pendingCount() = 0;

    // The oldest pending run that is unclaimed or whose claim has expired, claimed
    // until now + claimFor; nothing when there is none.
    virtual std::optional<RunClaim> claimNext(UtcSeconds now, UtcSeconds claimFor) = 0;
    // Writes the verdict if the claim is still current. A verified run whose key is
    // already verified becomes the duplicate of whichever was submitted first, so a
    // run is never ranked twice and the first submitter keeps it.
    virtual FinishOutcome finish(const RunClaim& claim, const Verdict& verdict, UtcSeconds now) = 0;
    // Forgets the demos of runs rejected more than kRejectedDemoKeptFor ago; how many.
    virtual int64_t dropOldRejectedDemos(UtcSeconds now) = 0;
};

// "sqlite:PATH" (the folder is made) or "postgresql://..."; the schema is made when
// missing. Nothing, with error naming the database and the problem, when it cannot open.
std::unique_ptr<RunStore> openRunStore(const std::string& database, std::string& error);
