// Fuzz target: the schedule checker over a whole file, and its clock helpers.
//
// Input: a start time (year, month, day, hour, minute), the number of runs to
// look for (0 to 3), then the file's bytes. The file is read and checked
// through a memory stream as the checker tool reads it; every checked line
// must be numbered in order, count as an entry exactly when six or seven
// fields were converted, hold only runs at or after the start that are due
// (oldest first, at most as many as asked, none past 9999-12-31), be dropped
// by a Save exactly when it is no entry, never be said not to run when it
// runs nor run without being said not to (its verdict agrees with its runs,
// whether they were asked for or not), and format as text lines that all
// begin with its number, in English and in Japanese. The totals must add up,
// the file's warnings included. make_clock_time must accept exactly the real
// dates and times, and next_minute step one minute on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "schedule/check/crontab_check.h"
#include "tests/support/memory_stream.h"

namespace {

struct Seen {
    ClockTime from;
    int run_count;
    int lines = 0;
    int entries = 0;
    int warnings = 0;
    int save_dropped = 0;
};

// Minutes counted from a fixed origin, so that times compare as numbers.
long long minutes_of(const ClockTime& t)
{
    return ((((t.wYear * 13LL + t.wMonth) * 32 + t.wDay) * 24 + t.wHour) * 60) + t.wMinute;
}

int days_in_month(int year, int month)
{
    if (month == 2) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

// 0 = Sunday: days from 1970-01-01, a Thursday, by the civil-from-days
// arithmetic of 400-year eras.
int weekday_of(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int year_of_era = y - era * 400;
    const int day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    const long long days = era * 146097LL + day_of_era - 719468;
    return static_cast<int>((days % 7 + 11) % 7);
}

bool is_terminated(const CellText& cell)
{
    return std::memchr(cell.data(), '\0', cell.size()) != nullptr;
}

void check_line(const LineCheck& c, void* context)
{
    Seen& seen = *static_cast<Seen*>(context);
    FUZZ_CHECK(c.number == ++seen.lines);
    FUZZ_CHECK(c.converted >= 0 && c.converted <= 7);
    if (is_entry(c)) ++seen.entries;
    seen.warnings += static_cast<int>(c.warnings.size());
    FUZZ_CHECK((c.save == SaveEffect::DROPPED) == !is_entry(c));
    if (!is_entry(c)) ++seen.save_dropped;

    const CrontabFields& f = c.fields;
    for (const CellText* cell : {&f.minute, &f.hour, &f.day, &f.month, &f.weekday, &f.command, &f.option}) {
        FUZZ_CHECK(is_terminated(*cell));
    }

    FUZZ_CHECK(c.runs_asked == (is_entry(c) ? seen.run_count : 0));
    FUZZ_CHECK(c.runs.size() <= static_cast<std::size_t>(seen.run_count));
    FUZZ_CHECK(is_entry(c) || c.runs.empty());
    CronEntry as_run = entry_from_fields(f);
    as_run.weekday = "*";
    long long previous = minutes_of(seen.from) - 1;
    for (const ClockTime& run : c.runs) {
        // A real calendar minute with its weekday.
        FUZZ_CHECK(run.wYear <= 9999 && run.wMonth >= 1 && run.wMonth <= 12 && run.wDay >= 1 &&
                   run.wDay <= days_in_month(run.wYear, run.wMonth) && run.wHour <= 23 && run.wMinute <= 59);
        FUZZ_CHECK(run.wDayOfWeek == weekday_of(run.wYear, run.wMonth, run.wDay));
        FUZZ_CHECK(minutes_of(run) > previous);
        previous = minutes_of(run);
        FUZZ_CHECK(entry_is_due(run, as_run) == 1);
    }

    // Words of the English report that say a row does not run. Warnings quote
    // the line's own words, so a line whose words hold such a phrase is not
    // read for its verdict.
    constexpr std::array<const char*, 4> verdicts = {"never run", "no run ", "does not run", "switched off"};
    std::string words;
    for (const CellText* cell : {&f.minute, &f.hour, &f.day, &f.month, &f.weekday, &f.command, &f.option}) {
        words += cell->data();
        words += ' ';
    }
    bool words_hold_a_verdict = false;
    for (const char* verdict : verdicts) {
        words_hold_a_verdict = words_hold_a_verdict || words.find(verdict) != std::string::npos;
    }
    bool said_not_to_run = false;
    for (const std::vector<CheckWarning>* said : {&c.warnings, &c.notes}) {
        for (const CheckWarning& w : *said) {
            for (const char* verdict : verdicts) {
                said_not_to_run = said_not_to_run || w.text.find(verdict) != std::string::npos;
            }
        }
    }
    ClockTime first_run{};
    const bool runs = is_entry(c) && next_runs(as_run, seen.from, &first_run, 1) == 1;
    FUZZ_CHECK(words_hold_a_verdict || !(runs && said_not_to_run));
    FUZZ_CHECK(runs || said_not_to_run || !is_entry(c));

    const std::string head = std::to_string(c.number) + ": ";
    // Every text line begins with the line's number, in either language: the
    // first says what the line is, then one per note and warning, then the runs.
    for (const Language language : {Language::ENGLISH, Language::JAPANESE}) {
        const std::string text = format_line_check(c, language);
        FUZZ_CHECK(!text.empty() && text.back() == '\n');
        std::size_t lines = 0;
        for (std::size_t start = 0; start < text.size(); ++lines) {
            FUZZ_CHECK(text.compare(start, head.size(), head) == 0);
            start = text.find('\n', start) + 1;
        }
        FUZZ_CHECK(lines == 1 + c.notes.size() + c.warnings.size() + (is_entry(c) && c.runs_asked > 0 ? 1 : 0));
    }
    const std::string text = format_line_check(c);
    const std::string_view first(text.data() + head.size(), text.size() - head.size());
    FUZZ_CHECK(first.substr(0, is_entry(c) ? 7 : 9) == (is_entry(c) ? "entry: " : "skipped: "));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int year = input.ConsumeIntegralInRange<int>(1600, 10000);
    const int month = input.ConsumeIntegralInRange<int>(0, 13);
    const int day = input.ConsumeIntegralInRange<int>(0, 32);
    const int hour = input.ConsumeIntegralInRange<int>(-1, 24);
    const int minute = input.ConsumeIntegralInRange<int>(-1, 60);
    Seen seen{};
    seen.run_count = input.ConsumeIntegralInRange<int>(0, 3);

    ClockTime from{};
    const bool valid = make_clock_time(year, month, day, hour, minute, from);
    FUZZ_CHECK(valid == (year >= 1601 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                         day <= days_in_month(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59));
    if (valid) {
        FUZZ_CHECK(from.wYear == year && from.wMonth == month && from.wDay == day && from.wHour == hour &&
                   from.wMinute == minute && from.wDayOfWeek == weekday_of(year, month, day));
    } else {
        FUZZ_CHECK(make_clock_time(2024, 2, 29, 23, 59, from));
    }

    // One minute later, rolling over hours, days, months and years.
    int y = from.wYear, mo = from.wMonth, d = from.wDay, h = from.wHour, mi = from.wMinute + 1;
    if (mi == 60) mi = 0, ++h;
    if (h == 24) h = 0, ++d;
    if (d > days_in_month(y, mo)) d = 1, ++mo;
    if (mo == 13) mo = 1, ++y;
    const ClockTime next = next_minute(from);
    FUZZ_CHECK(next.wYear == y && next.wMonth == mo && next.wDay == d && next.wHour == h && next.wMinute == mi);
    FUZZ_CHECK(next.wDayOfWeek == weekday_of(y, mo, d));
    seen.from = from;

    const std::vector<unsigned char> file = input.ConsumeRemainingBytes<unsigned char>();
    MemoryStreamState state{{file.begin(), file.end()}};
    Stream* stream = memory_stream_open(state);
    FUZZ_CHECK(stream != nullptr);
    LineReader* reader = reader_open(stream, READER_MODE_READ);
    FUZZ_CHECK(reader != nullptr);
    const CheckTotals totals = check_crontab(reader, from, seen.run_count, check_line, &seen);
    reader_close(reader);
    FUZZ_CHECK(totals.lines == seen.lines && totals.entries == seen.entries &&
               totals.save_dropped == seen.save_dropped);
    FUZZ_CHECK(totals.warnings == seen.warnings + static_cast<int>(totals.file_warnings.size()));
    return 0;
}
