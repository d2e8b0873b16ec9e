// The table's message protocol on a real table whose parent records every
// notification.
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

TEST_F(TableProtocol, mark_messages_ask_the_parent_with_the_word_about_to_be_stored)
{
    EXPECT_EQ(cell_text(table, 4, 5), "r4 c5");
    EXPECT_EQ(send(table, TBLM_GETCOLUMNCOUNT), 6);
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = 1;
    item.lParam = 0x5;
    ASSERT_NE(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);

    EXPECT_NE(send(table, TBLM_SETMARK, 1, 1), 0);
    EXPECT_EQ(row_param(table, 1), 0x10005);
    EXPECT_EQ(send(table, TBLM_GETMARK, 1), 1);
    ASSERT_EQ(parent.codes(), std::vector<UINT>{TBLN_MARKCHANGING});
    const Notice& n = parent.notices[0];
    EXPECT_EQ(n.id_from, 7u);
    EXPECT_EQ(n.hwnd_from, table);  // the table, never its list view
    EXPECT_EQ(n.item.mask, static_cast<UINT>(LVIF_PARAM));
    EXPECT_EQ(n.item.iItem, 1);
    EXPECT_EQ(n.item.iSubItem, 0);
    EXPECT_EQ(n.item.lParam, 0x10005);

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
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 1), 4);
    ASSERT_EQ(parent.notices.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(parent.notices[i].item.iItem, i % 5) << i;

    parent.veto_marks.clear();
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 2);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, 2), -1);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 5);  // back to rows 0, 1, 3 and 4
    EXPECT_EQ(send(table, TBLM_SETMARK, 0, 0), 1);
    EXPECT_EQ(send(table, TBLM_SETMARK, 4, 0), 1);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, 1), 3);
    parent.veto_marks = {0, 1, 2, 3, 4};  // a parent refusing every change
    EXPECT_EQ(send(table, TBLM_SETALLMARKS, 0, 0), 0);
    EXPECT_EQ(send(table, TBLM_INVERTMARKS), 0);
    EXPECT_EQ(send(table, TBLM_GETNEXTMARKED, static_cast<WPARAM>(-1)), 1);

    ASSERT_EQ(send(table, TBLM_SETCURSEL, 4), 1);
    parent.notices.clear();
    EXPECT_EQ(send(table, TBLM_DELETEMARKED), 2);
    EXPECT_EQ(column0(), (std::vector<std::string>{"r0", "r2", "r4"}));
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
    EXPECT_TRUE(parent.notices.empty());
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(table, IDC_TABLE_LIST)));
}

TEST_F(TableProtocol, rows_outside_the_table_and_null_records_change_nothing_and_notify_nobody)
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
        LRESULT read = -1;
        EXPECT_EQ(cell_text(table, row, 0, nullptr, &read), "kept");
        EXPECT_EQ(read, 0);
    }
    LVITEMA negative{};
    negative.mask = LVIF_TEXT;
    negative.iItem = -1;
    negative.pszText = const_cast<char*>("x");
    EXPECT_EQ(send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&negative)), -1);
    EXPECT_EQ(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&negative)), 0);

    EXPECT_EQ(send(table, TBLM_INSERTITEM), -1);
    EXPECT_EQ(send(table, TBLM_SETITEM), 0);
    EXPECT_EQ(send(table, TBLM_GETITEM), 0);
    EXPECT_EQ(send(table, TBLM_INSERTCOLUMN, 6, 0), -1);
    int column = -7;
    EXPECT_EQ(send(table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&column), 0), -1);
    for (UINT unused = WM_USER + 6; unused <= WM_USER + 9; ++unused)
        EXPECT_EQ(send(table, unused, 1, 1), 0) << unused;

    EXPECT_EQ(column0(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(send(table, TBLM_GETCURSEL), 3);
    EXPECT_EQ(send(table, TBLM_GETCOLUMNCOUNT), 6);
    EXPECT_TRUE(parent.notices.empty());
}

// Wine's list view answers success when asked for a sub-item beyond its
// columns (with an empty text) and when given sub-item -1 to write; the table
// refuses both, so a caller's buffer is never silently emptied.
TEST_F(TableProtocol, sub_items_outside_the_columns_are_refused_where_the_list_view_accepts_them)
{
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    char raw_text[CELL_TEXT_SIZE] = "kept";
    LVITEMA raw{};
    raw.mask = LVIF_TEXT;
    raw.iSubItem = 6;
    raw.pszText = raw_text;
    raw.cchTextMax = CELL_TEXT_SIZE;
    RecordProperty("list_view_answer_for_sub_item_6",
                   static_cast<int>(send(list_view, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&raw))));
    for (int sub_item : {-1, 6, 40}) {
        LRESULT read = -1;
        EXPECT_EQ(cell_text(table, 0, sub_item, nullptr, &read), "kept") << sub_item;
        EXPECT_EQ(read, 0) << sub_item;
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iSubItem = sub_item;
        item.pszText = const_cast<char*>("x");
        EXPECT_EQ(send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)), 0) << sub_item;
    }
    EXPECT_EQ(cell_text(table, 0, 0), "r0");
}

TEST_F(TableProtocol, hit_test_uses_the_list_view_geometry)
{
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    RECT label{LVIR_LABEL, 0, 0, 0};
    POINT at{};
    ASSERT_TRUE(send(list_view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label)));
    ASSERT_TRUE(send(list_view, LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&at)));
    const int y = (label.top + label.bottom) / 2, height = label.bottom - label.top;
    const int x = at.x;
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

}  // namespace
