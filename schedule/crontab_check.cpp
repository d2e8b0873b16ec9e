#include "schedule/crontab_check.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "commands/command_names.h"

namespace {

// --- Calendar -------------------------------------------------------------

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

constexpr Date PAST_LAST_DAY{10000, 1, 1};

// The first day not looked at: the same date CHECK_HORIZON_YEARS later, or
// the day after 9999-12-31, whichever comes first.
Date horizon_end(const ClockTime& from)
{
    const Date end{from.wYear + CHECK_HORIZON_YEARS, from.wMonth, from.wDay};
    return PAST_LAST_DAY < end ? PAST_LAST_DAY : end;
}

std::string horizon_text(bool cut)
{
    return cut ? "before the year 10000" : "within " + std::to_string(CHECK_HORIZON_YEARS) + " years";
}

// Whether some month of `months` has some day of `days` in some year (a leap
// year has them all).
bool day_and_month_meet(const TimeFieldSet& days, const TimeFieldSet& months)
{
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= days_in_month(2000, month); ++day)
            if (time_set_contains(months, month) && time_set_contains(days, day)) return true;
    return false;
}

// --- Time fields ----------------------------------------------------------

struct TimeFieldInfo {
    CheckField field;
    const char* name;    // "minute"
    const char* plural;  // "minutes"
    int low, high;       // the values a clock time can have
};

constexpr std::array<TimeFieldInfo, 4> time_fields = {{
    {CheckField::MINUTE, "minute", "minutes", 0, 59},
    {CheckField::HOUR, "hour", "hours", 0, 23},
    {CheckField::DAY, "day", "days", 1, 31},
    {CheckField::MONTH, "month", "months", 1, 12},
}};

TimeFieldSet parsed(const char* text)
{
    TimeFieldSet set;
    parse_time_field(text, set);
    return set;
}

bool has_value_in(const TimeFieldSet& set, int low, int high)
{
    for (int n = low; n <= high; ++n)
        if (time_set_contains(set, n)) return true;
    return false;
}

// The members of `set` from `low` to `high` (both in 0..63) as "1-3,10"; the
// empty text when there are none.
std::string value_list(const TimeFieldSet& set, int low, int high)
{
    std::string out;
    for (int n = low; n <= high; ++n) {
        if (!time_set_contains(set, n)) continue;
        int last = n;
        while (last < high && time_set_contains(set, last + 1)) ++last;
        if (!out.empty()) out += ',';
        out += std::to_string(n);
        if (last > n) {
            out += last == n + 1 ? ',' : '-';
            out += std::to_string(last);
        }
        n = last;
    }
    return out;
}

// What a field admits among the values a clock can have, in words.
std::string what_it_matches(const TimeFieldSet& set, const TimeFieldInfo& f)
{
    const std::string values = value_list(set, f.low, f.high);
    if (values.empty()) return std::string("no ") + f.name;
    bool every = true;
    for (int n = f.low; n <= f.high && every; ++n) every = time_set_contains(set, n) != 0;
    if (every) return std::string("every ") + f.name + " (" + values + ")";
    const bool one = values.find_first_of(",-") == std::string::npos;
    return (one ? f.name : f.plural) + std::string(" ") + values;
}

std::string quoted(const char* text)
{
    return std::string("\"") + text + "\"";
}

void warn(LineCheck& out, CheckField field, std::string text)
{
    out.warnings.push_back(CheckWarning{field, std::move(text)});
}

bool is_full(const TimeFieldSet& set)
{
    for (unsigned char byte : set.bits)
        if (byte != 0xFF) return false;
    return true;
}

