// The daily challenge's day and what follows from it alone: the start clock that seeds
// the day's field, the length of a run in fixed steps, and what a finished run hands to
// the screen that shows it. Days are UTC calendar days; every player of a day gets the
// same field because its clock is a pure function of the date.
#pragma once

#include <ctime>
#include <optional>
#include <string>

struct ChallengeDay {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    auto operator<=>(const ChallengeDay&) const = default;
};

// A challenge advances the world in steps of exactly this, 10,800 of them: three minutes.
constexpr double kChallengeStep = 1.0 / 60.0;
constexpr int kChallengeSteps = 10800;
// Raised whenever a change to the rules would make an old challenge demo replay
// differently, so that results of different rules are never compared.
constexpr int kChallengeRulesVersion = 1;

// The first and last days that have a challenge (see challengeStartClock).
constexpr ChallengeDay kFirstChallengeDay{2026, 1, 1};
constexpr ChallengeDay kLastChallengeDay{2065, 12, 31};

// "YYYY-MM-DD", a real calendar day from kFirstChallengeDay to kLastChallengeDay;
// otherwise nothing, with the problem in words (the text given quoted in it).
std::optional<ChallengeDay> parseChallengeDay(const std::string& text, std::string& problem);
std::string formatChallengeDay(const ChallengeDay& day);
// The window's title during the day's run: "Challenge 2026-12-08 (UTC)".
std::string challengeTitle(const ChallengeDay& day);
// The UTC calendar day that the moment falls on.
ChallengeDay utcDay(std::time_t moment);

// The game clock the day's run starts at, which is also the seed of its field.
double challengeStartClock(const ChallengeDay& day);

// What a run hands on when its time is up (or, shortened, its steps are).
struct ChallengeResult {
    ChallengeDay day;
    int score = 0;
    int level = 1;
    std::string demoPath;   // the run's recording
    bool practice = false;  // an earlier day's challenge, played again
    bool shortened = false; // fewer steps than a challenge has: a test, never a result
};
