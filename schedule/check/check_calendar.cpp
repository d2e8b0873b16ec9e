#include "schedule/check/check_calendar.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

bool is_leap_year(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month)
{
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

// 0 = Sunday, Gregorian calendar (Sakamoto's method).
int day_of_week(int year, int month, int day)
{
    constexpr std::array<int, 12> offsets = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[static_cast<std::size_t>(month - 1)] + day) % 7;
}

ClockTime clock_at(int year, int month, int day, int hour, int minute)
{
    auto u = [](int v) { return static_cast<unsigned short>(v); };
    return ClockTime{u(year), u(month), u(day_of_week(year, month, day)), u(day), u(hour), u(minute), 0, 0};
}

struct Date {
    int year, month, day;
    bool operator<(const Date& o) const
    {
        if (year != o.year) return year < o.year;
        if (month != o.month) return month < o.month;
        return day < o.day;
    }
    bool operator==(const Date& o) const = default;
};

Date next_day(Date d)
{
    if (++d.day <= days_in_month(d.year, d.month)) return d;
    d.day = 1;
    if (++d.month <= 12) return d;
    d.month = 1;
    ++d.year;
    return d;
}

Date first_of_next_month(Date d)
{
    d.day = days_in_month(d.year, d.month);
    return next_day(d);
}

TimeFieldSet parsed(const char* text)
{
    TimeFieldSet set;
    parse_time_field(text, set);
    return set;
}

bool has_value_in(const TimeFieldSet& set, int low, int high)
{
    for (int n = low; n <= high; ++n) {
        if (time_set_contains(set, n)) return true;
    }
    return false;
}

}  // namespace

bool make_clock_time(int year, int month, int day, int hour, int minute, ClockTime& out)
{
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        return false;
    }
    out = clock_at(year, month, day, hour, minute);
    return true;
}

bool read_check_time(const char* text, const ClockTime& base, bool after, ClockTime& out)
{
    const std::string_view t(text);
    auto digits = [t](std::size_t at, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (i >= t.size() || t[i] < '0' || t[i] > '9') return false;
            value = value * 10 + (t[i] - '0');
        }
        return true;
    };
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (t.size() == 16) {
        return t[4] == '-' && t[7] == '-' && t[10] == ' ' && t[13] == ':' && digits(0, 4, year) &&
               digits(5, 2, month) && digits(8, 2, day) && digits(11, 2, hour) && digits(14, 2, minute) &&
               make_clock_time(year, month, day, hour, minute, out);
    }
    const std::size_t colon = t.size() - 3;  // "H:MM" or "HH:MM"
    if ((t.size() != 4 && t.size() != 5) || t[colon] != ':' || !digits(0, colon, hour) ||
        !digits(colon + 1, 2, minute)) {
        return false;
    }
    ClockTime time{};
    if (!make_clock_time(base.wYear, base.wMonth, base.wDay, hour, minute, time)) return false;
    if (after && minute_order(time) <= minute_order(base)) {
        const Date d = next_day(Date{base.wYear, base.wMonth, base.wDay});
        if (!make_clock_time(d.year, d.month, d.day, hour, minute, time)) return false;
    }
    out = time;
    return true;
}

ClockTime next_minute(const ClockTime& t)
{
    if (t.wMinute < 59) return clock_at(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute + 1);
    if (t.wHour < 23) return clock_at(t.wYear, t.wMonth, t.wDay, t.wHour + 1, 0);
    const Date d = next_day(Date{t.wYear, t.wMonth, t.wDay});
    return clock_at(d.year, d.month, d.day, 0, 0);
}

std::int64_t minute_order(const ClockTime& t)
{
    return (((std::int64_t{t.wYear} * 13 + t.wMonth) * 32 + t.wDay) * 24 + t.wHour) * 60 + t.wMinute;
}

ClockTime horizon_of(const ClockTime& from, bool& cut)
{
    cut = from.wYear + CHECK_HORIZON_YEARS > 9999;
    if (cut) return clock_at(10000, 1, 1, 0, 0);
    // 29 February in a year that is no leap year: the horizon is 1 March.
    const int year = from.wYear + CHECK_HORIZON_YEARS;
    if (from.wDay > days_in_month(year, from.wMonth)) return clock_at(year, 3, 1, 0, 0);
    return clock_at(year, from.wMonth, from.wDay, 0, 0);
}

