// The minute timer over simulated months: the GetLocalTime import slot answers a clock the test steps, the main
// window ticks several times a simulated minute and the swapped ShellExecuteA notes each System row's run.
// TAVECRON_YEAR=full runs 2027-12-31 to 2029-01-01, else two days over a turn of year and three over a leap day.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "tests/support/win32/import_slot.h"

namespace {

using namespace table_test;

extern decltype(&GetLocalTime) import_local_time __asm__(IMPORT_SLOT(GetLocalTime, 4));
extern decltype(&ShellExecuteA) import_shell_execute __asm__(IMPORT_SLOT(ShellExecuteA, 24));

SYSTEMTIME clock_now;  // what GetLocalTime answers
using Time = const SYSTEMTIME&;
using Admits = bool (*)(Time);

// A row's month, day, hour and minute patterns, and the minutes they admit in plain arithmetic.
struct Row {
    std::array<const char*, 4> cells;
    Admits admits;
};

struct RunLog {
    std::vector<Admits> admits;  // per row
    std::vector<long> runs;      // per row
    int out_of_order = 0;        // runs in a minute at or above a row that already ran in it: a row twice, two passes
    int outside = 0;             // runs in a minute that the row does not admit
    long minute = -1;            // the minute of the latest run, a number for each minute of the calendar, and its row
    int row = -1;
} run_log;

// Each row's option is its index: System hands it to the shell as the program to start.
HINSTANCE WINAPI note_run(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    const int row = std::atoi(file);
    const long minute = ((clock_now.wYear * 13L + clock_now.wMonth) * 32 + clock_now.wDay) * 1440 +
                        clock_now.wHour * 60 + clock_now.wMinute;
    run_log.out_of_order += minute == run_log.minute && row <= run_log.row;
    run_log.outside += !run_log.admits.at(row)(clock_now);
    run_log.minute = minute, run_log.row = row, ++run_log.runs[row];
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

class SimulatedYear : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        KillTimer(window, IDT_MINUTE);  // the only ticks are the test's
        enter_program_folder();         // as start-up leaves it
    }
    // Row i runs System with option i.
    void set_rows(std::initializer_list<Row> rows)
    {
        run_log = RunLog{};
        for (const auto& [cells, admits] : rows) {
            const std::string option = std::to_string(run_log.admits.size());
            insert_entry(table, run_log.admits.size(),
                         {"*", cells[0], cells[1], cells[2], cells[3], "System", option.c_str()});
            run_log.admits.push_back(admits), run_log.runs.push_back(0);
        }
    }
    // Sets the clock to that day and `from` seconds into it, then ticks there and every `every` seconds until
    // `until` seconds into the day (past its end on the days after).
    void tick_through(WORD year, WORD month, WORD day, long from, long until, int every)
    {
        clock_now = SYSTEMTIME{year, month, 0, day, 0, 0, 0, 0};
        advance(clock_now, from);
        for (long passed = from; passed <= until; passed += every, advance(clock_now, every)) {
            send(window, WM_TIMER, IDT_MINUTE);
        }
    }

    const SlotSwap<decltype(import_local_time)> clock{import_local_time, stepped_local_time};
    const SlotSwap<decltype(import_shell_execute)> shell{import_shell_execute, note_run};
};

constexpr long DAY = 86400;

// Runs per row, worked out from the calendar; the first tick, at 00:00 of the first day, runs nothing. The whole
// year: 2027-12-31, the leap year 2028 and 2029-01-01, 368 days; the 1st to the 7th of 2028's twelve months and
// 2029-01-01 have 24 quarters past. The short span: 2027-12-31 and 2028-01-01, then the clock set forward to
// 2028-02-28 for 3 days.
const std::vector<long> WHOLE_YEAR_RUNS = {18 * 368, 2, 368 * 1440 - 1, 1, 24 * (12 * 7 + 1), 368 - 1};
const std::vector<long> SHORT_SPAN_RUNS = {18 * 5, 1, 5 * 1440 - 1, 1, 24 * 2, 5 - 1};

TEST_F(SimulatedYear, each_row_runs_once_in_each_minute_it_admits_and_rows_of_a_minute_in_table_order)
{
    set_rows({
        {{"*", "*", "9-17", "0,30"}, [](Time t) { return t.wHour >= 9 && t.wHour <= 17 && t.wMinute % 30 == 0; }},
        {{"12", "31", "23", "59"},
         [](Time t) { return t.wMonth == 12 && t.wDay == 31 && t.wHour * 60 + t.wMinute == 1439; }},
        {{"*", "*", "*", "*"}, [](Time) { return true; }},
        {{"2", "29", "0", "0"}, [](Time t) { return t.wMonth == 2 && t.wDay == 29 && t.wHour + t.wMinute == 0; }},
        {{"*", "1-7", "*", "15"}, [](Time t) { return t.wDay <= 7 && t.wMinute == 15; }},
        {{"*", "*", "0", "0"}, [](Time t) { return t.wHour + t.wMinute == 0; }},
    });
    const char* span = std::getenv("TAVECRON_YEAR");
    const bool whole_year = span != nullptr && std::string(span) == "full";
    // Ticks 17 s apart land at every second of the minute in turn.
    tick_through(2027, 12, 31, 0, (whole_year ? 368 : 2) * DAY - 1, 17);
    if (!whole_year) tick_through(2028, 2, 28, 0, 3 * DAY - 1, 17);
    EXPECT_EQ(run_log.runs, whole_year ? WHOLE_YEAR_RUNS : SHORT_SPAN_RUNS);
    EXPECT_EQ(std::pair(run_log.out_of_order, run_log.outside), std::pair(0, 0));
}

}  // namespace
