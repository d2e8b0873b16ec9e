#include "schedule/time_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the pattern admits, as runs "a-b" and single values "n" separated by spaces.
std::string admitted(const std::string& pattern)
{
    TimeFieldSet set;
    parse_time_field(pattern.c_str(), set);
    std::string out;
    for (int n = 0; n < 64; ++n) {
        if (!time_set_contains(set, n) || (n > 0 && time_set_contains(set, n - 1))) continue;
        int last = n;
        while (last < 63 && time_set_contains(set, last + 1)) ++last;
        out.append(out.empty() ? "" : " ").append(std::to_string(n));
        if (last > n) out.append("-").append(std::to_string(last));
    }
    return out;
}

// The grammar's edges: the whole range, the value limit, reversed and unended
// ranges, what ends a list, bytes skipped, and runs of digits that could overflow.
TEST(ParseTimeField, admits_exactly_the_expected_values_in_the_documented_bits)
{
    const std::string nines(100, '9'), to_nines = "3-" + nines, ones = "5," + std::string(100, '1') + ",6",
                                       zeros = std::string(100, '0') + "42";
    const std::pair<std::string, const char*> cases[] = {
        {"*", "0-63"},       {"5,*", "0-63"},    {"1-3,10", "1-3 10"}, {"3-3", "3"},     {"0-63", "0-63"}, {"0-64", ""},
        {"10-5,7", "7"},     {"0-59/5", "0-59"}, {"1-", ""},           {"99,5", ""},     {"5,99", "5"},    {"63", "63"},
        {"64", ""},          {"x5", "5"},        {"1, 2", "1-2"},      {"1-3 5", "1-3"}, {"5,", "5"},      {"", ""},
        {"\xff\x80z7", "7"}, {"1-3-5", "1-3"},   {"4-*", ""},          {nines, ""},      {to_nines, ""},   {ones, "5"},
        {zeros, "42"},
    };
    for (const auto& [pattern, values] : cases) EXPECT_EQ(admitted(pattern), values) << pattern;
    TimeFieldSet set;  // value n is bit 0x80 >> n % 8 of byte n / 8
    parse_time_field("0,9,63", set);
    EXPECT_EQ(set.bits, (std::array<unsigned char, 8>{0x80, 0x40, 0, 0, 0, 0, 0, 0x01}));
}

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
