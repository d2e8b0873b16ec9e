#include "schedule/win32/due_pass.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/support/win32/table_fixture.h"
#include "table/table_messages.h"

namespace {

// An item message as the table received it: message, row, column (-1 and -1
// for TBLM_GETITEMCOUNT, which carries no item).
using TableCall = std::tuple<UINT, int, int>;

std::vector<TableCall> calls;
WNDPROC table_proc = nullptr;

LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto* item = reinterpret_cast<const LVITEMA*>(lparam);
    if (message == TBLM_GETITEMCOUNT) calls.emplace_back(message, -1, -1);
    if (message == TBLM_GETITEM || message == TBLM_SETITEM || message == TBLM_INSERTITEM) {
        calls.emplace_back(message, item->iItem, item->iSubItem);
    }
    return CallWindowProcA(table_proc, window, message, wparam, lparam);
}

using DuePassTest = HiddenTableFixture;

TEST_F(DuePassTest, due_rows_run_in_row_order_each_to_its_end_with_the_row_count_asked_before_every_row)
{
    append({"*", "*", "12", "0", "NoAction", ""});  // due
    append({"*", "*", "12", "1", "NoAction", ""});  // a minute later
    append({"*", "*", "12", "0", "system", ""});    // due, names no command: the pass goes on
    append({"12", "6", "*", "0", "NoAction", ""});  // due whatever the weekday
    table_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_proc)));
    EXPECT_EQ(run_due_entries(table, SYSTEMTIME{2026, 12, 4, 6, 12, 0, 0, 0}), 0);  // Thursday 6 December, 12:00

    const TableCall count{TBLM_GETITEMCOUNT, -1, -1};
    auto cell = [](int row, int column) { return TableCall{TBLM_GETITEM, row, column}; };
    std::vector<TableCall> expected;
    for (int row = 0; row < 4; ++row) {
        expected.insert(expected.end(), {count, cell(row, 0), cell(row, 1), cell(row, 2), cell(row, 3)});
        if (row != 1) expected.insert(expected.end(), {count, cell(row, 4), cell(row, 5)});
    }
    expected.push_back(count);
    EXPECT_EQ(calls, expected);
}

}  // namespace
