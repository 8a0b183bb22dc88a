#include "server/store/run_key.h"
#include "server/store/run_store.h"

#include "support/child_task.h"
#include "support/postgres_cluster.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>
#include <pqxx/pqxx>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
// libpqxx 6.4 leaks the result of the query that finds its connection broken (the
// restart row below): inside the library, not ours to free, so the sanitizer build
// is told to look past allocations made in libpq.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libpq.so\n"; }
#endif

namespace {

constexpr UtcSeconds kMinute = 60;

// Every row runs against a fresh database of each kind: "sqlite" or "postgresql".
class RunStoreTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam() == "sqlite") {
            std::string pattern = (std::filesystem::temp_directory_path() / "runstore_XXXXXX").string();
            ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
            folder_ = pattern;
            database_ = "sqlite:" + folder_ + "/made/on/open/runs.sqlite";
        } else {
            std::string reason;
            bool unavailable = false;
            cluster_ = PostgresCluster::shared(reason, unavailable);
            if (unavailable) GTEST_SKIP() << reason;
            ASSERT_NE(cluster_, nullptr) << reason;
            database_ = cluster_->freshDatabase(reason);
            ASSERT_FALSE(database_.empty()) << reason;
        }
        store_ = open();
        ASSERT_TRUE(store_);
    }
    void TearDown() override
    {
        store_.reset();
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }

    std::unique_ptr<RunStore> open()
    {
        std::string error;
        std::unique_ptr<RunStore> store = openRunStore(database_, error);
        EXPECT_NE(store, nullptr) << error;
        return store;
    }

    Submission submit(const std::string& name, const std::string& key, const std::string& day = "2026-03-01")
    {
        return store_->submit({name, day, key, "demo of " + name, ++clock_});
    }

    // Claims the oldest pending run and writes the verdict.
    void verify(const Verdict& verdict)
    {
        std::optional<RunClaim> claim = store_->claimNext(clock_, kMinute);
        ASSERT_TRUE(claim);
        EXPECT_NE(store_->finish(*claim, verdict, clock_), FinishOutcome::Stale);
    }

    std::string folder_;
    PostgresCluster* cluster_ = nullptr;
    std::string database_;
    std::unique_ptr<RunStore> store_;
    UtcSeconds clock_ = 1'772'000'000;
};

Verdict verified(int score) { return {true, score, 2, ""}; }

TEST_P(RunStoreTest, Board_BestFirst_TiesToEarlierSubmission_OneDayOnly_RanksAgree)
{
    RunId a = submit("ann", "k1").id;
    RunId b = submit("bob", "k2").id;
    RunId c = submit("cy", "k3").id;
    RunId refused = submit("dee", "k4").id;
    RunId otherDay = submit("eve", "k5", "2026-03-02").id;
    verify(verified(50));
    verify(verified(80));
    verify(verified(50));
    verify({false, 0, 0, "the demo ends before its end"});
    verify(verified(999));

    std::vector<BoardEntry> board = store_->board("2026-03-01");
    ASSERT_EQ(board.size(), 3u);
    EXPECT_EQ(board[0].id, b);
    EXPECT_EQ(board[1].id, a);
    EXPECT_EQ(board[2].id, c);
    EXPECT_EQ(board[2].name, "cy");
    EXPECT_EQ(board[2].level, 2);
    for (const BoardEntry& entry : board) EXPECT_EQ(store_->run(entry.id)->rank, entry.rank);
    std::optional<RunInfo> rejected = store_->run(refused);
    EXPECT_EQ(rejected->status, RunStatus::Rejected);
    EXPECT_EQ(rejected->rank, 0);
    EXPECT_EQ(rejected->reason, "the demo ends before its end");
    EXPECT_EQ(store_->run(otherDay)->rank, 1);
    EXPECT_FALSE(store_->run(otherDay + 100));
}

TEST_P(RunStoreTest, SameInputs_GiveTheFirstVerifiedRun_RejectedOnesBlockNobody)
{
    RunId refused = submit("ann", "same").id;
    verify({false, 0, 0, "forged end"});
    Submission retry = submit("bob", "same");
    EXPECT_FALSE(retry.alreadyVerified);
    EXPECT_NE(retry.id, refused);
    verify(verified(40));

    Submission copy = submit("mallory", "same");
    EXPECT_TRUE(copy.alreadyVerified);
    EXPECT_EQ(copy.id, retry.id);
    EXPECT_TRUE(copy.deleteToken.empty());
    EXPECT_EQ(store_->pendingCount(), 0);
    EXPECT_EQ(store_->run(retry.id)->name, "bob");
}

