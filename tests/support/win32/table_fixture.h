#pragma once
// Wine test helpers around a real table control: a visible parent window that
// records every WM_NOTIFY it receives and answers as the test asks, and
// fixtures holding such a parent with a six-column table.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "table/win32/table_window.h"

namespace table_test {

inline LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
}

template <typename Record>
LRESULT send(HWND window, UINT message, Record* record)
{
    return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(record));
}

struct Notice {
    UINT code;
    LVITEMA item;      // as received (pszText valid only during the call)
    std::string text;  // TBLN_ENDEDIT's text
    int rows_then;     // the table's row count while the parent handled it
};

struct TestParent {
    TestParent();
    ~TestParent() { DestroyWindow(window); }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND create_table(int id = 1) const;  // null when the table refuses creation
    std::vector<UINT> codes() const;      // of the notices, in order

    HWND window = nullptr;
    std::vector<Notice> notices;
    std::set<int> veto_marks;  // rows whose mark change is vetoed
    LPARAM add_to_param = 0;   // bits added to an allowed mark's word
    LRESULT begin_edit_answer = 0;
    LRESULT end_edit_answer = 1;
    const char* end_edit_rewrite = nullptr;  // written into the offered buffer
};

LVITEMA text_item(int row, int column, const char* text);

// A cell's text (and column 0's parameter) through TBLM_GETITEM, into a buffer
// that holds "kept" beforehand; `read` gets the message's result.
std::string cell_text(HWND table, int row, int column, LPARAM* param = nullptr, LRESULT* read = nullptr);

}  // namespace table_test

// A TestParent with a table of id 7 whose six columns are 50, 60, 70, 40, 80
// and 90 pixels wide.
class TableFixture : public testing::Test {
protected:
    TableFixture();
    void SetUp() override { ASSERT_NE(table, nullptr); }

    int row_count() const { return static_cast<int>(table_test::send(table, TBLM_GETITEMCOUNT)); }
    std::vector<std::string> row(int row) const;         // its six cells
    std::vector<std::string> column(int column) const;   // its cell in every row
    void append(const std::vector<std::string>& cells);  // missing cells are empty

    table_test::TestParent parent;
    HWND table = nullptr, list_view = nullptr, editor = nullptr;
    TableState* state = nullptr;
};

// The same with rows "r0" .. "r4" whose other cells read "rR cC"; the parent's
// notices start empty.
class FilledTable : public TableFixture {
protected:
    void SetUp() override;
};