void walk_runs(const CronEntry& entry, const ClockTime& from, const ClockTime& until, RunVisitor visit, void* context)
{
    // The due pass always matches the weekday "*", whatever the file said.
    CronEntry as_run = entry;
    as_run.weekday = "*";
    // The same sets entry_is_due builds, used only to pass over whole months,
    // days and hours that cannot match; every minute left is put to entry_is_due.
    const TimeFieldSet minutes = parsed(entry.minute), hours = parsed(entry.hour), days = parsed(entry.day),
                       months = parsed(entry.month);
    if (!has_value_in(minutes, 0, 59) || !has_value_in(hours, 0, 23) || !has_value_in(days, 1, 31) ||
        !has_value_in(months, 1, 12)) {
        return;
    }

    const std::int64_t end = minute_order(until);
    const Date start{from.wYear, from.wMonth, from.wDay};
    const Date last{until.wYear, until.wMonth, until.wDay};
    for (Date d = start; d < last || d == last;) {
        if (!time_set_contains(months, d.month)) {
            d = first_of_next_month(d);
            continue;
        }
        if (time_set_contains(days, d.day)) {
            const bool first_day = d == start;
            for (int h = first_day ? from.wHour : 0; h < 24; ++h) {
                if (!time_set_contains(hours, h)) continue;
                const bool first_hour = first_day && h == from.wHour;
                for (int m = first_hour ? from.wMinute : 0; m < 60; ++m) {
                    if (!time_set_contains(minutes, m)) continue;
                    const ClockTime t = clock_at(d.year, d.month, d.day, h, m);
                    if (minute_order(t) >= end) return;
                    if (entry_is_due(t, as_run) != 0 && !visit(t, context)) return;
                }
            }
        }
        d = next_day(d);
    }
}

std::int64_t count_runs(const CronEntry& entry, const ClockTime& from, const ClockTime& until)
{
    std::int64_t count = 0;
    auto walk = [&entry, &count](const ClockTime& start, const ClockTime& end) {
        walk_runs(
            entry, start, end,
            [](const ClockTime&, void* context) {
                ++*static_cast<std::int64_t*>(context);
                return true;
            },
            &count);
    };
    const Date first = next_day(Date{from.wYear, from.wMonth, from.wDay});
    const Date last{until.wYear, until.wMonth, until.wDay};
    if (!(first < last)) {
        walk(from, until);
        return count;
    }
    walk(from, clock_at(first.year, first.month, first.day, 0, 0));
    walk(clock_at(last.year, last.month, last.day, 0, 0), until);
    const TimeFieldSet minutes = parsed(entry.minute), hours = parsed(entry.hour), days = parsed(entry.day),
                       months = parsed(entry.month);
    int per_day = 0;
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; ++m) per_day += time_set_contains(hours, h) != 0 && time_set_contains(minutes, m) != 0;
    }
    for (Date d = first; d < last; d = next_day(d)) {
        if (time_set_contains(months, d.month) && time_set_contains(days, d.day)) count += per_day;
    }
    return count;
}

int next_runs(const CronEntry& entry, const ClockTime& from, ClockTime* out, int count)
{
    if (count <= 0) return 0;
    struct Found {
        ClockTime* out;
        int count;
        int found;
    } found{out, count, 0};
    bool cut = false;
    walk_runs(
        entry, from, horizon_of(from, cut),
        [](const ClockTime& run, void* context) {
            Found& f = *static_cast<Found*>(context);
            f.out[f.found++] = run;
            return f.found < f.count;
        },
        &found);
    return found.found;
}

bool day_and_month_meet(const char* day, const char* month)
{
    const TimeFieldSet days = parsed(day), months = parsed(month);
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= days_in_month(2000, m); ++d) {
            if (time_set_contains(months, m) && time_set_contains(days, d)) return true;
        }
    }
    return false;
}

std::string horizon_text(bool cut, Language language)
{
    return cut ? say(language, Message::HORIZON_10000, {"10000"})
               : say(language, Message::HORIZON_YEARS, {std::to_string(CHECK_HORIZON_YEARS)});
}

std::string format_check_time(const ClockTime& t)
{
    constexpr std::array<const char*, 7> weekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<char, 32> text;
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d %s", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, weekdays[t.wDayOfWeek % 7]);
    return text.data();
}
