// The run store's logic in SQL that both databases understand. Every call holds the
// store's lock, as a database connection serves one thread at a time; a server that
// wants more parallelism opens more stores.
#include "server/store/run_store.h"

#include "server/store/sql_session.h"
#include "server/store/store_backends.h"

#include <mutex>

namespace {

int64_t number(const std::optional<std::string>& column) { return column ? std::stoll(*column) : 0; }

class SqlRunStore final : public RunStore {
public:
    explicit SqlRunStore(std::unique_ptr<SqlSession> session) : db_(std::move(session)) {}

    Submission submit(const NewRun& run) override
    {
        std::lock_guard hold(lock_);
        Submission submission;
        db_->transaction([&] {
            db_->lockKey(run.key);
            if (std::optional<RunId> first = verifiedWithKey(run.key)) {
                submission = {*first, true, ""};
                return;
            }
            std::string token = randomToken();
            auto rows = db_->query("INSERT INTO runs (name, day, run_key, demo, delete_token, received_at)"
                                   " VALUES ($1, $2, $3, $4, $5, $6) RETURNING id",
                                   {run.name, run.day, run.key, SqlBytes{run.demo}, token, run.receivedAt});
            submission = {number(rows.at(0).at(0)), false, token};
        });
        return submission;
    }

    std::optional<RunInfo> run(RunId id) override
    {
        std::lock_guard hold(lock_);
        auto rows = db_->query("SELECT id, name, day, status, score, level, reason, duplicate_of"
                               " FROM runs WHERE id = $1",
                               {id});
        if (rows.empty()) return std::nullopt;
        const SqlRow& row = rows[0];
        RunInfo info{number(row[0]), *row[1], *row[2], parseRunStatus(*row[3]), int(number(row[4])),
                     int(number(row[5])), 0, row[6].value_or(""), std::nullopt};
        if (row[7]) info.duplicateOf = number(row[7]);
        if (info.status == RunStatus::Verified) {
            auto ahead = db_->query("SELECT count(*) FROM runs WHERE day = $1 AND status = 'verified'"
                                    " AND (score > $2 OR (score = $2 AND id < $3))",
                                    {info.day, int64_t(info.score), info.id});
            info.rank = int(number(ahead.at(0).at(0))) + 1;
        }
        return info;
    }

    std::vector<BoardEntry> board(const std::string& day) override
    {
        std::lock_guard hold(lock_);
        auto rows = db_->query("SELECT id, name, score, level FROM runs WHERE day = $1 AND status = 'verified'"
                               " ORDER BY score DESC, id ASC LIMIT $2",
                               {day, int64_t(kBoardLength)});
        std::vector<BoardEntry> board;
        for (const SqlRow& row : rows)
            board.push_back({int(board.size()) + 1, number(row[0]), *row[1], int(number(row[2])), int(number(row[3]))});
        return board;
    }

    std::optional<std::string> demo(RunId id) override
    {
        std::lock_guard hold(lock_);
        auto rows = db_->query("SELECT demo FROM runs WHERE id = $1", {id});
        if (rows.empty()) return std::nullopt;
        return rows[0][0];
    }

    DeleteOutcome remove(RunId id, const std::string& deleteToken) override
    {
        std::lock_guard hold(lock_);
        DeleteOutcome outcome = DeleteOutcome::NoSuchRun;
        db_->transaction([&] {
            auto rows = db_->query("SELECT delete_token FROM runs WHERE id = $1" + db_->rowLock(false), {id});
            if (rows.empty()) return;
            outcome = DeleteOutcome::WrongToken;
            if (rows[0][0] != deleteToken) return;
            db_->query("DELETE FROM runs WHERE id = $1", {id});
            outcome = DeleteOutcome::Deleted;
        });
        return outcome;
    }

    int64_t pendingCount() override
    {
        std::lock_guard hold(lock_);
        return number(db_->query("SELECT count(*) FROM runs WHERE status = 'pending'", {}).at(0).at(0));
    }

