// The table's message protocol, driven through SendMessageA on a real table
// whose parent records every notification.
#include <gtest/gtest.h>

#include "table_test_parent.h"

namespace {

using namespace table_test;

class TableProtocol : public testing::Test {
protected:
    void SetUp() override
    {
        table = parent.create_table(7);
        ASSERT_NE(table, nullptr);
        fill_table(table, {50, 60, 70, 40, 80, 90}, 5);
        parent.notices.clear();
    }
    std::vector<std::string> column0() const
    {
        std::vector<std::string> out;
        for (int r = 0; r < send(table, TBLM_GETITEMCOUNT); ++r)
            out.push_back(cell_text(table, r, 0));
        return out;
    }
    TestParent parent;
    HWND table = nullptr;
};

TEST_F(TableProtocol, cells_written_by_insert_and_set_read_back_and_counts_follow)
{
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 5);
    EXPECT_EQ(send(table, TBLM_GETCOLUMNCOUNT), 6);
    EXPECT_EQ(cell_text(table, 3, 0), "r3");
    EXPECT_EQ(cell_text(table, 4, 5), "r4 c5");
    EXPECT_EQ(row_param(table, 2), 0);  // rows inserted with text only start unmarked
    EXPECT_TRUE(parent.notices.empty());
}

TEST_F(TableProtocol, a_mark_notifies_the_parent_with_the_word_about_to_be_stored)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = 1;
    item.lParam = 0x5;
    ASSERT_NE(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);

    EXPECT_NE(send(table, TBLM_SETMARK, 1, 1), 0);
    EXPECT_EQ(row_param(table, 1), 0x10005);
    EXPECT_EQ(send(table, TBLM_GETMARK, 1), 1);
    ASSERT_EQ(parent.notices.size(), 1u);
    const Notice& n = parent.notices[0];
    EXPECT_EQ(n.code, TBLN_MARKCHANGING);
    EXPECT_EQ(n.id_from, 7u);
    EXPECT_EQ(n.hwnd_from, table);  // the table, never its list view
    EXPECT_EQ(n.mask, static_cast<UINT>(LVIF_PARAM));
    EXPECT_EQ(n.item, 1);
    EXPECT_EQ(n.sub_item, 0);
    EXPECT_EQ(n.param, 0x10005);

    // A toggle goes through the same question; the parent's changes are stored.
    parent.add_to_param = 0x20;
    EXPECT_NE(send(table, TBLM_TOGGLEMARK, 1), 0);
    EXPECT_EQ(parent.notices.back().param, 0x5);
    EXPECT_EQ(row_param(table, 1), 0x25);

    parent.veto_marks = {1};
    EXPECT_EQ(send(table, TBLM_SETMARK, 1, 1), 0);
    EXPECT_EQ(send(table, TBLM_TOGGLEMARK, 1), 0);
    EXPECT_EQ(row_param(table, 1), 0x25);
    EXPECT_EQ(parent.notices.size(), 4u);
}

TEST_F(TableProtocol, set_all_and_invert_ask_for_every_row_in_order_and_count_rows_written)
{
    parent.veto_marks = {2};
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 1), 4);
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 1), 4);
    ASSERT_EQ(parent.notices.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(parent.notices[i].item, i % 5) << i;
    EXPECT_EQ(send(table, TBLM_GETMARK, 2), 0);

    parent.veto_marks.clear();
    std::vector<LPARAM> before;
    for (int r = 0; r < 5; ++r)
        before.push_back(row_param(table, r));
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 2);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, 2), -1);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(row_param(table, r), before[r]) << r;
}

TEST_F(TableProtocol, delete_marked_removes_marked_rows_silently_and_keeps_the_current_row_on_its_row)
{
    send(table, TBLM_SETMARK, 1, 1);
    send(table, TBLM_SETMARK, 3, 1);
    ASSERT_EQ(send(table, TBLM_SETCURSEL, 4), 1);
    parent.notices.clear();

    EXPECT_EQ(send(table, TBLM_DELETEMARKED), 2);
    EXPECT_EQ(column0(), (std::vector<std::string>{"r0", "r2", "r4"}));
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    EXPECT_TRUE(parent.notices.empty());
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(table, IDC_TABLE_LIST)));
    EXPECT_EQ(send(table, TBLM_DELETEMARKED), 0);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(table, IDC_TABLE_LIST)));
}

TEST_F(TableProtocol, insert_and_delete_move_the_current_row_by_their_rules)
{
    ASSERT_EQ(send(table, TBLM_SETCURSEL, 2), 1);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("new");
    item.iItem = 2;
    EXPECT_EQ(send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 2);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    item.iItem = 1;
    EXPECT_EQ(send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 3);
    item.iItem = 1000;
    EXPECT_EQ(send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 7);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 3);

    // Eight rows, current 3: delete the last, then the current one.
    EXPECT_NE(send(table, TBLM_DELETEITEM, 7), 0);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    EXPECT_EQ(cell_text(table, 2, 0), "r1");
    EXPECT_NE(send(table, TBLM_DELETEITEM, 2), 0);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    EXPECT_EQ(cell_text(table, 2, 0), "new");
    EXPECT_EQ(cell_text(table, 3, 0), "r2");

    EXPECT_EQ(send(table, TBLM_DELETEALLITEMS), 0);
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 0);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 0);
    EXPECT_EQ(send(table, TBLM_SETCURSEL, 0), 0);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 0);
}

