#pragma once
// Time patterns: the values a minute, hour, day, month or weekday pattern
// admits, and whether an entry is due at a clock time.
#include <array>

#include "schedule/cron_entry.h"

// A time pattern's values lie below this: 0 to 63.
constexpr int TIME_VALUE_LIMIT = 64;

// The set of values 0 to 63 that one pattern admits. Value n is the bit
// 0x80 >> (n % 8) of byte n / 8: byte 0's top bit is 0, byte 7's low bit 63.
struct TimeFieldSet {
    std::array<unsigned char, 8> bits{};
};

// n must lie in 0..63.
int time_set_contains(const TimeFieldSet& set, int n);
void time_set_add(TimeFieldSet& set, int n);
// Adds a..b inclusive; nothing when b < a. Both in 0..63.
void time_set_add_range(TimeFieldSet& set, int a, int b);

// Adds to `set` the values admitted by `text` (NUL-terminated; null reads as
// empty). The caller clears the set first. Never fails: text it does not
// understand admits fewer values.
//
//   pattern := "*" | item { "," item }
//   item    := number | number "-" number
// Characters that are neither digits nor "*" are skipped while looking for the
// next item; a complete item not followed by "," ends the list; a number of 64
// or more ends the parse.
void parse_time_field(const char* text, TimeFieldSet& set);

// How many leading bytes of `text` the grammar above uses when it is parsed;
// the rest is ignored (text after "*", after an item not followed by ",", or
// from a number that ends the parse). Skipped bytes before an item count as
// used. 0 for a null text.
int time_field_used_length(const char* text);

// What the parser met in one pattern, for reports that must say what the
// matching does. Offsets count bytes from the pattern's start.
struct TimeFieldReport {
    int used = 0;             // time_field_used_length
    int first_item = -1;      // where the first digit or "*" stands; -1 when there is none
    int backward_at = -1;     // where the first range "a-b" with b < a starts (it adds nothing); -1 if none
    int backward_length = 0;  // that range's length in bytes
    int backward_count = 0;   // how many such ranges the parse passed
};
TimeFieldReport report_time_field(const char* text);

// A clock time with the fields of the Win32 SYSTEMTIME record, so that the core
// matches without windows.h. Local time or UTC is the caller's choice.
struct ClockTime {
    unsigned short wYear;
    unsigned short wMonth;      // 1..12
    unsigned short wDayOfWeek;  // 0..6, 0 = Sunday
    unsigned short wDay;        // 1..31
    unsigned short wHour;       // 0..23
    unsigned short wMinute;     // 0..59
    unsigned short wSecond;
    unsigned short wMilliseconds;
};

// 1 when the minute, hour, day, month and weekday patterns of `entry` (slots
// 0 to 4, all non-null) all admit the clock's values; 0 at the first that does
// not, without parsing the rest.
int entry_is_due(const ClockTime& time, const CronEntry& entry);