// Warnings of one time field; answers whether the field admits any value a
// clock can have.
bool check_time_field(const char* text, const TimeFieldInfo& f, LineCheck& out)
{
    const TimeFieldSet set = parsed(text);
    const bool possible = has_value_in(set, f.low, f.high);
    const std::size_t first = out.warnings.size();
    const TimeFieldReport report = report_time_field(text);
    const int used = report.used;
    auto part = [text](int at, int length) {
        return quoted(std::string(text + at, static_cast<std::size_t>(length)).c_str());
    };

    // "#30" and "x5" look like no number, yet the pattern passes over the
    // leading bytes and counts the number after them.
    if (report.first_item > 0 && report.first_item < used)
        warn(out, f.field,
             part(0, report.first_item) + " before " + part(report.first_item, used - report.first_item) +
                 " is skipped: the field matches " + what_it_matches(set, f));
    if (report.backward_count > 0)
        warn(out, f.field,
             part(report.backward_at, report.backward_length) +
                 (report.backward_count == 1 ? " runs backward and adds nothing"
                                             : " and " + std::to_string(report.backward_count - 1) +
                                                   " more ranges run backward and add nothing") +
                 ": the field matches " + what_it_matches(set, f));

    const char* ignored = text + used;
    if (*ignored != '\0') {
        std::string why;
        if (used > 0 && text[used - 1] == '*')
            why = " after " + quoted("*") + " is ignored (there are no steps)";
        else if (*ignored >= '0' && *ignored <= '9')
            why = " is ignored (a number of 64 or more, or a hyphen with no number after it, ends the pattern)";
        else
            why = " after " + quoted(std::string(text, static_cast<std::size_t>(used)).c_str()) +
                  " is ignored (an item not followed by a comma ends the list)";
        warn(out, f.field, quoted(ignored) + why + ": the field matches " + what_it_matches(set, f));
    }

    // Values a clock never has; a set of all of 0..63 is a star or as good as one.
    TimeFieldSet outside = set;
    for (int n = f.low; n <= f.high; ++n)
        outside.bits[static_cast<std::size_t>(n >> 3)] &= static_cast<unsigned char>(~(0x80u >> (n & 7)));
    const std::string impossible = is_full(set) ? "" : value_list(outside, 0, TIME_VALUE_LIMIT - 1);
    if (!impossible.empty())
        warn(out, f.field,
             impossible + " can never occur: " + f.plural + " are " + std::to_string(f.low) + "-" +
                 std::to_string(f.high));

    if (!possible) {
        if (out.warnings.size() == first)
            warn(out, f.field, quoted(text) + " matches no " + f.name + ", so the entry never runs");
        else
            out.warnings.back().text += ", so the entry never runs";
    }
    return possible;
}

// Warns about a command name that no command bears; answers whether one does.
bool check_command(const char* command, LineCheck& out)
{
    for (const char* name : command_names)
        if (std::strcmp(name, command) == 0) return true;
    std::string known;
    for (const char* name : command_names) known += (known.empty() ? "" : ", ") + std::string(name);
    for (const char* name : command_names) {
        std::size_t i = 0;
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        while (name[i] != '\0' && lower(name[i]) == lower(command[i])) ++i;
        if (name[i] == '\0' && command[i] == '\0') {
            warn(out, CheckField::COMMAND,
                 quoted(command) + " is not a command (names compare case-sensitively): did you mean " + quoted(name) +
                     "? The entry runs nothing");
            return false;
        }
    }
    warn(out, CheckField::COMMAND, quoted(command) + " is not a command (" + known + "): the entry runs nothing");
    return false;
}

std::string format_time(const ClockTime& t)
{
    constexpr std::array<const char*, 7> weekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d %s", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  weekdays[t.wDayOfWeek % 7]);
    return text;
}

// Whether a Save from TaveCron writes the entry of `line` (its first `length`
// bytes) as it stands; see SaveEffect.
SaveEffect save_effect(const CronEntry& entry, const char* line, int length, int dropped)
{
    CrontabLineText saved;
    const int saved_length = format_crontab_line(entry, saved) - 2;  // CR LF
    auto trimmed = [](const char* text, int n) {
        auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; };
        while (n > 0 && blank(text[n - 1])) --n;
        return n;
    };
    const int n = trimmed(saved.data(), saved_length);
    const bool same = dropped == 0 && n == trimmed(line, length) && std::memcmp(saved.data(), line, n) == 0;
    return same ? SaveEffect::SAME : SaveEffect::CHANGED;
}

std::string counted(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

const char* check_field_name(CheckField field)
{
    constexpr std::array<const char*, 8> names = {"minute",  "hour",    "day",    "month",
                                                  "weekday", "command", "option", "line"};
    return names[static_cast<std::size_t>(field)];
}

bool make_clock_time(int year, int month, int day, int hour, int minute, ClockTime& out)
{
    if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return false;
    out = clock_at(year, month, day, hour, minute);
    return true;
}

ClockTime next_minute(const ClockTime& t)
{
    if (t.wMinute < 59) return clock_at(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute + 1);
    if (t.wHour < 23) return clock_at(t.wYear, t.wMonth, t.wDay, t.wHour + 1, 0);
    const Date d = next_day(Date{t.wYear, t.wMonth, t.wDay});
    return clock_at(d.year, d.month, d.day, 0, 0);
}

int next_runs(const CronEntry& entry, const ClockTime& from, ClockTime* out, int count)
{
    if (count <= 0) return 0;
    // The due pass always matches the weekday "*", whatever the file said.
    CronEntry as_run = entry;
    as_run.weekday = "*";
    // The same sets entry_is_due builds, used only to pass over whole months,
    // days and hours that cannot match; every minute left is put to entry_is_due.
    const TimeFieldSet minutes = parsed(entry.minute), hours = parsed(entry.hour), days = parsed(entry.day),
                       months = parsed(entry.month);
    for (std::size_t i = 0; i < time_fields.size(); ++i) {
        const TimeFieldSet* sets[] = {&minutes, &hours, &days, &months};
        if (!has_value_in(*sets[i], time_fields[i].low, time_fields[i].high)) return 0;
    }

    const Date start{from.wYear, from.wMonth, from.wDay};
    const Date end = horizon_end(from);
    int found = 0;
    for (Date d = start; d < end;) {
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
                    if (entry_is_due(t, as_run) == 0) continue;
                    out[found++] = t;
                    if (found == count) return found;
                }
            }
        }
        d = next_day(d);
    }
    return found;
}