TEST_F(TableProtocol, rows_outside_the_table_change_nothing_and_notify_nobody)
{
    ASSERT_EQ(send(table, TBLM_SETCURSEL, 3), 1);
    for (int row : {-1, 5, 6, 5000, -5000}) {
        SCOPED_TRACE(row);
        const WPARAM w = static_cast<WPARAM>(row);
        EXPECT_EQ(send(table, TBLM_GETMARK, w), 0);
        EXPECT_EQ(send(table, TBLM_SETMARK, w, 1), 0);
        EXPECT_EQ(send(table, TBLM_TOGGLEMARK, w), 0);
        EXPECT_EQ(send(table, TBLM_DELETEITEM, w), 0);
        EXPECT_EQ(send(table, TBLM_SETCURSEL, w), 0);
        char text[CELL_TEXT_SIZE] = "kept";
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = text;
        item.cchTextMax = CELL_TEXT_SIZE;
        EXPECT_EQ(send(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
        EXPECT_STREQ(text, "kept");
        EXPECT_EQ(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    }
    LVITEMA negative{};
    negative.mask = LVIF_TEXT;
    negative.iItem = -1;
    negative.pszText = const_cast<char*>("x");
    EXPECT_EQ(send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&negative)), -1);
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 5);
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 3);
    EXPECT_TRUE(parent.notices.empty());
}

TEST_F(TableProtocol, null_records_and_unused_messages_answer_failure_without_effect)
{
    EXPECT_EQ(send(table, TBLM_INSERTITEM), -1);
    EXPECT_EQ(send(table, TBLM_SETITEM), 0);
    EXPECT_EQ(send(table, TBLM_GETITEM), 0);
    EXPECT_EQ(send(table, TBLM_INSERTCOLUMN, 6, 0), -1);
    int column = -7;
    EXPECT_EQ(send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&column), 0), -1);
    EXPECT_EQ(column, -7);
    for (UINT unused = WM_USER + 6; unused <= WM_USER + 9; ++unused)
        EXPECT_EQ(send(table, unused, 1, 1), 0) << unused;
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 5);
    EXPECT_EQ(send(table, TBLM_GETCOLUMNCOUNT), 6);
    EXPECT_EQ(column0(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
}

// Wine's list view reports success for sub-items beyond its columns (an empty
// text on reading) and for sub-item -1 on writing; the table refuses them.
TEST_F(TableProtocol, sub_items_outside_the_columns_are_refused_where_the_list_view_accepts_them)
{
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    for (int sub_item : {-1, 6, 40}) {
        SCOPED_TRACE(sub_item);
        char text[CELL_TEXT_SIZE] = "kept";
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = 0;
        item.iSubItem = sub_item;
        item.pszText = text;
        item.cchTextMax = CELL_TEXT_SIZE;
        EXPECT_EQ(send(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
        EXPECT_EQ(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
        EXPECT_STREQ(text, "kept");
    }
    LVITEMA raw{};
    raw.mask = LVIF_TEXT;
    raw.iSubItem = 6;
    char text[CELL_TEXT_SIZE] = "kept";
    raw.pszText = text;
    raw.cchTextMax = CELL_TEXT_SIZE;
    const LRESULT raw_read = send(list_view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&raw));
    RecordProperty("list_view_reading_a_missing_sub_item_answers", static_cast<int>(raw_read));
    EXPECT_EQ(cell_text(table, 0, 0), "r0");
}

TEST_F(TableProtocol, hit_test_places_column_edges_in_their_column_and_misses_outside_the_cells)
{
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    RECT label{};
    label.left = LVIR_LABEL;
    ASSERT_TRUE(send(list_view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label)));
    POINT origin{};
    ASSERT_TRUE(send(list_view, LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&origin)));
    const int y = (label.top + label.bottom) / 2;
    const int height = label.bottom - label.top;
    struct Case {
        int x;
        int y;
        int row;
        int column;
    };
    const Case cases[] = {
        {origin.x + 50, y, 1, 0},               // boundary of columns 0 and 1
        {origin.x + 51, y, 1, 1},
        {origin.x + 390, y, 1, 5},              // right edge of the last column
        {origin.x + 391, y, -1, 0},             // right of it
        {origin.x + 10, y + 3 * height, 4, 0},  // the last row
        {origin.x + 10, y + 4 * height, -1, 0}, // below it
    };
    for (const auto& c : cases) {
        POINT p{c.x, c.y};
        int column = -7;
        EXPECT_EQ(send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&column), reinterpret_cast<LPARAM>(&p)),
                  c.row) << c.x << "," << c.y;
        if (c.row >= 0) {
            EXPECT_EQ(column, c.column) << c.x << "," << c.y;
        }
    }
}

}  // namespace
