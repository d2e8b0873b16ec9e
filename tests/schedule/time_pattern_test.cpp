#include "schedule/time_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> admitted(const char* pattern)
{
    TimeFieldSet set;
    parse_time_field(pattern, set);
    std::vector<int> values;
    for (int n = 0; n < 64; ++n)
        if (time_set_contains(set, n)) values.push_back(n);
    return values;
}

std::vector<int> range(int a, int b)
{
    std::vector<int> v;
    for (int n = a; n <= b; ++n) v.push_back(n);
    return v;
}

TEST(TimeFieldSet, value_n_is_bit_0x80_shifted_by_n_mod_8_in_byte_n_div_8)
{
    TimeFieldSet set;
    time_set_add(set, 0);
    time_set_add(set, 9);
    time_set_add(set, 63);
    EXPECT_EQ(set.bits[0], 0x80);
    EXPECT_EQ(set.bits[1], 0x40);
    EXPECT_EQ(set.bits[7], 0x01);
    for (int i = 2; i < 7; ++i) EXPECT_EQ(set.bits[i], 0) << i;
    EXPECT_EQ(time_set_contains(set, 9), 1);
    EXPECT_EQ(time_set_contains(set, 8), 0);
}

TEST(TimeFieldSet, a_range_adds_both_ends_and_a_reversed_range_adds_nothing)
{
    TimeFieldSet set;
    time_set_add_range(set, 7, 9);
    time_set_add_range(set, 20, 19);
    for (int n = 0; n < 64; ++n) EXPECT_EQ(time_set_contains(set, n), n >= 7 && n <= 9 ? 1 : 0) << n;
}

struct PatternCase {
    const char* pattern;
    std::vector<int> values;
};

class ParseTimeField : public testing::TestWithParam<PatternCase> {};

TEST_P(ParseTimeField, admits_exactly_the_expected_values)
{
    EXPECT_EQ(admitted(GetParam().pattern), GetParam().values) << '"' << GetParam().pattern << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ParseTimeField,
    testing::Values(
        PatternCase{"*", range(0, 63)}, PatternCase{"*/15", range(0, 63)},
        PatternCase{"5,*", range(0, 63)}, PatternCase{"1,2,3", {1, 2, 3}},
        PatternCase{"1-3,10", {1, 2, 3, 10}}, PatternCase{"3-3", {3}},
        PatternCase{"0-63", range(0, 63)}, PatternCase{"0-64", {}}, PatternCase{"10-5", {}},
        PatternCase{"10-5,7", {7}}, PatternCase{"0-59/5", range(0, 59)},
        PatternCase{"1-", {}}, PatternCase{"1-x", {}}, PatternCase{"99,5", {}},
        PatternCase{"5,99", {5}}, PatternCase{"64", {}}, PatternCase{"63", {63}},
        PatternCase{"x5", {5}}, PatternCase{"-5", {5}}, PatternCase{"+5", {5}},
        PatternCase{"5x,6", {5}}, PatternCase{"1,,2", {1, 2}}, PatternCase{"1, 2", {1, 2}},
        PatternCase{"007", {7}}, PatternCase{"60", {60}}, PatternCase{"", {}},
        PatternCase{"1-3 5", {1, 2, 3}}, PatternCase{"2-4,", {2, 3, 4}},
        PatternCase{"5,", {5}}, PatternCase{"abc", {}}, PatternCase{"\xff\x80" "7", {7}},
        PatternCase{"1-3-5", {1, 2, 3}}, PatternCase{"4-*", {}}));

TEST(ParseTimeFieldBounds, a_run_of_a_hundred_digits_stops_the_parse_without_overflow)
{
    std::string digits(100, '9');
    EXPECT_TRUE(admitted(digits.c_str()).empty());
    std::string ones(100, '1');
    std::string list = "5,";
    list += ones;
    list += ",6";
    EXPECT_EQ(admitted(list.c_str()), std::vector<int>{5});
    std::string zeros = std::string(100, '0') + "42";
    EXPECT_EQ(admitted(zeros.c_str()), std::vector<int>{42});
    std::string reach = "3-";
    reach += digits;
    EXPECT_TRUE(admitted(reach.c_str()).empty());
}

