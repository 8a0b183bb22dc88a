#include "server/submission_check.h"

#include "app/score_table.h"
#include "replay/challenge_judgement.h"
#include "server/server_day.h"

namespace {

SubmissionCheck refused(int status, const std::string& reason)
{
    SubmissionCheck check;
    check.status = status;
    check.reason = reason;
    return check;
}

} // namespace

// The rule is validPlayerName's alone; the branches only say which part of it failed.
std::string nameProblem(const std::string& name)
{
    if (validPlayerName(name)) return "";
    if (name.empty() || name.size() > kLongestPlayerName) {
        return "a name has 1 to " + std::to_string(kLongestPlayerName) + " characters";
    }
    return "a name has printable ASCII characters only, and not only spaces";
}

SubmissionCheck checkSubmission(const std::string& name, std::span<const uint8_t> body, const ChallengeDay& today)
{
    if (body.size() > kLargestBody) return refused(413, kBodyTooLarge);
    const std::string badName = nameProblem(name);
    if (!badName.empty()) return refused(400, badName);
    SubmissionCheck check;
    std::string problem;
    if (!parseDemo(body, check.demo, problem)) return refused(400, "not a demo: " + problem);
    problem = challengeRunProblem(check.demo);
    if (!problem.empty()) return refused(422, problem);
    const ChallengeDay day = check.demo.start.challenge->day;
    if (day != today && day != previousDay(today)) {
        return refused(422, "the run is " + formatChallengeDay(day) + "'s; this server takes " +
                                formatChallengeDay(today) + "'s and the day before's");
    }
    return check;
}
