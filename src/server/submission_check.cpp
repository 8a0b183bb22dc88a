#include "server/submission_check.h"

#include "replay/challenge_judgement.h"
#include "server/server_day.h"

#include <algorithm>

namespace {

SubmissionCheck refused(int status, const std::string& reason)
{
    SubmissionCheck check;
    check.status = status;
    check.reason = reason;
    return check;
}

} // namespace

std::string nameProblem(const std::string& name)
{
    if (name.empty() || name.size() > kLongestName) {
        return "a name has 1 to " + std::to_string(kLongestName) + " characters";
    }
    const bool printable = std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
    return printable ? "" : "a name has printable ASCII characters only";
}

SubmissionCheck checkSubmission(const std::string& name, std::span<const uint8_t> body, const ChallengeDay& today)
{
    if (body.size() > kLargestBody) return refused(413, "a run's demo is at most 1 MiB");
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
