// Months of the minute timer in seconds: the test program's GetLocalTime import slot answers a clock the test
// steps, the real main window gets WM_TIMER ticks several times a simulated minute, and its System rows start
// nothing: the swapped ShellExecuteA notes which row ran in which minute. TAVECRON_YEAR=full runs the whole of
// 2027-12-31 to 2029-01-01; otherwise two days over a turn of year and three over a leap day.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "tests/support/win32/import_slot.h"

namespace {

using namespace table_test;

extern decltype(&GetLocalTime) import_local_time __asm__(IMPORT_SLOT(GetLocalTime, 4));
extern decltype(&ShellExecuteA) import_shell_execute __asm__(IMPORT_SLOT(ShellExecuteA, 24));

SYSTEMTIME clock_now;  // what GetLocalTime answers

struct RunLog {
    std::vector<long> runs;  // per row
    int out_of_order = 0;    // runs in a minute at or above a row that already ran in it: a row twice, or two passes
    int outside = 0;         // runs in a minute that the row does not admit
    long minute = -1;        // the minute of the latest run, as a count of minutes, and its row
    int row = -1;
    bool (*const* admits)(const SYSTEMTIME&) = nullptr;  // per row, when the test knows what each row admits
} run_log;

// Each row's option is its index: System hands it to the shell as the program to start.
HINSTANCE WINAPI note_run(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    const int row = std::atoi(file);
    const SYSTEMTIME& t = clock_now;
    const long minute = ((t.wYear * 13L + t.wMonth) * 32 + t.wDay) * 1440 + t.wHour * 60 + t.wMinute;
    run_log.out_of_order += minute == run_log.minute && row <= run_log.row;
    run_log.outside += run_log.admits != nullptr && !run_log.admits[row](t);
    run_log.minute = minute, run_log.row = row, ++run_log.runs.at(row);
    return reinterpret_cast<HINSTANCE>(33);
}

void WINAPI stepped_local_time(LPSYSTEMTIME time)
{
    *time = clock_now;
}

int days_in_month(int year, int month)
{
    if (month == 2) return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

// Moves the clock on by less than a day.
void advance(SYSTEMTIME& t, int seconds)
{
    const int second = t.wSecond + seconds, minute = t.wMinute + second / 60, hour = t.wHour + minute / 60;
    t.wSecond = second % 60, t.wMinute = minute % 60, t.wHour = hour % 24;
    if (hour < 24 || ++t.wDay <= days_in_month(t.wYear, t.wMonth)) return;
    t.wDay = 1;
    if (++t.wMonth > 12) t.wMonth = 1, ++t.wYear;
}

SYSTEMTIME clock_at(int year, int month, int day)
{
    SYSTEMTIME t{};
    t.wYear = year, t.wMonth = month, t.wDay = day;
    return t;
}

class SimulatedYear : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        KillTimer(window, IDT_MINUTE);  // the only ticks are the test's
        enter_program_folder();         // as start-up leaves it
        import_local_time = stepped_local_time, import_shell_execute = note_run;
    }
    void TearDown() override
    {
        import_local_time = real_local_time, import_shell_execute = real_shell_execute;
        MainWindowFixture::TearDown();
    }
    // Rows as "month day hour minute" each; row i runs System with option i.
    void set_rows(std::initializer_list<std::array<const char*, 4>> rows)
    {
        for (const auto& [month, day, hour, minute] : rows) {
            const std::string option = std::to_string(table_row_count(table));
            insert_entry(table, table_row_count(table), {"*", month, day, hour, minute, "System", option.c_str()});
        }
        run_log = RunLog{std::vector<long>(rows.size())};
    }
    // Sets the clock to `start` and ticks there and every `every` seconds until `seconds` have passed.
    void tick_through(SYSTEMTIME start, int every, long seconds)
    {
        clock_now = start;
        for (long passed = 0; passed <= seconds; passed += every, advance(clock_now, every))
            send(window, WM_TIMER, IDT_MINUTE);
    }

    const decltype(import_local_time) real_local_time = import_local_time;
    const decltype(import_shell_execute) real_shell_execute = import_shell_execute;
};

// What each row of the year admits, in plain arithmetic.
using Admits = bool (*)(const SYSTEMTIME&);
const Admits year_admits[] = {
    [](const SYSTEMTIME& t) { return t.wHour >= 9 && t.wHour <= 17 && t.wMinute % 30 == 0; },
    [](const SYSTEMTIME& t) { return t.wMonth == 12 && t.wDay == 31 && t.wHour == 23 && t.wMinute == 59; },
    [](const SYSTEMTIME&) { return true; },
    [](const SYSTEMTIME& t) { return t.wMonth == 2 && t.wDay == 29 && t.wHour == 0 && t.wMinute == 0; },
    [](const SYSTEMTIME& t) { return t.wDay == 31 && t.wHour == 0 && t.wMinute == 0; },
    [](const SYSTEMTIME& t) { return t.wDay <= 7 && t.wMinute == 15; },
    [](const SYSTEMTIME&) { return false; },
    [](const SYSTEMTIME& t) {
        return (t.wMonth == 12 || t.wMonth == 2 || t.wMonth == 3) && (t.wDay == 1 || (t.wDay >= 28 && t.wDay <= 29)) &&
               t.wHour == 6 && (t.wMinute == 5 || t.wMinute == 50 || t.wMinute == 51);
    },
    [](const SYSTEMTIME& t) { return t.wHour == 0 && t.wMinute == 0; },
};

