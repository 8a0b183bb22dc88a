// The server's day: the UTC date now, which decides which runs it takes (its own day's
// and the day before's), unless the testing variable fixes it, so that a test can
// submit a run recorded on a day long past.
#pragma once

#include "app/challenge_day.h"
#include "app/user_folders.h"

#include <ctime>
#include <optional>
#include <string>

inline const std::string kServerTodayVariable = "SPACE_GAME_SERVER_TODAY";

struct ServerClock {
    std::optional<ChallengeDay> fixedToday; // from the testing variable

    ChallengeDay today(std::time_t now) const { return fixedToday ? *fixedToday : utcDay(now); }
};

// The clock the environment asks for; false with error when the variable holds no day.
bool readServerClock(const Environment& environment, ServerClock& clock, std::string& error);

ChallengeDay previousDay(const ChallengeDay& day);