void check_crontab_line(const char* line, int length, int number, int dropped, const ClockTime& from, int run_count,
                        LineCheck& out)
{
    out.number = number;
    out.warnings.clear();
    out.runs.clear();
    out.runs_asked = 0;
    out.runs_nothing = false;
    out.horizon_cut = PAST_LAST_DAY < Date{from.wYear + CHECK_HORIZON_YEARS, from.wMonth, from.wDay};
    out.has_nul = std::memchr(line, '\0', static_cast<std::size_t>(length)) != nullptr;
    out.save = SaveEffect::DROPPED;
    CrontabFieldLengths lengths;
    out.converted = scan_crontab_line(line, out.fields, lengths);

    if (dropped > 0)
        warn(out, CheckField::LINE,
             "the line is " + std::to_string(CRONTAB_LINE_SIZE - 1 + dropped) +
                 " characters long: the program reads its first " + std::to_string(CRONTAB_LINE_SIZE - 1) +
                 " and drops the rest");
    if (!is_entry(out)) return;

    const CronEntry entry = entry_from_fields(out.fields);
    out.save = save_effect(entry, line, length, dropped);
    const std::array<const char*, 7> texts = {entry.minute,  entry.hour,    entry.day,   entry.month,
                                              entry.weekday, entry.command, entry.option};
    constexpr std::array<CheckField, 7> in_line_order = {CheckField::MINUTE, CheckField::HOUR,    CheckField::DAY,
                                                         CheckField::MONTH,  CheckField::WEEKDAY, CheckField::COMMAND,
                                                         CheckField::OPTION};
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] < CELL_TEXT_SIZE) continue;
        warn(out, in_line_order[i],
             "the field is " + std::to_string(lengths[i]) + " bytes long: the program keeps its first " +
                 std::to_string(std::strlen(texts[i])));
    }

    const std::size_t first_pattern_warning = out.warnings.size();
    bool every_field_possible = true;
    for (std::size_t i = 0; i < time_fields.size(); ++i)
        every_field_possible = check_time_field(texts[i], time_fields[i], out) && every_field_possible;
    if (std::strcmp(entry.weekday, "*") != 0)
        warn(out, CheckField::WEEKDAY,
             quoted(entry.weekday) + " is ignored: the program matches every weekday and saves \"*\"");
    const bool known = check_command(entry.command, out);
    out.runs_nothing = !known;

    // Even with no runs asked for, one is looked for to tell an entry that never runs.
    const int wanted = run_count > 0 ? run_count : 1;
    out.runs_asked = run_count;
    out.runs.resize(static_cast<std::size_t>(wanted));
    const int found = next_runs(entry, from, out.runs.data(), wanted);
    const ClockTime first_run = out.runs[0];
    out.runs.resize(run_count > 0 ? static_cast<std::size_t>(found) : 0);
    const bool meet = day_and_month_meet(parsed(entry.day), parsed(entry.month));
    if (found == 0 && every_field_possible && !meet)
        warn(out, CheckField::DAY,
             "day " + quoted(entry.day) + " and month " + quoted(entry.month) +
                 " never meet (no such date): the entry never runs");
    else if (found == 0 && every_field_possible)
        warn(out, CheckField::DAY,
             "no run " + horizon_text(out.horizon_cut) + ": the next date and time that day " + quoted(entry.day) +
                 ", month " + quoted(entry.month) + " and the time fields admit come later");

    // "#" in front reads as a comment to a person, so the line gets one
    // warning that says what the program makes of it, not one per field.
    if (entry.minute[0] == '#') {
        std::string fate = "never runs";
        if (every_field_possible && meet && found == 0) fate = "does not run " + horizon_text(out.horizon_cut);
        if (found > 0 && known) fate = "runs, next at " + format_time(first_run);
        if (found > 0 && !known)
            fate = "is due next at " + format_time(first_run) + " but runs nothing (" + quoted(entry.command) +
                   " is not a command)";
        out.warnings.resize(first_pattern_warning);
        warn(out, CheckField::LINE,
             "\"#\" does not comment out a line: TaveCron reads this one as an entry that " + fate);
    }
}

