#pragma once
// The schedule checker: how the program reads each line of a crontab file,
// what in it will not do what it seems to, and when each entry runs next.
// Lines are read and scanned by the loader's own functions and run times are
// decided by entry_is_due, so the checker cannot drift from the program.
// Nothing here prints: results are records, and texts are built as strings.
//
// Output of format_line_check, one text line each, every one starting with
// the crontab line's number (lines counted as the loader counts them):
//
//   N: entry: minute=M hour=H day=D month=MO command=C option=O
//   N: warning: FIELD: TEXT        (FIELD is minute, hour, day, month,
//                                   weekday, command, option or line)
//   N: next: YYYY-MM-DD HH:MM Www, ...     (the next runs, oldest first)
//   N: next: never within 5 years
//   N: skipped: REASON
//
// Field texts are the bytes the program keeps (code page 932 passes through).
#include <string>
#include <vector>

#include "schedule/crontab_line.h"
#include "schedule/time_pattern.h"

// Next runs are looked for from the start time up to the end of the day
// before the same date this many years later.
constexpr int CHECK_HORIZON_YEARS = 5;

enum class CheckField { Minute, Hour, Day, Month, Weekday, Command, Option, Line };

// "minute", "hour", ... "line".
const char* check_field_name(CheckField field);

struct CheckWarning {
    CheckField field;
    std::string text;
};

struct LineCheck {
    int number = 0;          // from 1
    int converted = 0;       // fields the loader's scan converted: 6 or 7 make an entry
    CrontabFields fields{};  // as the loader scans them (weekday included)
    std::vector<CheckWarning> warnings;
    std::vector<ClockTime> runs;  // next runs within the horizon, oldest first
    int runs_asked = 0;           // how many runs were looked for
};

inline bool is_entry(const LineCheck& check)
{
    return check.converted >= 6;
}

// A clock time for the given local date and time, its weekday filled in;
// false (and `out` untouched) unless it is a real date of years 1601 to 9999
// and a time 00:00 to 23:59.
bool make_clock_time(int year, int month, int day, int hour, int minute, ClockTime& out);

// The minute after `time` (seconds dropped), rolling over days, months and
// years.
ClockTime next_minute(const ClockTime& time);

// Fills `out` with up to `count` times, oldest first, at which `entry` is due
// as the program's timer sees it: every calendar minute from `from` (that
// minute included) up to the horizon, matched with entry_is_due and the
// weekday pattern "*". Months, days and hours that the entry's patterns rule
// out are passed over whole. Answers how many were found.
int next_runs(const CronEntry& entry, const ClockTime& from, ClockTime* out, int count);

// Checks one line as read_crontab_line handed it out (`dropped` characters
// of an over-long line lost) and looks for its next `run_count` runs from
// `from` when it is an entry.
void check_crontab_line(const char* line, int number, int dropped, const ClockTime& from, int run_count,
                        LineCheck& out);

// The text lines above for one checked line, each ending in "\n".
std::string format_line_check(const LineCheck& check);

struct CheckTotals {
    int lines = 0;
    int entries = 0;
    int warnings = 0;
};

// Reads every line of `reader` as the loader does, checks it and hands the
// result to `sink` (with `context`) before the next line is read. Answers the
// totals. The reader stays the caller's.
using LineCheckSink = void (*)(const LineCheck& check, void* context);
CheckTotals check_crontab(LineReader* reader, const ClockTime& from, int run_count, LineCheckSink sink, void* context);
