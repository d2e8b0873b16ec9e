#include "schedule/win32/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockWin32, system_time_fields_reach_the_matcher_unchanged)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDayOfWeek = 0;
    t.wDay = 6;
    t.wHour = 19;
    t.wMinute = 42;
    ClockTime c = clock_time_from(t);
    EXPECT_EQ(c.wMonth, 12);
    EXPECT_EQ(c.wDayOfWeek, 0);
    EXPECT_EQ(c.wDay, 6);
    EXPECT_EQ(c.wHour, 19);
    EXPECT_EQ(c.wMinute, 42);

    CronEntry due{"0", "12", "6", "19", "42", "NoAction", ""};
    EXPECT_EQ(entry_is_due(t, due), 1);
    CronEntry other_weekday{"1", "12", "6", "19", "42", "NoAction", ""};
    EXPECT_EQ(entry_is_due(t, other_weekday), 0);
}

TEST(ClockWin32, the_local_clock_of_this_process_matches_a_pattern_built_from_it)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char minute[8], hour[8], day[8], month[8];
    wsprintfA(minute, "%d", now.wMinute);
    wsprintfA(hour, "%d", now.wHour);
    wsprintfA(day, "%d", now.wDay);
    wsprintfA(month, "%d", now.wMonth);
    CronEntry e{"*", month, day, hour, minute, "NoAction", ""};
    EXPECT_EQ(entry_is_due(now, e), 1);
}

}  // namespace