// Runs per row, worked out from the calendar; the first tick, at 00:00 of the first day, runs nothing.
// 2027-12-31, the leap year 2028 and 2029-01-01: 368 days.
constexpr std::array<long, 9> WHOLE_YEAR_RUNS = {
    18 * 368, 2, 368 * 1440 - 1, 1, 7 /* the 31sts of 2028 */, 24 * (12 * 7 + 1), 0, 3 * 9 /* 3 months' 1, 28, 29 */,
    368 - 1};
// 2027-12-31 and 2028-01-01, then the clock set forward to 2028-02-28 for three days, to 03-01.
constexpr std::array<long, 9> SHORT_SPAN_RUNS = {18 * 5, 1, 5 * 1440 - 1, 1, 0, 24 * 2, 0, 3 * 3, 5 - 1};

TEST_F(SimulatedYear, each_row_runs_once_in_each_minute_it_admits_and_rows_of_a_minute_in_table_order)
{
    set_rows({{"*", "*", "9-17", "0,30"},
              {"12", "31", "23", "59"},
              {"*", "*", "*", "*"},
              {"2", "29", "0", "0"},
              {"*", "31", "0", "0"},
              {"*", "1-7", "*", "15"},
              {"0", "*", "*", "*"},
              {"12,2-3", "1,28-29", "6", "5,50-51"},
              {"*", "*", "0", "0"}});
    run_log.admits = year_admits;
    const char* span = std::getenv("TAVECRON_YEAR");
    const bool whole_year = span != nullptr && std::string(span) == "full";
    // Ticks 17 s apart land at every second of the minute in turn.
    if (whole_year) {
        tick_through(clock_at(2027, 12, 31), 17, 368 * 86400L - 1);
    } else {
        tick_through(clock_at(2027, 12, 31), 17, 2 * 86400L - 1);
        tick_through(clock_at(2028, 2, 28), 17, 3 * 86400L - 1);
    }
    EXPECT_EQ(run_log.runs, std::vector<long>(std::begin(whole_year ? WHOLE_YEAR_RUNS : SHORT_SPAN_RUNS),
                                              std::end(whole_year ? WHOLE_YEAR_RUNS : SHORT_SPAN_RUNS)));
    EXPECT_EQ(run_log.out_of_order, 0);
    EXPECT_EQ(run_log.outside, 0);
}

TEST_F(SimulatedYear, a_clock_set_back_runs_each_new_minute_value_again_and_one_set_forward_makes_up_nothing)
{
    set_rows({{"*", "*", "*", "*"},
              {"*", "*", "1", "30"},
              {"*", "*", "1", "45"},
              {"*", "*", "3", "0"},
              {"*", "*", "3", "50"},
              {"*", "*", "4", "4"}});
    // Each step sets the clock on 2028-10-29 to `from` (seconds of the day) and ticks from there `every` seconds
    // until `until`; runs of each row meanwhile.
    constexpr auto hms = [](int hour, int minute, int second) { return (hour * 60 + minute) * 60 + second; };
    struct Step {
        const char* what;
        int from, until, every;
        std::vector<long> runs;
    };
    const Step steps[] = {
        {"the first tick's minute runs nothing; 01:01 to 02:30 run",
         hms(1, 0, 30),
         hms(2, 30, 50),
         20,
         {90, 1, 1, 0, 0, 0}},
        {"set back 60 minutes to the same minute value, 01:30 runs nothing; 01:31 to 02:40 run again",
         hms(1, 30, 50),
         hms(2, 40, 10),
         20,
         {70, 0, 1, 0, 0, 0}},
        {"set forward to 03:50: 02:41 to 03:49 are not made up",
         hms(3, 50, 10),
         hms(3, 55, 10),
         20,
         {6, 0, 0, 0, 1, 0}},
        {"ticks 67 s apart, seconds late in each minute: each runs its minute, 04:04 that none sees is not made up",
         hms(3, 56, 7),
         hms(4, 6, 10),
         67,
         {10, 0, 0, 0, 0, 0}},
    };
    for (const Step& step : steps) {
        const std::vector<long> before = run_log.runs;
        SYSTEMTIME from = clock_at(2028, 10, 29);
        advance(from, step.from);
        tick_through(from, step.every, step.until - step.from);
        std::vector<long> runs = run_log.runs;
        for (std::size_t row = 0; row < runs.size(); ++row) runs[row] -= before[row];
        EXPECT_EQ(runs, step.runs) << step.what;
    }
    EXPECT_EQ(run_log.out_of_order, 0);
}

}  // namespace
