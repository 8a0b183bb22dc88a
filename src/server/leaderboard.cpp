#include "server/leaderboard.h"

#include "app/score_table.h"
#include "game/challenge.h"
#include "server/board_page.h"
#include "server/server_day.h"
#include "server/store/run_key.h"
#include "server/submission_check.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <ctime>
#include <optional>

namespace {

using nlohmann::json;

Reply jsonReply(int status, const json& body) { return {status, body.dump(), "application/json", 0}; }

std::optional<RunId> parseRunId(const std::string& text)
{
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return std::stoll(text);
}

Reply noSuchRun() { return errorReply(404, "no such run"); }

// What is not known yet, or not at all for this status, is null.
json runJson(const RunInfo& run)
{
    const bool verified = run.status == RunStatus::Verified;
    json answer{{"id", run.id},
                {"name", run.name},
                {"day", run.day},
                {"status", runStatusName(run.status)},
                {"score", verified ? json(run.score) : json(nullptr)},
                {"level", verified ? json(run.level) : json(nullptr)},
                {"rank", verified ? json(run.rank) : json(nullptr)},
                {"reason", run.status == RunStatus::Rejected ? json(run.reason) : json(nullptr)}};
    if (run.duplicateOf) answer["duplicate_of"] = *run.duplicateOf;
    return answer;
}

std::string asText(std::span<const uint8_t> bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

} // namespace

Reply errorReply(int status, const std::string& reason) { return jsonReply(status, json{{"error", reason}}); }

template <typename Work> Reply Leaderboard::guarded(Work work)
{
    try {
        StoreLease store = stores_.lease();
        return work(*store);
    } catch (const RunStoreError& failure) {
        std::fprintf(stderr, "space-game-server: the run store failed: %s\n", failure.what());
        return errorReply(500, "the server's run store failed; try again later");
    }
}

Reply Leaderboard::submit(const std::string& address, const std::string& name, std::span<const uint8_t> body)
{
    if (!limits_.admitRun(address, ClientLimits::Clock::now())) {
        return errorReply(429, "more than " + std::to_string(kRunsPerMinute) + " runs a minute from one address");
    }
    const SubmissionCheck check = checkSubmission(name, body, clock_.today(std::time(nullptr)));
    if (check.status != 200) return errorReply(check.status, check.reason);
    return guarded([&](RunStore& store) {
        if (!underPendingLimit(store, address)) {
            return errorReply(429, std::to_string(kPendingPerClient) + " runs from one address are waiting for their replay");
        }
        const int64_t pending = store.pendingCount();
        if (pending >= workers_.queueCapacity()) {
            Reply busy = errorReply(503, "more runs are waiting than this server can replay in ten minutes");
            busy.retryAfter = std::max<int64_t>(1, workers_.secondsToJudge(pending - workers_.queueCapacity() + 1));
            return busy;
        }
        const ChallengeDay day = check.demo.start.challenge->day;
        NewRun run{name, formatChallengeDay(day), runKey(day, check.demo.frames), asText(body), utcNow()};
        const Submission submission = store.submit(run);
        if (submission.alreadyVerified) return jsonReply(200, json{{"id", submission.id}, {"status", "verified"}});
        limits_.addPending(address, submission.id);
        workers_.wake();
        return jsonReply(202, json{{"id", submission.id}, {"status", "pending"}, {"delete_token", submission.deleteToken}});
    });
}

// The runs this process counted as pending for the address are asked after only when
// they reach the limit: a run judged by another process is then let go.
bool Leaderboard::underPendingLimit(RunStore& store, const std::string& address)
{
    const std::vector<RunId> pending = limits_.pendingOf(address);
    if (pending.size() < kPendingPerClient) return true;
    size_t stillPending = 0;
    for (const RunId id : pending) {
        const std::optional<RunInfo> run = store.run(id);
        if (run && run->status == RunStatus::Pending) {
            ++stillPending;
        } else {
            limits_.settle(id);
        }
    }
    return stillPending < kPendingPerClient;
}

Reply Leaderboard::run(const std::string& id)
{
    const std::optional<RunId> runId = parseRunId(id);
    if (!runId) return noSuchRun();
    return guarded([&](RunStore& store) {
        const std::optional<RunInfo> run = store.run(*runId);
        return run ? jsonReply(200, runJson(*run)) : noSuchRun();
    });
}

Reply Leaderboard::demo(const std::string& id)
{
    const std::optional<RunId> runId = parseRunId(id);
    if (!runId) return noSuchRun();
    return guarded([&](RunStore& store) {
        std::optional<std::string> demo = store.demo(*runId);
        if (!demo) return errorReply(404, "no such run, or its demo is no longer kept");
        return Reply{200, std::move(*demo), "application/octet-stream", 0};
    });
}

Reply Leaderboard::remove(const std::string& id, const std::string& token)
{
    const std::optional<RunId> runId = parseRunId(id);
    if (!runId) return noSuchRun();
    return guarded([&](RunStore& store) {
        switch (store.remove(*runId, token)) {
        case DeleteOutcome::Deleted:
            limits_.settle(*runId);
            return jsonReply(200, json{{"id", *runId}, {"status", "deleted"}});
        case DeleteOutcome::WrongToken: return errorReply(403, "the token is not this run's delete token");
        case DeleteOutcome::NoSuchRun: break;
        }
        return noSuchRun();
    });
}

Reply Leaderboard::board(const std::string& day)
{
    std::string problem;
    if (!parseChallengeDay(day, problem)) return errorReply(400, problem);
    return guarded([&](RunStore& store) {
        json runs = json::array();
        for (const BoardEntry& entry : store.board(day)) {
            runs.push_back(
                {{"rank", entry.rank}, {"id", entry.id}, {"name", entry.name}, {"score", entry.score}, {"level", entry.level}});
        }
        return jsonReply(200, json{{"day", day}, {"runs", runs}});
    });
}

Reply Leaderboard::boardPage(const std::string& day)
{
    std::string problem;
    const std::optional<ChallengeDay> shown =
        day.empty() ? std::optional(clock_.today(std::time(nullptr))) : parseChallengeDay(day, problem);
    if (!shown) return {400, "<!DOCTYPE html>\n<title>No such day</title>\n<p>" + escapeHtml(problem) + "</p>\n", "text/html", 0};
    const std::string text = formatChallengeDay(*shown);
    return guarded([&](RunStore& store) {
        return Reply{200, ::boardPage(text, formatChallengeDay(previousDay(*shown)), store.board(text)),
                     "text/html; charset=utf-8", 0};
    });
}

Reply Leaderboard::info()
{
    const ChallengeDay today = clock_.today(std::time(nullptr));
    return jsonReply(200, json{{"day", formatChallengeDay(today)},
                               {"days_taken", {formatChallengeDay(today), formatChallengeDay(previousDay(today))}},
                               {"rules_version", kChallengeRulesVersion},
                               {"limits",
                                {{"largest_demo_bytes", kLargestBody},
                                 {"longest_name", kLongestPlayerName},
                                 {"runs_per_minute", kRunsPerMinute},
                                 {"pending_per_client", kPendingPerClient},
                                 {"pending_capacity", workers_.queueCapacity()},
                                 {"verify_workers", workers_.count()}}}});
}
