// The challenge's days: strict reading, and the start clocks every player of a day
// must share (pinned: a change here changes every day's field).
#include "app/challenge_day.h"

#include <gtest/gtest.h>

TEST(ChallengeDay, ReadsOnlyRealDaysInRangeAndPinsTheirClocks)
{
    struct Case {
        const char* text;
        double clock; // 0: refused
        const char* problem;
    };
    const Case cases[] = {
        {"2026-01-01", 1000.0, ""},
        {"2026-03-01", 1059.0, ""},
        {"2026-12-08", 1341.0, ""},
        {"2028-02-29", 1789.0, ""}, // a leap day
        {"2028-03-01", 1790.0, ""},
        {"2065-12-31", 15609.0, ""},
        {"2025-12-31", 0, "'2025-12-31' has no challenge: the challenges run from 2026-01-01 to 2065-12-31"},
        {"2066-01-01", 0, "has no challenge"},
        {"2027-02-29", 0, "'2027-02-29' is not a day of the calendar"},
        {"2100-02-29", 0, "not a day of the calendar"}, // a century is no leap year...
        {"2000-02-29", 0, "has no challenge"},          // ...but every fourth is
        {"2026-04-31", 0, "not a day of the calendar"},
        {"2026-13-01", 0, "not a day of the calendar"},
        {"2026-00-10", 0, "not a day of the calendar"},
        {"2026-1-01", 0, "'2026-1-01' is not a day written YYYY-MM-DD"},
        {"2026-01-01 ", 0, "not a day written YYYY-MM-DD"},
        {"2026/01/01", 0, "not a day written YYYY-MM-DD"},
        {"+026-01-01", 0, "not a day written YYYY-MM-DD"},
        {"", 0, "not a day written YYYY-MM-DD"},
    };
    for (const Case& c : cases) {
        std::string problem;
        const auto day = parseChallengeDay(c.text, problem);
        ASSERT_EQ(day.has_value(), c.clock != 0) << c.text;
        if (day) {
            EXPECT_EQ(challengeStartClock(*day), c.clock) << c.text;
            EXPECT_EQ(formatChallengeDay(*day), c.text);
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.text << ": " << problem;
        }
    }
}

TEST(ChallengeDay, TodayIsTheUtcDayOfTheMoment)
{
    EXPECT_EQ(formatChallengeDay(utcDay(0)), "1970-01-01");
    EXPECT_EQ(formatChallengeDay(utcDay(1796774399)), "2026-12-08"); // its last second
    EXPECT_EQ(formatChallengeDay(utcDay(1796774400)), "2026-12-09");
}
