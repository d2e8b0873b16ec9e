#include "schedule/win32/crontab_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "schedule/win32/crontab_save.h"
#include "tests/support/win32/table_fixture.h"
#include "tests/support/win32/temp_folder.h"
#include "table/table_messages.h"

namespace {

using Row = std::vector<std::string>;  // month, day, hour, minute, command, option

class CrontabFileTest : public HiddenTableFixture {
protected:
    int load(const std::string& bytes) { return load_crontab(table, folder.write("in.tab", bytes).c_str()); }

    TempFolder folder;
};

// A file's lines replace the rows in the table's column order and come back byte for byte.
TEST_F(CrontabFileTest,
       a_file_replaces_the_rows_without_its_weekdays_saves_back_byte_for_byte_and_no_row_outside_is_read)
{
    const std::string cell(255, 'z'),
        text = "*/5 1-3,9 10 11 * SetWP -c C:\\pictures\\*.bmp  two  blanks  \r\n- - - - * - \r\n" + cell + " " + cell +
               " " + cell + " " + cell + " * " + cell + " " + cell + "\r\n";
    const Row keep{"", "1", "", "2", "", "keep"};
    append(keep);
    EXPECT_EQ(load("*/5 1-3,9 10 11 6" + text.substr(17)), 3);
    EXPECT_EQ(row(0), (Row{"11", "10", "1-3,9", "*/5", "SetWP", "-c C:\\pictures\\*.bmp  two  blanks  "}));
    EXPECT_EQ(row(2), Row(6, cell));
    append(keep);
    EXPECT_EQ(save_crontab_file(table, folder.path("out.tab").c_str()), 1);
    EXPECT_EQ(folder.read("out.tab"), text + "2 - 1 - * - keep\r\n")
        << "empty time and command cells are saved as dashes";
    CellText month{"keep"};
    for (int row : {-1, 4}) EXPECT_EQ(read_entry(table, row, {&month, nullptr, nullptr, nullptr, nullptr, nullptr}), 0);
    EXPECT_STREQ(month.data(), "keep") << "a row outside the table reads nothing";
}

// The loader reads with the cutting line read: the tail of a long line never
// becomes an entry, and a line of five words adds nothing.
TEST_F(CrontabFileTest, a_file_adds_only_the_entries_its_lines_really_hold)
{
    EXPECT_EQ(load("0 * * * * NoAction " + std::string(2100, 'x') + " 0 * * * * System evil.exe\r\n1 2 3 4 5\r\n"), 1);
    EXPECT_EQ(column(5), Row{std::string(255, 'x')});
}

// Refuses every second TBLM_INSERTITEM, as a list view out of memory would.
WNDPROC table_proc = nullptr;
int inserts = 0;

LRESULT CALLBACK refusing_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == TBLM_INSERTITEM && ++inserts % 2 == 0) return -1;
    return CallWindowProcA(table_proc, window, message, wparam, lparam);
}

TEST_F(CrontabFileTest, a_refused_row_gets_no_cells_and_is_not_counted)
{
    append({"1", "2", "3", "4", "NoAction", "kept"});
    inserts = 0;
    table_proc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refusing_proc)));
    EXPECT_EQ(insert_entry(table, 0, {"*", "a", "b", "c", "d", "System", "first"}), 1);
    EXPECT_EQ(insert_entry(table, 0, {"*", "e", "f", "g", "h", "System", "refused"}), 0);
    EXPECT_EQ(insert_entry(table, 9, {"*", "i", "j", "k", "l", "System", "past the end"}), 1);
    EXPECT_EQ(column(5), (Row{"first", "kept", "past the end"}));  // no refused row wrote its cells
    EXPECT_EQ(load("5 6 7 8 * NoAction refused\r\n5 6 7 8 * NoAction loaded\r\n5 6 7 8 * NoAction refused\r\n"), 1);
    EXPECT_EQ(column(5), Row{"loaded"});
}

}  // namespace
