// The table's message protocol on a real table whose parent records every
// notification.
#include <tuple>

#include <gtest/gtest.h>

#include "support/win32/table_fixture.h"

namespace {

using namespace table_test;
using Ints = std::vector<int>;
using TableProtocol = FilledTable;

LPARAM row_param(HWND table, int row)
{
    LPARAM param = 0;
    return cell_text(table, row, 0, &param), param;
}

TEST_F(TableProtocol, mark_messages_ask_the_parent_with_the_word_about_to_be_stored)
{
    LVITEMA item = text_item(1, 0, nullptr);
    item.mask = LVIF_PARAM;
    item.lParam = 0x5;
    ASSERT_NE(send(table, TBLM_SETITEM, &item), 0);

    EXPECT_NE(send(table, TBLM_SETMARK, 1, 1), 0);
    EXPECT_EQ(row_param(table, 1), 0x10005);
    EXPECT_EQ(send(table, TBLM_GETMARK, 1), 1);
    ASSERT_EQ(parent.notices.size(), 1u);
    const Notice& n = parent.notices[0];  // from the table, never its list view
    EXPECT_EQ(std::tuple(n.code, n.id_from, n.hwnd_from, n.item.mask, n.item.iItem, n.item.iSubItem, n.item.lParam),
              std::tuple(TBLN_MARKCHANGING, UINT_PTR{7}, table, UINT{LVIF_PARAM}, 1, 0, LPARAM{0x10005}));

    parent.add_to_param = 0x20;  // what the parent leaves is stored
    EXPECT_NE(send(table, TBLM_TOGGLEMARK, 1), 0);
    EXPECT_EQ(parent.notices.back().item.lParam, 0x5);
    EXPECT_EQ(row_param(table, 1), 0x25);

    parent.veto_marks = {1};
    EXPECT_EQ(send(table, TBLM_SETMARK, 1, 1), 0);
    EXPECT_EQ(send(table, TBLM_TOGGLEMARK, 1), 0);
    EXPECT_EQ(row_param(table, 1), 0x25);
    EXPECT_EQ(parent.notices.size(), 4u);
}

TEST_F(TableProtocol, set_all_invert_and_delete_marked_work_row_by_row)
{
    parent.veto_marks = {2};
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 1), 4);
    Ints asked;
    for (const Notice& n : parent.notices)
        asked.push_back(n.item.iItem);
    EXPECT_EQ(asked, (Ints{0, 1, 2, 3, 4}));

    parent.veto_marks.clear();
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 2);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, 2), -1);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);  // back to rows 0, 1, 3 and 4
    EXPECT_EQ(send(table, TBLM_SETMARK, 0, 0) + send(table, TBLM_SETMARK, 4, 0), 2);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, 1), 3);
    parent.veto_marks = {0, 1, 2, 3, 4};  // a parent refusing every change
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 0), 0);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 0);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 1);

    ASSERT_EQ(send(table, TBLM_SETCURSEL, 4), 1);
    parent.clear();
    EXPECT_EQ(send(table, TBLM_DELETEMARKED), 2);
    EXPECT_EQ(column(0), (std::vector<std::string>{"r0", "r2", "r4"}));
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    EXPECT_TRUE(parent.notices.empty());
    EXPECT_TRUE(IsWindowVisible(list_view));
}

