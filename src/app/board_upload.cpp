// The verdicts are the player's: a rank, the server's reason for a refusal, or what kept
// the run from being checked. The local table's entry never depends on any of them.
#include "app/board_upload.h"

#include "app/board_reply.h"
#include "platform/platform.h"

namespace {

constexpr double kAskEverySeconds = 1.0;
// The server answers 503 rather than take more than ten minutes of checking.
constexpr double kLongestCheckSeconds = 15 * 60;
const std::string kChecking = "Leaderboard: checking...";

// What a server that answered but would not take the request said, in words.
std::string refusal(const HttpReply& reply)
{
    const auto said = jsonText(reply.body, "error");
    return "Leaderboard: " + (said ? *said : "the server answered " + std::to_string(reply.status));
}

std::string unanswered(const BoardUpload& upload, const HttpReply& reply)
{
    return "Leaderboard: no answer from " + upload.server + " (" + reply.error + ")";
}

void finish(BoardUpload& upload, const std::string& verdict)
{
    upload.stage = BoardUpload::Stage::done;
    upload.verdict = verdict;
}

void afterApi(BoardUpload& upload, const HttpReply& reply)
{
    if (reply.status == 0 && !upload.quietWithoutApi) return finish(upload, unanswered(upload, reply));
    if (reply.status != 200 || !jsonText(reply.body, "day")) {
        return finish(upload, upload.quietWithoutApi ? "" : "Leaderboard: no leaderboard at " + upload.server);
    }
    upload.stage = BoardUpload::Stage::sending;
    upload.verdict = kChecking;
    upload.request = HTTP_START("POST", upload.server + "/api/runs?name=" + percentEncoded(upload.name), upload.demo);
}

void afterSending(BoardUpload& upload, const HttpReply& reply, double now)
{
    if (reply.status == 0) return finish(upload, "Leaderboard: not sent to " + upload.server + " (" + reply.error + ")");
    // A server may number its runs or name them: either is the run's address.
    const auto number = jsonNumber(reply.body, "id");
    const auto id = number ? std::to_string(*number) : jsonText(reply.body, "id");
    if ((reply.status != 200 && reply.status != 202) || !id) return finish(upload, refusal(reply));
    upload.runId = *id;
    upload.stage = BoardUpload::Stage::checking;
    upload.nextAsk = now;
    upload.givingUpAt = now + kLongestCheckSeconds;
}

void afterChecking(BoardUpload& upload, const HttpReply& reply, double now)
{
    upload.nextAsk = now + kAskEverySeconds;
    const auto status = jsonText(reply.body, "status");
    if (reply.status != 200 || !status) {
        if (now < upload.givingUpAt) return; // a passing failure: asked again
        return finish(upload, reply.status == 0 ? unanswered(upload, reply) : refusal(reply));
    }
    if (*status == "verified") {
        const auto rank = jsonNumber(reply.body, "rank");
        const auto day = jsonText(reply.body, "day");
        return finish(upload, "Leaderboard: verified, rank " + (rank ? std::to_string(*rank) : "?") +
                                  " of " + (day ? *day : "the day") + " at " + upload.server);
    }
    if (*status == "rejected") {
        const auto reason = jsonText(reply.body, "reason");
        return finish(upload, "Leaderboard: refused: " + (reason ? *reason : "no reason given"));
    }
    if (now >= upload.givingUpAt) finish(upload, "Leaderboard: still being checked; see the board at " + upload.server);
}

} // namespace

BoardUpload startBoardUpload(const std::string& server, bool quietWithoutApi, const std::string& name,
                             const std::string& demo, double now)
{
    BoardUpload upload;
    upload.server = server;
    upload.quietWithoutApi = quietWithoutApi;
    upload.verdict = quietWithoutApi ? "" : kChecking;
    upload.name = name;
    upload.demo = demo;
    upload.nextAsk = now;
    upload.request = HTTP_START("GET", server + "/api/info", "");
    return upload;
}

bool followBoardUpload(BoardUpload& upload, double now)
{
    if (upload.stage == BoardUpload::Stage::done) return false;
    const std::string before = upload.verdict;
    if (upload.request == 0 && now >= upload.nextAsk) {
        upload.request = HTTP_START("GET", upload.server + "/api/runs/" + percentEncoded(upload.runId), "");
    }
    HttpReply reply;
    if (upload.request != 0 && HTTP_POLL(upload.request, reply)) {
        upload.request = 0;
        switch (upload.stage) {
        case BoardUpload::Stage::askingApi: afterApi(upload, reply); break;
        case BoardUpload::Stage::sending: afterSending(upload, reply, now); break;
        case BoardUpload::Stage::checking: afterChecking(upload, reply, now); break;
        case BoardUpload::Stage::done: break;
        }
    }
    return upload.verdict != before;
}