// Two copies of one run, both pending when verified: whichever order the verdicts
// come in, the earlier submission is the one ranked, once.
TEST_P(RunStoreTest, CopiesVerifiedTogether_RankOnlyTheEarlierSubmission)
{
    for (bool laterFinishesFirst : {false, true}) {
        std::string key = laterFinishesFirst ? "copy-b" : "copy-a";
        RunId first = submit("first", key).id;
        RunId copy = submit("copier", key).id;
        RunId third = submit("third", key).id;
        std::optional<RunClaim> a = store_->claimNext(clock_, kMinute);
        std::optional<RunClaim> b = store_->claimNext(clock_, kMinute);
        std::optional<RunClaim> c = store_->claimNext(clock_, kMinute);
        ASSERT_TRUE(a && b && c);
        if (laterFinishesFirst) {
            EXPECT_EQ(store_->finish(*b, verified(70), clock_), FinishOutcome::Written);
            EXPECT_EQ(store_->finish(*c, verified(70), clock_), FinishOutcome::Duplicate);
            EXPECT_EQ(store_->finish(*a, verified(70), clock_), FinishOutcome::Written);
        } else {
            EXPECT_EQ(store_->finish(*a, verified(70), clock_), FinishOutcome::Written);
            EXPECT_EQ(store_->finish(*c, verified(70), clock_), FinishOutcome::Duplicate);
            EXPECT_EQ(store_->finish(*b, verified(70), clock_), FinishOutcome::Duplicate);
        }
        EXPECT_EQ(store_->run(first)->status, RunStatus::Verified) << laterFinishesFirst;
        for (RunId later : {copy, third}) {
            std::optional<RunInfo> info = store_->run(later);
            EXPECT_EQ(info->status, RunStatus::Rejected) << laterFinishesFirst;
            EXPECT_EQ(info->duplicateOf, first) << laterFinishesFirst;
        }
    }
    EXPECT_EQ(store_->board("2026-03-01").size(), 2u);
}

TEST_P(RunStoreTest, Claims_StaleTokenRefused_ExpiredClaimTakenAgain_DeletedRunStale)
{
    RunId id = submit("ann", "k").id;
    std::optional<RunClaim> first = store_->claimNext(clock_, kMinute);
    ASSERT_TRUE(first);
    EXPECT_FALSE(store_->claimNext(clock_ + kMinute - 1, kMinute)) << "a claim was taken before its time was up";
    std::optional<RunClaim> again = store_->claimNext(clock_ + kMinute, kMinute);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->id, id);
    EXPECT_EQ(again->demo, "demo of ann");

    EXPECT_EQ(store_->finish(*first, verified(10), clock_), FinishOutcome::Stale);
    EXPECT_EQ(store_->run(id)->status, RunStatus::Pending);
    EXPECT_EQ(store_->finish(*again, verified(10), clock_), FinishOutcome::Written);
    EXPECT_EQ(store_->finish(*again, {false, 0, 0, "late"}, clock_), FinishOutcome::Stale);
    EXPECT_EQ(store_->run(id)->status, RunStatus::Verified);

    Submission gone = submit("bob", "k2");
    std::optional<RunClaim> claim = store_->claimNext(clock_, kMinute);
    ASSERT_EQ(store_->remove(gone.id, gone.deleteToken), DeleteOutcome::Deleted);
    EXPECT_EQ(store_->finish(*claim, verified(10), clock_), FinishOutcome::Stale);
}

TEST_P(RunStoreTest, Delete_NeedsItsToken_AndFreesTheInputs)
{
    Submission run = submit("ann", "k");
    verify(verified(30));
    EXPECT_EQ(store_->remove(run.id, "not-the-token"), DeleteOutcome::WrongToken);
    EXPECT_EQ(store_->remove(run.id, ""), DeleteOutcome::WrongToken);
    EXPECT_TRUE(store_->run(run.id));
    EXPECT_EQ(store_->remove(run.id, run.deleteToken), DeleteOutcome::Deleted);
    EXPECT_FALSE(store_->run(run.id));
    EXPECT_FALSE(store_->demo(run.id));
    EXPECT_EQ(store_->remove(run.id, run.deleteToken), DeleteOutcome::NoSuchRun);
    EXPECT_TRUE(store_->board("2026-03-01").empty());
    Submission again = submit("ann", "k");
    EXPECT_FALSE(again.alreadyVerified);
    EXPECT_GT(again.id, run.id) << "a deleted run's id was given again";
}

TEST_P(RunStoreTest, DemoBytesKeptExactly_RejectedDemosDroppedAfterAWeek)
{
    const std::string bytes("SGDEMO\r\n\0\x01\xff\x80 end", 17);
    RunId id = store_->submit({"ann", "2026-03-01", "k", bytes, clock_}).id;
    EXPECT_EQ(store_->demo(id), bytes);
    EXPECT_EQ(store_->pendingCount(), 1);
    verify({false, 0, 0, "wrong day"});
    EXPECT_EQ(store_->pendingCount(), 0);
    EXPECT_EQ(store_->dropOldRejectedDemos(clock_ + kRejectedDemoKeptFor - 1), 0);
    EXPECT_EQ(store_->demo(id), bytes);
    EXPECT_EQ(store_->dropOldRejectedDemos(clock_ + kRejectedDemoKeptFor), 1);
    EXPECT_FALSE(store_->demo(id));
    EXPECT_EQ(store_->run(id)->reason, "wrong day");
}

// Claims and finishes every pending run it can get, as each of several servers does.
void claimAll(RunStore& store, UtcSeconds now, std::vector<RunId>& ids)
{
    while (std::optional<RunClaim> claim = store.claimNext(now, kMinute)) {
        ids.push_back(claim->id);
        store.finish(*claim, verified(int(claim->id)), now);
    }
}