TEST(ParseTimeFieldBounds, a_null_pattern_admits_nothing)
{
    TimeFieldSet set;
    parse_time_field(nullptr, set);
    EXPECT_EQ(set.bits, TimeFieldSet{}.bits);
}

TEST(ParseTimeFieldBounds, every_byte_value_as_a_pattern_stays_within_the_set)
{
    for (int c = 1; c < 256; ++c) {
        char text[4] = {static_cast<char>(c), static_cast<char>(c), '1', '\0'};
        std::vector<int> values = admitted(text);
        if (c == '*') EXPECT_EQ(values.size(), 64u);
        else if (c >= '0' && c <= '9') {
            int number = (c - '0') * 110 + 1;
            EXPECT_EQ(values, number < 64 ? std::vector<int>{number} : std::vector<int>{}) << c;
        }
        else EXPECT_EQ(values, std::vector<int>{1}) << c;
    }
}

ClockTime at(int month, int day, int hour, int minute, int weekday = 3)
{
    ClockTime t{};
    t.wYear = 2026;
    t.wMonth = static_cast<unsigned short>(month);
    t.wDay = static_cast<unsigned short>(day);
    t.wHour = static_cast<unsigned short>(hour);
    t.wMinute = static_cast<unsigned short>(minute);
    t.wDayOfWeek = static_cast<unsigned short>(weekday);
    return t;
}

TEST(EntryIsDue, half_hours_during_office_hours)
{
    CronEntry e{"*", "*", "*", "9-17", "0,30", "NoAction", ""};
    EXPECT_EQ(entry_is_due(at(12, 6, 9, 0), e), 1);
    EXPECT_EQ(entry_is_due(at(12, 6, 9, 30), e), 1);
    EXPECT_EQ(entry_is_due(at(12, 6, 17, 30), e), 1);
    EXPECT_EQ(entry_is_due(at(12, 6, 8, 30), e), 0);
    EXPECT_EQ(entry_is_due(at(12, 6, 18, 0), e), 0);
    EXPECT_EQ(entry_is_due(at(12, 6, 9, 15), e), 0);
}

TEST(EntryIsDue, every_field_decides_including_day_and_weekday_together)
{
    CronEntry e{"1-5", "12", "6", "12", "0", "NoAction", ""};
    EXPECT_EQ(entry_is_due(at(12, 6, 12, 0, 1), e), 1);
    EXPECT_EQ(entry_is_due(at(11, 6, 12, 0, 1), e), 0);  // month
    EXPECT_EQ(entry_is_due(at(12, 7, 12, 0, 1), e), 0);  // day
    EXPECT_EQ(entry_is_due(at(12, 6, 12, 0, 0), e), 0);  // weekday: Sunday
    EXPECT_EQ(entry_is_due(at(12, 6, 12, 1, 1), e), 0);  // minute
}

TEST(EntryIsDue, the_default_row_and_rows_with_empty_cells_are_never_due)
{
    for (int month = 1; month <= 12; ++month)
        for (int hour = 0; hour < 24; hour += 5)
            EXPECT_EQ(entry_is_due(at(month, 15, hour, 0), default_entry), 0);
    CronEntry empty_minute{"*", "*", "*", "*", "", "NoAction", ""};
    EXPECT_EQ(entry_is_due(at(1, 1, 0, 0), empty_minute), 0);
    CronEntry minute_60{"*", "*", "*", "*", "60", "NoAction", ""};
    for (int minute = 0; minute < 60; ++minute)
        EXPECT_EQ(entry_is_due(at(1, 1, 0, minute), minute_60), 0);
}

TEST(EntryIsDue, out_of_range_clock_values_never_match_even_a_star)
{
    CronEntry every{"*", "*", "*", "*", "*", "NoAction", ""};
    ClockTime t = at(1, 1, 0, 0);
    t.wMinute = 64;
    EXPECT_EQ(entry_is_due(t, every), 0);
    t.wMinute = 0xFFFF;
    EXPECT_EQ(entry_is_due(t, every), 0);
}

}  // namespace
