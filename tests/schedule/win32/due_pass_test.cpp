#include "schedule/win32/due_pass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/win32/table_fixture.h"
#include "table/table_messages.h"

namespace {

SYSTEMTIME clock_at(int month, int day, int hour, int minute, int weekday = 0)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>(weekday);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

// Waits up to 15 s for a file that a started program writes.
bool appears(const TempFolder& folder, const std::string& name)
{
    for (int i = 0; i < 150; ++i) {
        if (folder.exists(name)) return true;
        Sleep(100);
    }
    return false;
}

class DuePassTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(table.table(), nullptr); }

    // The rows whose command cell the pass fetched, in order: the rows it ran.
    std::vector<int> rows_run() const
    {
        std::vector<int> rows;
        for (const TableCall& call : table.calls())
            if (call.message == TBLM_GETITEM && call.column == 4) rows.push_back(call.row);
        return rows;
    }

    TableFixture table;
};

TEST_F(DuePassTest, due_rows_run_in_row_order_each_to_its_end_with_the_row_count_asked_before_every_row)
{
    table.append({"*", "*", "12", "0", "NoAction", ""});  // due
    table.append({"*", "*", "12", "1", "NoAction", ""});  // a minute later
    table.append({"12", "6", "*", "0", "NoAction", ""});  // due
    table.start_recording();
    EXPECT_EQ(run_due_entries(table.table(), clock_at(12, 6, 12, 0)), 0);

    const TableCall count{TBLM_GETITEMCOUNT, -1, -1};
    auto cell = [](int row, int column) { return TableCall{TBLM_GETITEM, row, column}; };
    const std::vector<TableCall> expected = {
        count, cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 3), count, cell(0, 4), cell(0, 5),
        count, cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3),
        count, cell(2, 0), cell(2, 1), cell(2, 2), cell(2, 3), count, cell(2, 4), cell(2, 5),
        count};
    EXPECT_EQ(table.calls(), expected);
}

TEST_F(DuePassTest, an_empty_table_ends_the_pass_at_once)
{
    table.start_recording();
    run_due_entries(table.table(), clock_at(1, 1, 0, 0));
    const std::vector<TableCall> only_the_count = {{TBLM_GETITEMCOUNT, -1, -1}};
    EXPECT_EQ(table.calls(), only_the_count);
}

TEST_F(DuePassTest, a_default_row_never_runs_and_the_weekday_never_restricts_a_row)
{
    table.append({"0", "*", "*", "0", "NoAction", ""});
    table.append({"*", "*", "12", "0", "NoAction", ""});
    table.start_recording();
    for (int day = 1; day <= 12; ++day) run_due_entries(table.table(), clock_at(day, day, 12, 0, day % 7));
    run_due_entries(table.table(), clock_at(3, 9, 12, 1, 1));
    EXPECT_EQ(rows_run(), std::vector<int>(12, 1));
}

TEST_F(DuePassTest, a_row_naming_no_command_is_skipped_and_the_pass_goes_on_to_the_next)
{
    TempFolder folder;
    const std::string write_a = "cmd.exe /c echo ran> \"" + folder.path("a.txt") + "\"";
    const std::string write_b = "cmd.exe /c echo ran> \"" + folder.path("b.txt") + "\"";
    table.append({"*", "*", "*", "*", "system", write_a});
    table.append({"*", "*", "*", "*", "System", write_b});
    run_due_entries(table.table(), clock_at(5, 5, 5, 5));
    EXPECT_TRUE(appears(folder, "b.txt"));
    Sleep(300);
    EXPECT_FALSE(folder.exists("a.txt"));
}

TEST_F(DuePassTest, run_entry_answers_zero_for_a_missing_row_or_an_unknown_command)
{
    table.append({"*", "*", "*", "*", "NoAction", ""});
    table.append({"*", "*", "*", "*", "NoAction ", ""});
    table.append({"*", "*", "*", "*", "", ""});
    EXPECT_EQ(run_entry(table.table(), 0), 1);
    EXPECT_EQ(run_entry(table.table(), 1), 0);
    EXPECT_EQ(run_entry(table.table(), 2), 0);
    EXPECT_EQ(run_entry(table.table(), 3), 0);
    EXPECT_EQ(run_entry(table.table(), -1), 0);
}

TEST_F(DuePassTest, a_command_that_cuts_its_option_leaves_the_cell_whole)
{
    const std::string option = "no_such_program_for_tavecron_tests.exe first second";
    table.append({"*", "*", "*", "*", "System", option});
    EXPECT_EQ(run_entry(table.table(), 0), 1);
    EXPECT_EQ(table.row(0)[5], option);
}

}  // namespace