// claimAll in a process of its own, given DATABASE NOW FILE: the ids go to FILE, one a line.
const ChildTask kClaimAll("RunStore.claimAll", [](const std::vector<std::string>& databaseNowFile) {
    std::string error;
    std::unique_ptr<RunStore> store = openRunStore(databaseNowFile.at(0), error);
    if (!store) return false;
    std::ofstream("ready").flush(); // so that both stores claim at once
    std::vector<RunId> ids;
    claimAll(*store, std::stoll(databaseNowFile.at(1)), ids);
    std::ofstream file(databaseNowFile.at(2));
    for (RunId id : ids) file << id << "\n";
    return bool(file.flush());
});

// Two server processes' worth of workers, each with its own store on one database: the
// other in a process of its own, as a server is (a second thread would also spin for
// ever under the cross build's qemu).
TEST_P(RunStoreTest, TwoStores_NeverClaimTheSameRun)
{
    constexpr int kRuns = 40;
    for (int i = 0; i < kRuns; ++i) {
        const std::string number = std::to_string(i);
        submit("p" + number, "key" + number);
    }
    const ScratchFolder scratch("runstore_claims", {});
    const pid_t other = kClaimAll.start({database_, std::to_string(clock_), "claimed"});
    ASSERT_GT(other, 0);
    for (int wait = 0; wait < 6000 && !std::filesystem::exists("ready"); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists("ready")) << "the other store did not open within a minute";
    std::vector<RunId> claimed;
    claimAll(*store_, clock_, claimed);
    ASSERT_TRUE(childSucceeded(other));
    std::ifstream file("claimed");
    for (RunId id; file >> id;) claimed.push_back(id);

    const std::set<RunId> all(claimed.begin(), claimed.end());
    EXPECT_EQ(claimed.size(), size_t(kRuns)) << "a run was claimed twice, or not at all";
    EXPECT_EQ(all.size(), size_t(kRuns));
    EXPECT_EQ(store_->pendingCount(), 0);
}

std::string storeName(const testing::TestParamInfo<std::string>& info) { return info.param; }

INSTANTIATE_TEST_SUITE_P(Stores, RunStoreTest, testing::Values("sqlite", "postgresql"), storeName);

using PostgresRunStoreTest = RunStoreTest;

// A restarted database fails the call that finds it gone, and no call after it.
TEST_P(PostgresRunStoreTest, Restarted_NextCallsReconnect)
{
    RunId id = submit("ann", "k").id;
    std::string reason;
    ASSERT_TRUE(cluster_->restart(reason)) << reason;
    EXPECT_THROW(store_->pendingCount(), RunStoreError);
    EXPECT_EQ(store_->run(id)->name, "ann");
}

// A server process opens connections while others write: opening one waits for no
// write in progress. (The lock timeout turns a wait into a failure at once.)
TEST_P(PostgresRunStoreTest, Opening_WaitsForNoWriteInProgress)
{
    submit("ann", "k");
    pqxx::connection other(database_);
    pqxx::work writing(other);
    writing.exec("UPDATE runs SET name = 'bea'");
    std::string error;
    EXPECT_NE(openRunStore(database_ + "&options=-c%20lock_timeout%3D100", error), nullptr) << error;
}

INSTANTIATE_TEST_SUITE_P(Stores, PostgresRunStoreTest, testing::Values("postgresql"), storeName);

TEST(OpenRunStore, RefusesWhatItCannotOpen_NamingTheDatabase)
{
    struct Row {
        std::string database;
        std::string named;
    } rows[] = {
        {"mysql://somewhere", "mysql://somewhere"},
        {"sqlite:", "names no file"},
        {"sqlite:/proc/no/such/runs.sqlite", "/proc/no/such"},
        {"postgresql://user:secret@/nothing?host=/nonexistent", "postgresql://...@/nothing"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_EQ(openRunStore(row.database, error), nullptr) << row.database;
        EXPECT_NE(error.find(row.named), std::string::npos) << error;
        EXPECT_EQ(error.find("secret"), std::string::npos) << error;
    }
}

TEST(RunKey, ChangesWithTheDayAndEveryInput)
{
    std::vector<DemoFrame> frames(3, DemoFrame{{}, 1.0 / 60.0});
    frames[1].held.set(bit(Action::thrust));
    const ChallengeDay day{2026, 3, 1};
    const std::string key = runKey(day, frames);
    EXPECT_EQ(key.size(), 64u);
    EXPECT_EQ(runKey(day, frames), key);

    std::vector<DemoFrame> otherAction = frames;
    otherAction[1].held.set(bit(Action::fire));
    std::vector<DemoFrame> otherStep = frames;
    otherStep[2].step = 1.0 / 30.0;
    std::vector<DemoFrame> shorter(frames.begin(), frames.end() - 1);
    for (const std::string& other : {runKey({2026, 3, 2}, frames), runKey(day, otherAction), runKey(day, otherStep),
                                     runKey(day, shorter)})
        EXPECT_NE(other, key);
}

} // namespace
