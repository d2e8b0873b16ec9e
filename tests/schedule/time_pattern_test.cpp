#include "schedule/time_pattern.h"

#include <gtest/gtest.h>

namespace {

ClockTime at(int month, int day, int hour, int minute, int weekday = 3)
{
    using U = unsigned short;
    return ClockTime{2026, U(month), U(weekday), U(day), U(hour), U(minute), 0, 0};
}

TEST(EntryIsDue, every_field_including_day_and_weekday_together_must_admit_the_clock)
{
    const CronEntry e{"1-5", "12", "6", "9-17", "0,30", "NoAction", ""};
    const std::array<int, 6> cases[] = {
        {12, 6, 9, 0, 1, 1},  {12, 6, 9, 30, 5, 1}, {12, 6, 17, 30, 1, 1}, {12, 6, 8, 30, 1, 0}, {12, 6, 18, 0, 1, 0},
        {12, 6, 9, 15, 1, 0}, {11, 6, 9, 0, 1, 0},  {12, 7, 9, 0, 1, 0},   {12, 6, 9, 0, 0, 0},
    };
    for (const auto& [month, day, hour, minute, weekday, due] : cases) {
        EXPECT_EQ(entry_is_due(at(month, day, hour, minute, weekday), e), due)
            << month << " " << day << " " << hour << ":" << minute << " weekday " << weekday;
    }
}

TEST(EntryIsDue, the_default_row_and_empty_null_or_unreachable_patterns_never_match)
{
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(entry_is_due(at(month, 15, 0, 0), default_entry), 0);
    for (const char* minute : {"", "60", static_cast<const char*>(nullptr)}) {
        for (int m = 0; m < 60; ++m) EXPECT_EQ(entry_is_due(at(1, 1, 0, m), {"*", "*", "*", "*", minute, "X", ""}), 0);
    }
}

}  // namespace
