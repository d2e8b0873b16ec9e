// The table's message protocol on a real table whose parent records every notification: how each message's
// parameters are read, what the notification record holds, and what the list view underneath answers.
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/win32/table_fixture.h"

namespace {

using namespace table_test;
using TableProtocol = FilledTable;

TEST_F(TableProtocol, mark_messages_ask_the_parent_store_the_word_it_leaves_and_honour_its_veto)
{
    LVITEMA item = table_text_item(1, 0, nullptr);
    item.mask = LVIF_PARAM;
    item.lParam = 0x5;
    ASSERT_NE(send(table, TBLM_SETITEM, &item), 0);
    parent.add_to_param = 0x20;
    EXPECT_EQ(send(table, TBLM_SETMARK, 1, 1), 1);
    item.lParam = 0;
    send(table, TBLM_GETITEM, &item);
    EXPECT_EQ(item.lParam, 0x10025);
    const Notice& n = parent.notices.at(0);
    EXPECT_EQ(std::tuple(n.code, n.item.mask, n.item.iItem, n.item.iSubItem, n.item.lParam),
              std::tuple(TBLN_MARKCHANGING, UINT{LVIF_PARAM}, 1, 0, LPARAM{0x10005}));

    // Row 2 vetoed: all marks set on rows 0, 1, 3 and 4, and inverted on rows 0 and 1. What each message does
    // for every row is the portable rules' business; here each message's answer comes back once.
    parent.veto_marks = {2};
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 1), 4);
    EXPECT_EQ(send(table, TBLM_TOGGLEMARK, 0), 1);
    EXPECT_EQ(send(table, TBLM_SETMARK, 1, 0), 1);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 3);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 4);
    EXPECT_EQ(send(table, TBLM_DELETEMARKED), 2);
    EXPECT_TRUE(IsWindowVisible(list_view));  // hidden for the deletions, shown again
}

// Wine's list view answers success when asked for a sub-item beyond its columns (with an empty text) and when given
// sub-item -1 to write; the table refuses those as it refuses rows outside the table, so a caller's buffer is never
// silently emptied.
TEST_F(TableProtocol, cells_and_rows_outside_the_table_and_null_records_change_nothing)
{
    ASSERT_EQ(send(table, TBLM_SETCURSEL, 3), 1);
    for (auto [row, column] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 6}, {0, 40}}) {
        LRESULT read = -1;
        const LVITEMA item = table_text_item(row, column, "x");
        EXPECT_EQ(std::tuple(cell_text(table, row, column, &read), read, send(table, TBLM_SETITEM, &item)),
                  std::tuple(std::string("kept"), LRESULT{0}, LRESULT{0}))
            << row << "," << column;
    }
    EXPECT_EQ(std::pair(send(table, TBLM_SETCURSEL, static_cast<WPARAM>(-1)), send(table, TBLM_SETCURSEL, 5)),
              std::pair(LRESULT{0}, LRESULT{0}));
    for (auto [message, answer] : {std::pair{TBLM_INSERTITEM, -1}, {TBLM_SETITEM, 0}, {TBLM_GETITEM, 0}}) {
        EXPECT_EQ(send(table, message), answer) << message;  // null records
    }
    EXPECT_EQ(send(table, TBLM_INSERTCOLUMN, 6, 0), -1);
    int hit_column = -7;
    EXPECT_EQ(send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&hit_column), 0), -1);
    EXPECT_EQ(std::tuple(hit_column, send(table, TBLM_GETCURSEL), send(table, TBLM_GETCOLUMNCOUNT)),
              std::tuple(-7, LRESULT{3}, LRESULT{6}));
}

TEST_F(TableProtocol, a_redraw_bracket_keeps_the_table_shown_and_the_last_column_then_fits_beside_the_scroll_bar)
{
    send(table, WM_SETREDRAW, FALSE);
    for (int i = 0; i < 60; ++i) append({"x"});
    // The bracket goes to the list view; the default handling would hide the table itself.
    EXPECT_NE(GetWindowLongA(table, GWL_STYLE) & WS_VISIBLE, 0);
    send(table, WM_SETREDRAW, TRUE);
    MoveWindow(table, 0, 0, 520, 120, TRUE);
    RECT client{};
    GetClientRect(list_view, &client);
    LRESULT right = 0;
    for (int c = 0; c < 6; ++c) right += send(list_view, LVM_GETCOLUMNWIDTH, c);
    EXPECT_EQ(right, client.right);
    EXPECT_EQ(client.right, 520 - GetSystemMetrics(SM_CXVSCROLL));  // shown once the bracket ended
}

}  // namespace