    std::optional<RunClaim> claimNext(UtcSeconds now, UtcSeconds claimFor) override
    {
        std::lock_guard hold(lock_);
        RunClaim claim{0, randomToken(), "", now + claimFor};
        std::vector<SqlRow> rows;
        db_->transaction([&] {
            rows = db_->query("UPDATE runs SET claim_token = $1, claim_expires = $2 WHERE id ="
                              " (SELECT id FROM runs WHERE status = 'pending'"
                              " AND (claim_token IS NULL OR claim_expires <= $3) ORDER BY id LIMIT 1" +
                                  db_->rowLock(true) + ") RETURNING id, demo",
                              {claim.token, claim.expiresAt, now});
        });
        if (rows.empty()) return std::nullopt;
        claim.id = number(rows[0][0]);
        claim.demo = rows[0][1].value_or("");
        return claim;
    }

    FinishOutcome finish(const RunClaim& claim, const Verdict& verdict, UtcSeconds now) override
    {
        std::lock_guard hold(lock_);
        FinishOutcome outcome = FinishOutcome::Stale;
        db_->transaction([&] {
            auto rows = db_->query("SELECT run_key FROM runs WHERE id = $1 AND status = 'pending'"
                                   " AND claim_token = $2" + db_->rowLock(false),
                                   {claim.id, claim.token});
            if (rows.empty()) return;
            outcome = verdict.verified ? recordVerified(claim.id, *rows[0][0], verdict, now)
                                       : record(claim.id, RunStatus::Rejected, verdict, now, std::nullopt);
        });
        return outcome;
    }

    int64_t dropOldRejectedDemos(UtcSeconds now) override
    {
        std::lock_guard hold(lock_);
        auto rows = db_->query("UPDATE runs SET demo = NULL WHERE status = 'rejected' AND demo IS NOT NULL"
                               " AND finished_at <= $1 RETURNING id",
                               {now - kRejectedDemoKeptFor});
        return int64_t(rows.size());
    }

private:
    std::optional<RunId> verifiedWithKey(const std::string& key)
    {
        auto rows = db_->query("SELECT id FROM runs WHERE run_key = $1 AND status = 'verified'", {key});
        if (rows.empty()) return std::nullopt;
        return number(rows[0][0]);
    }

    // The first submission of a key keeps it: a later one that was verified before it
    // hands over its place, with whatever was already counted as its duplicate.
    FinishOutcome recordVerified(RunId id, const std::string& key, const Verdict& verdict, UtcSeconds now)
    {
        db_->lockKey(key);
        std::optional<RunId> first = verifiedWithKey(key);
        if (first && *first < id) {
            Verdict duplicate = verdict;
            duplicate.reason = kDuplicateReason;
            record(id, RunStatus::Rejected, duplicate, now, first);
            return FinishOutcome::Duplicate;
        }
        if (first)
            db_->query("UPDATE runs SET status = 'rejected', reason = $1, duplicate_of = $2"
                       " WHERE id = $3 OR duplicate_of = $3",
                       {std::string(kDuplicateReason), id, *first});
        return record(id, RunStatus::Verified, verdict, now, std::nullopt);
    }

    FinishOutcome record(RunId id, RunStatus status, const Verdict& verdict, UtcSeconds now,
                         std::optional<RunId> duplicateOf)
    {
        std::string sql = "UPDATE runs SET status = $1, score = $2, level = $3, reason = $4, finished_at = $5,"
                          " claim_token = NULL, claim_expires = NULL, duplicate_of = ";
        sql += duplicateOf ? "$7" : "NULL";
        sql += " WHERE id = $6";
        std::vector<SqlParam> params{std::string(runStatusName(status)), int64_t(verdict.score),
                                     int64_t(verdict.level), verdict.reason, now, id};
        if (duplicateOf) params.emplace_back(*duplicateOf);
        db_->query(sql, params);
        return duplicateOf ? FinishOutcome::Duplicate : FinishOutcome::Written;
    }

    std::mutex lock_;
    std::unique_ptr<SqlSession> db_;
};

} // namespace

std::unique_ptr<RunStore> runStoreOver(std::unique_ptr<SqlSession> session)
{
    return std::make_unique<SqlRunStore>(std::move(session));
}
