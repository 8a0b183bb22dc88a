// Calendar arithmetic for the challenge's days (proleptic Gregorian, UTC) and the
// day's start clock.
#include "app/challenge_day.h"

#include <cstdio>

namespace {

// The rules keep times as 32-bit floats of the game clock. Below 2^14 s a float still
// tells times a millisecond apart (its step there is 2^-10 s), so a run's clock must
// stay under that to its end; starting at 1000 s, as the runner's clocks do, leaves
// room for about 41 years of days after the first, plus a run's three minutes.
constexpr double kFirstDayClock = 1000.0;
constexpr double kLargestClock = 16384.0;

constexpr bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int daysInMonth(int year, int month)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 (negative before it); civil-to-days over 400-year eras, with
// the year starting in March so that the leap day falls at a year's end.
constexpr long long daysSinceEpoch(const ChallengeDay& day)
{
    const long long year = day.year - (day.month <= 2);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (day.month + (day.month > 2 ? -3 : 9)) + 2) / 5 + day.day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr double startClock(const ChallengeDay& day)
{
    return kFirstDayClock + static_cast<double>(daysSinceEpoch(day) - daysSinceEpoch(kFirstChallengeDay));
}
static_assert(startClock(kLastChallengeDay) + kChallengeSteps * kChallengeStep < kLargestClock,
              "the last day's run ends with its clock's float times still a millisecond apart");

bool readNumber(const std::string& text, size_t at, size_t digits, int& value)
{
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

std::optional<ChallengeDay> parseChallengeDay(const std::string& text, std::string& problem)
{
    ChallengeDay day;
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' && readNumber(text, 0, 4, day.year) &&
                        readNumber(text, 5, 2, day.month) && readNumber(text, 8, 2, day.day);
    if (!shaped) {
        problem = "'" + text + "' is not a day written YYYY-MM-DD";
        return std::nullopt;
    }
    if (day.month < 1 || day.month > 12 || day.day < 1 || day.day > daysInMonth(day.year, day.month)) {
        problem = "'" + text + "' is not a day of the calendar";
        return std::nullopt;
    }
    if (day < kFirstChallengeDay || day > kLastChallengeDay) {
        problem = "'" + text + "' has no challenge: the challenges run from " + formatChallengeDay(kFirstChallengeDay) +
                  " to " + formatChallengeDay(kLastChallengeDay);
        return std::nullopt;
    }
    return day;
}

std::string challengeTitle(const ChallengeDay& day) { return "Challenge " + formatChallengeDay(day) + " (UTC)"; }

std::string formatChallengeDay(const ChallengeDay& day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.year, day.month, day.day);
    return text;
}

ChallengeDay utcDay(std::time_t moment)
{
    std::tm utc{};
    gmtime_r(&moment, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

double challengeStartClock(const ChallengeDay& day) { return startClock(day); }
