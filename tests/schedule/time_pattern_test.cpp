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
    for (int n : {0, 9, 63}) time_set_add(set, n);
    EXPECT_EQ(set.bits, (std::array<unsigned char, 8>{0x80, 0x40, 0, 0, 0, 0, 0, 0x01}));
}

struct PatternCase {
    std::string pattern;
    std::vector<int> values;
};

void PrintTo(const PatternCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.pattern);
}

class ParseTimeField : public testing::TestWithParam<PatternCase> {};

TEST_P(ParseTimeField, admits_exactly_the_expected_values)
{
    EXPECT_EQ(admitted(GetParam().pattern.c_str()), GetParam().values);
}

const std::string hundred_nines(100, '9');

// The grammar's edges: the whole range, the value limit, reversed and unended
// ranges, what ends a list, bytes skipped, and runs of digits that could
// overflow. (Fuzzing compares every other pattern with a reference parse.)
INSTANTIATE_TEST_SUITE_P(
    Patterns, ParseTimeField,
    testing::Values(PatternCase{"*", range(0, 63)}, PatternCase{"5,*", range(0, 63)},
                    PatternCase{"1-3,10", {1, 2, 3, 10}}, PatternCase{"3-3", {3}}, PatternCase{"0-63", range(0, 63)},
                    PatternCase{"0-64", {}}, PatternCase{"10-5,7", {7}}, PatternCase{"0-59/5", range(0, 59)},
                    PatternCase{"1-", {}}, PatternCase{"99,5", {}}, PatternCase{"5,99", {5}}, PatternCase{"63", {63}},
                    PatternCase{"64", {}}, PatternCase{"x5", {5}}, PatternCase{"1, 2", {1, 2}},
                    PatternCase{"1-3 5", {1, 2, 3}}, PatternCase{"5,", {5}}, PatternCase{"", {}},
                    PatternCase{"\xff\x80"
                                "7",
                                {7}},
                    PatternCase{"1-3-5", {1, 2, 3}}, PatternCase{"4-*", {}}, PatternCase{hundred_nines, {}},
                    PatternCase{"3-" + hundred_nines, {}}, PatternCase{"5," + std::string(100, '1') + ",6", {5}},
                    PatternCase{std::string(100, '0') + "42", {42}}));

ClockTime at(int month, int day, int hour, int minute, int weekday = 3)
{
    using U = unsigned short;
    return ClockTime{2026, U(month), U(weekday), U(day), U(hour), U(minute), 0, 0};
}

TEST(EntryIsDue, every_field_including_day_and_weekday_together_must_admit_the_clock)
{
    const CronEntry e{"1-5", "12", "6", "9-17", "0,30", "NoAction", ""};
    struct Case {
        int month, day, hour, minute, weekday, due;
    };
    const Case cases[] = {
        {12, 6, 9, 0, 1, 1},  {12, 6, 9, 30, 5, 1}, {12, 6, 17, 30, 1, 1}, {12, 6, 8, 30, 1, 0}, {12, 6, 18, 0, 1, 0},
        {12, 6, 9, 15, 1, 0}, {11, 6, 9, 0, 1, 0},  {12, 7, 9, 0, 1, 0},   {12, 6, 9, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(entry_is_due(at(c.month, c.day, c.hour, c.minute, c.weekday), e), c.due)
            << c.month << " " << c.day << " " << c.hour << ":" << c.minute << " weekday " << c.weekday;
}

TEST(EntryIsDue, the_default_row_empty_null_or_unreachable_patterns_and_out_of_range_clocks_never_match)
{
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(entry_is_due(at(month, 15, 0, 0), default_entry), 0);
    for (const char* minute : {"", "60", static_cast<const char*>(nullptr)})
        for (int m = 0; m < 60; ++m) EXPECT_EQ(entry_is_due(at(1, 1, 0, m), {"*", "*", "*", "*", minute, "X", ""}), 0);
    const CronEntry every{"*", "*", "*", "*", "*", "NoAction", ""};
    for (int minute : {64, 0xFFFF}) EXPECT_EQ(entry_is_due(at(1, 1, 0, minute), every), 0) << minute;
}

}  // namespace