TEST_F(TableProtocol, rows_outside_the_table_and_null_records_change_nothing_and_notify_nobody)
{
    ASSERT_EQ(send(table, TBLM_SETCURSEL, 3), 1);
    for (int row : {-1, 5, 6, 5000, -5000}) {
        const WPARAM w = static_cast<WPARAM>(row);
        LRESULT read = -1;
        EXPECT_EQ(cell_text(table, row, 0, nullptr, &read), "kept") << row;
        EXPECT_EQ((std::vector<LRESULT>{read, send(table, TBLM_GETMARK, w), send(table, TBLM_SETMARK, w, 1),
                                        send(table, TBLM_TOGGLEMARK, w), send(table, TBLM_DELETEITEM, w),
                                        send(table, TBLM_SETCURSEL, w)}),
                  std::vector<LRESULT>(6, 0))
            << row;
    }
    const LVITEMA negative = text_item(-1, 0, "x");
    int hit_column = -7;
    EXPECT_EQ((std::vector<LRESULT>{send(table, TBLM_INSERTITEM, &negative), send(table, TBLM_SETITEM, &negative),
                                    send(table, TBLM_INSERTITEM), send(table, TBLM_SETITEM), send(table, TBLM_GETITEM),
                                    send(table, TBLM_INSERTCOLUMN, 6, 0),
                                    send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&hit_column), 0)}),
              (std::vector<LRESULT>{-1, 0, -1, 0, 0, -1, -1}));
    EXPECT_EQ(hit_column, -7);

    EXPECT_EQ(column(0), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 3);
    EXPECT_EQ(send(table, TBLM_GETCOLUMNCOUNT), 6);
    EXPECT_TRUE(parent.notices.empty());
}

// Wine's list view answers success when asked for a sub-item beyond its
// columns (with an empty text) and when given sub-item -1 to write; the table
// refuses both, so a caller's buffer is never silently emptied.
TEST_F(TableProtocol, sub_items_outside_the_columns_are_refused_where_the_list_view_accepts_them)
{
    for (int sub_item : {-1, 6, 40}) {
        LRESULT read = -1;
        const LVITEMA item = text_item(0, sub_item, "x");
        EXPECT_EQ(cell_text(table, 0, sub_item, nullptr, &read), "kept") << sub_item;
        EXPECT_EQ(std::pair(read, send(table, TBLM_SETITEM, &item)), std::pair(LRESULT{0}, LRESULT{0})) << sub_item;
    }
    EXPECT_EQ(cell_text(table, 0, 0), "r0");
}

TEST_F(TableProtocol, hit_test_uses_the_list_view_geometry)
{
    RECT label{LVIR_LABEL, 0, 0, 0};
    POINT at{};
    ASSERT_TRUE(send(list_view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label)));
    ASSERT_TRUE(send(list_view, LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&at)));
    const int x = at.x, y = (label.top + label.bottom) / 2, height = label.bottom - label.top;
    const struct { int x, y, row, column; } cases[] = {
        {x + 50, y, 1, 0}, {x + 51, y, 1, 1}, {x + 390, y, 1, 5}, {x + 391, y, -1, 0},
        {x, y + 3 * height, 4, 0}, {x, y + 4 * height, -1, 0},
    };
    for (const auto& c : cases) {
        POINT p{c.x, c.y};
        int column = -7;
        EXPECT_EQ(send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&column), reinterpret_cast<LPARAM>(&p)), c.row)
            << c.x << "," << c.y;
        EXPECT_EQ(column, c.row < 0 ? -7 : c.column) << c.x << "," << c.y;
    }
}

TEST_F(TableProtocol, a_redraw_bracket_around_a_bulk_load_keeps_the_table_shown_and_its_scroll_range_right)
{
    MoveWindow(table, 0, 0, 300, 120, TRUE);
    send(table, WM_SETREDRAW, FALSE);
    for (int i = 0; i < 60; ++i) append({"x"});
    // The bracket goes to the list view; the default handling would hide the table itself.
    EXPECT_NE(GetWindowLongA(table, GWL_STYLE) & WS_VISIBLE, 0);
    send(table, WM_SETREDRAW, TRUE);

    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(list_view, SB_VERT, &scroll));
    EXPECT_EQ(scroll.nMax, row_count() - 1);
    EXPECT_GT(scroll.nPage, 0u);
    EXPECT_LT(scroll.nPage, static_cast<UINT>(row_count()));
}

}  // namespace
