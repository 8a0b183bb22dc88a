#include "server/server_day.h"

bool readServerClock(const Environment& environment, ServerClock& clock, std::string& error)
{
    const std::string text = environment(kServerTodayVariable);
    if (text.empty()) return true;
    std::string problem;
    clock.fixedToday = parseChallengeDay(text, problem);
    if (!clock.fixedToday) error = kServerTodayVariable + ": " + problem;
    return clock.fixedToday.has_value();
}

ChallengeDay previousDay(const ChallengeDay& day)
{
    std::tm noon{};
    noon.tm_year = day.year - 1900;
    noon.tm_mon = day.month - 1;
    noon.tm_mday = day.day - 1; // timegm carries a day 0 back into the month before
    noon.tm_hour = 12;
    return utcDay(timegm(&noon));
}
