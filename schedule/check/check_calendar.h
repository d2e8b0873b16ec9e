#pragma once
// The checker's calendar: real dates, the minute after a time, and the runs
// of an entry as the program's timer sees them, and their text. Every run is decided by
// entry_is_due; the patterns' sets only let the walk pass over months, days
// and hours that cannot match.
#include <cstdint>
#include <string>

#include "schedule/check/check_messages.h"
#include "schedule/time_pattern.h"

// Next runs are looked for from the start time up to the end of the day
// before the same date this many years later, and never past 9999-12-31.
constexpr int CHECK_HORIZON_YEARS = 5;

// A clock time for the given local date and time, its weekday filled in;
// false (and `out` untouched) unless it is a real date of years 1601 to 9999
// and a time 00:00 to 23:59.
bool make_clock_time(int year, int month, int day, int hour, int minute, ClockTime& out);

// A time the checker is given: "YYYY-MM-DD HH:MM", or a time alone, "HH:MM"
// or "H:MM", on the date of `base`, or with `after` at the first such time
// after `base` (on the next day when it is not later the same day). False,
// and `out` untouched, for any other text or a time that is no real one.
bool read_check_time(const char* text, const ClockTime& base, bool after, ClockTime& out);

// The minute after `time` (seconds dropped), rolling over days, months and
// years.
ClockTime next_minute(const ClockTime& time);

// A number that orders clock times by their minute (seconds dropped).
std::int64_t minute_order(const ClockTime& time);

// The clock time CHECK_HORIZON_YEARS after `from` at 00:00 (the first minute
// not looked at), or 10000-01-01 00:00 when that comes first; `cut` tells
// which.
ClockTime horizon_of(const ClockTime& from, bool& cut);

// Calls `visit` for every minute from `from` (included) up to `until`
// (excluded) at which `entry` is due as the program's timer sees it: matched
// with entry_is_due and the weekday pattern "*", oldest first. Stops early
// when `visit` answers false. `until` may be 10000-01-01 00:00 (see
// horizon_of), which make_clock_time does not make.
using RunVisitor = bool (*)(const ClockTime& run, void* context);
void walk_runs(const CronEntry& entry, const ClockTime& from, const ClockTime& until, RunVisitor visit, void* context);

// How many runs walk_runs would visit: the first and last day walked, the
// whole days between counted from the patterns' sets, so that years of an
// entry due every minute are counted quickly.
std::int64_t count_runs(const CronEntry& entry, const ClockTime& from, const ClockTime& until);

// Fills `out` with up to `count` times, oldest first, at which `entry` is due
// from `from` up to the horizon. Answers how many were found.
int next_runs(const CronEntry& entry, const ClockTime& from, ClockTime* out, int count);

// Whether some month of the month pattern has some day of the day pattern in
// some year (a leap year has them all).
bool day_and_month_meet(const char* day, const char* month);

// How far runs were looked for: "within 5 years", or "before the year
// 10000" when the horizon is cut there.
std::string horizon_text(bool cut, Language language);
// "YYYY-MM-DD HH:MM Www", the same in every language.
std::string format_check_time(const ClockTime& time);
