#include "schedule/time_pattern.h"

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the run of digits at `p` into `value`, saturating at TIME_VALUE_LIMIT so
// that a hundred digits cannot overflow. Answers the first byte after the run.
const char* read_number(const char* p, int& value)
{
    value = 0;
    for (; is_digit(*p); ++p) {
        if (value < TIME_VALUE_LIMIT) value = value * 10 + (*p - '0');
    }
    return p;
}

bool field_admits(const char* pattern, int value)
{
    TimeFieldSet set;
    parse_time_field(pattern, set);
    return value >= 0 && value < TIME_VALUE_LIMIT && time_set_contains(set, value);
}

}  // namespace

int time_set_contains(const TimeFieldSet& set, int n)
{
    return (set.bits[n >> 3] & (0x80u >> (n & 7))) != 0 ? 1 : 0;
}

void time_set_add(TimeFieldSet& set, int n)
{
    set.bits[n >> 3] = static_cast<unsigned char>(set.bits[n >> 3] | (0x80u >> (n & 7)));
}

void time_set_add_range(TimeFieldSet& set, int a, int b)
{
    for (int n = a; n <= b; ++n) time_set_add(set, n);
}

namespace {

// Parses `text` into `set` and answers where the parse stopped: the end of
// the text, or the first byte the grammar did not use. A number that ends the
// parse without being added (64 or more, or before a hyphen that no digit
// follows, or before a range end of 64 or more) counts as not used. Notes
// what it meets in `report` when that is not null.
const char* parse_time_field_until(const char* text, TimeFieldSet& set, TimeFieldReport* report = nullptr)
{
    const char* p = text;
    while (*p != '\0') {
        if (report != nullptr && report->first_item < 0 && (*p == '*' || is_digit(*p))) {
            report->first_item = static_cast<int>(p - text);
        }
        if (*p == '*') {
            time_set_add_range(set, 0, TIME_VALUE_LIMIT - 1);
            return p + 1;
        }
        if (!is_digit(*p)) {
            ++p;
            continue;
        }
        const char* item = p;
        int a = 0;
        p = read_number(p, a);
        if (a >= TIME_VALUE_LIMIT) return item;
        if (*p == ',') {
            time_set_add(set, a);
            ++p;
            continue;
        }
        if (*p != '-') {
            time_set_add(set, a);
            return p;
        }
        ++p;  // past the hyphen
        if (!is_digit(*p)) return item;
        int b = 0;
        p = read_number(p, b);
        if (b >= TIME_VALUE_LIMIT) return item;
        time_set_add_range(set, a, b);
        if (report != nullptr && b < a && report->backward_count++ == 0) {
            report->backward_at = static_cast<int>(item - text);
            report->backward_length = static_cast<int>(p - item);
        }
        if (*p != ',') return p;
        ++p;
    }
    return p;
}

}  // namespace

void parse_time_field(const char* text, TimeFieldSet& set)
{
    if (text == nullptr) return;
    parse_time_field_until(text, set);
}

int time_field_used_length(const char* text)
{
    return report_time_field(text).used;
}

TimeFieldReport report_time_field(const char* text)
{
    TimeFieldReport report;
    if (text == nullptr) return report;
    TimeFieldSet ignored;
    report.used = static_cast<int>(parse_time_field_until(text, ignored, &report) - text);
    return report;
}

int entry_is_due(const ClockTime& time, const CronEntry& entry)
{
    // Minute first: in a due pass most rows miss at the minute, so they cost one parse.
    return field_admits(entry.minute, time.wMinute) && field_admits(entry.hour, time.wHour) &&
                   field_admits(entry.day, time.wDay) && field_admits(entry.month, time.wMonth) &&
                   field_admits(entry.weekday, time.wDayOfWeek)
               ? 1
               : 0;
}