std::string format_line_check(const LineCheck& c)
{
    const std::string head = std::to_string(c.number) + ": ";
    std::string out;
    if (!is_entry(c)) {
        out += head + "skipped: ";
        if (c.converted == 0)
            out += "blank line\n";
        else
            out += std::to_string(c.converted) + (c.converted == 1 ? " word" : " words") +
                   ", fewer than the six of an entry" +
                   (c.fields.minute[0] == '#' ? " (\"#\" starts no comment: only the word count skips it)" : "") + "\n";
    } else {
        const CrontabFields& f = c.fields;
        out += head + "entry: minute=" + f.minute.data() + " hour=" + f.hour.data() + " day=" + f.day.data() +
               " month=" + f.month.data() + " command=" + f.command.data() + " option=" + quoted(f.option.data()) +
               "\n";
    }
    for (const CheckWarning& w : c.warnings)
        out += head + "warning: " + check_field_name(w.field) + ": " + w.text + "\n";
    if (is_entry(c) && c.runs_asked > 0) {
        out += head + (c.runs_nothing ? "next (runs nothing): " : "next: ");
        for (std::size_t i = 0; i < c.runs.size(); ++i) out += (i > 0 ? ", " : "") + format_time(c.runs[i]);
        if (static_cast<int>(c.runs.size()) < c.runs_asked)
            out += std::string(c.runs.empty() ? "never " : ", then none ") + horizon_text(c.horizon_cut);
        out += "\n";
    }
    return out;
}

CheckTotals check_crontab(LineReader* reader, const ClockTime& from, int run_count, LineCheckSink sink, void* context)
{
    CheckTotals totals;
    std::array<char, CRONTAB_LINE_SIZE> line;
    int dropped = 0;
    int kept = 0;
    std::string mark;
    int nul_lines = 0;
    int first_nul_line = 0;
    LineCheck check;
    while (read_crontab_line(reader, line, dropped, kept) != nullptr) {
        const std::string_view text(line.data(), static_cast<std::size_t>(kept));
        if (totals.lines == 0 && text.starts_with("\xEF\xBB\xBF")) mark = "UTF-8";
        if (totals.lines == 0 && (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))) mark = "UTF-16";
        check_crontab_line(line.data(), kept, ++totals.lines, dropped, from, run_count, check);
        if (is_entry(check)) ++totals.entries;
        if (check.has_nul && nul_lines++ == 0) first_nul_line = check.number;
        if (check.save == SaveEffect::DROPPED) ++totals.save_dropped;
        if (check.save == SaveEffect::CHANGED) ++totals.save_changed;
        totals.warnings += static_cast<int>(check.warnings.size());
        if (sink != nullptr) sink(check, context);
    }

    std::vector<std::string>& file = totals.file_warnings;
    if (mark == "UTF-8")
        file.push_back("the file starts with a UTF-8 byte-order mark: TaveCron reads its three bytes as text at the "
                       "start of line 1; save the file as ANSI (Shift-JIS) text");
    if (mark == "UTF-16")
        file.push_back("the file starts with a UTF-16 byte-order mark: TaveCron reads 8-bit text only; save the file "
                       "as ANSI (Shift-JIS) text");
    if (nul_lines > 0)
        file.push_back(counted(nul_lines, "line holds", "lines hold") + " NUL bytes (the first: line " +
                       std::to_string(first_nul_line) +
                       "): TaveCron reads a line only up to its first NUL byte (UTF-16 text has one in every "
                       "ASCII character)");
    if (totals.entries == 0)
        file.push_back(std::string(totals.lines == 0 ? "the file is empty" : "no line is an entry") +
                       ": TaveCron would load 0 rows");
    totals.warnings += static_cast<int>(file.size());
    return totals;
}

std::string format_file_check(std::string_view path, const CheckTotals& t)
{
    const std::string head = std::string(path) + ": ";
    std::string out;
    for (const std::string& w : t.file_warnings) out += head + "warning: " + w + "\n";
    out += head + counted(t.lines, "line", "lines") + ", " + counted(t.entries, "entry", "entries") + ", " +
           std::to_string(t.lines - t.entries) + " skipped, " + counted(t.warnings, "warning", "warnings") +
           (t.entries == 0 ? ": TaveCron would load 0 rows" : "") + "\n";
    out += head + "a Save from TaveCron would drop " + counted(t.save_dropped, "line", "lines") + " and change " +
           counted(t.save_changed, "line", "lines") + " (line ends and trailing blanks aside)\n";
    return out;
}
