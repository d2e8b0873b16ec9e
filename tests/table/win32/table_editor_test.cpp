// Opening and ending cell edits, the edits that table messages end, and the
// fit of the list view and its last column when the table is resized.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "table/win32/cell_editor.h"
#include "table_test_parent.h"

namespace {

using namespace table_test;

class TableEditing : public testing::Test {
protected:
    void SetUp() override
    {
        table = parent.create_table();
        ASSERT_NE(table, nullptr);
        fill_table(table, {50, 60, 70, 40, 80, 90}, 5);
        state = table_state_of(table);
        editor = GetDlgItem(table, IDC_TABLE_EDIT);
        parent.notices.clear();
    }
    void type(const std::string& text) { SetWindowTextA(editor, text.c_str()); }

    TestParent parent;
    HWND table = nullptr;
    HWND editor = nullptr;
    TableState* state = nullptr;
};

TEST_F(TableEditing, an_edit_opens_over_its_cell_with_the_cell_text_after_asking_the_parent)
{
    ASSERT_EQ(table_begin_edit(state, 1, 2), 1);
    ASSERT_EQ(parent.codes(), std::vector<UINT>{TBLN_BEGINEDIT});
    EXPECT_EQ(parent.notices[0].item, 1);
    EXPECT_EQ(parent.notices[0].sub_item, 2);
    EXPECT_EQ(parent.notices[0].mask, 0u);
    EXPECT_EQ(state->edit_row, 1);
    EXPECT_EQ(state->edit_column, 2);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(GetFocus(), editor);
    char text[CELL_TEXT_SIZE];
    GetWindowTextA(editor, text, CELL_TEXT_SIZE);
    EXPECT_STREQ(text, "r1 c2");

    CellRect cell{};
    ASSERT_TRUE(table_cell_rect(state, 1, 2, &cell));
    RECT placed{};
    GetWindowRect(editor, &placed);
    MapWindowPoints(nullptr, table, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, cell.x - 2);
    EXPECT_EQ(placed.top, cell.y - 2);
    EXPECT_EQ(placed.right - placed.left, 70);
    EXPECT_EQ(placed.bottom - placed.top, cell.height + 4);
}

TEST_F(TableEditing, ending_offers_the_text_once_and_stores_what_the_parent_accepts)
{
    ASSERT_EQ(table_begin_edit(state, 2, 4), 1);
    type("typed");
    parent.end_edit_rewrite = "cut";
    EXPECT_EQ(table_end_edit(state), 1);
    // Hiding the focused editor moves the focus; the edit is still offered once.
    ASSERT_EQ(parent.codes(), (std::vector<UINT>{TBLN_BEGINEDIT, TBLN_ENDEDIT}));
    const Notice& n = parent.notices[1];
    EXPECT_EQ(n.text, "typed");
    EXPECT_EQ(n.mask, static_cast<UINT>(LVIF_TEXT));
    EXPECT_EQ(n.item, 2);
    EXPECT_EQ(n.sub_item, 4);
    EXPECT_EQ(cell_text(table, 2, 4), "cut");
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(GetFocus(), GetDlgItem(table, IDC_TABLE_LIST));
    EXPECT_EQ(state->edit_row, -1);
    EXPECT_EQ(table_end_edit(state), 1);
    EXPECT_EQ(parent.notices.size(), 2u);

    // A parent answering 0 keeps the old text.
    parent.end_edit_answer = 0;
    ASSERT_EQ(table_begin_edit(state, 3, 1), 1);
    type("discarded");
    table_end_edit(state);
    EXPECT_EQ(cell_text(table, 3, 1), "r3 c1");
}

TEST_F(TableEditing, a_long_text_is_offered_as_its_first_255_bytes)
{
    ASSERT_EQ(table_begin_edit(state, 0, 5), 1);
    type(std::string(300, 'x'));
    table_end_edit(state);
    ASSERT_EQ(parent.notices.size(), 2u);
    EXPECT_EQ(parent.notices[1].text, std::string(255, 'x'));
    EXPECT_EQ(cell_text(table, 0, 5), std::string(255, 'x'));
}

TEST_F(TableEditing, a_refused_or_missing_cell_opens_nothing)
{
    parent.begin_edit_answer = 1;
    EXPECT_EQ(table_begin_edit(state, 1, 1), -1);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(state->edit_row, -1);

    parent.begin_edit_answer = 0;
    ASSERT_EQ(table_begin_edit(state, 1, 1), 1);
    parent.notices.clear();
    // The open edit is ended before the missing cell is found missing.
    for (auto [row, column] : {std::pair{5, 0}, {-1, 0}, {0, 6}, {0, -1}}) {
        EXPECT_EQ(table_begin_edit(state, row, column), 0) << row << "," << column;
        EXPECT_EQ(state->edit_row, -1);
    }
    EXPECT_EQ(parent.codes(), std::vector<UINT>{TBLN_ENDEDIT});
    EXPECT_FALSE(IsWindowVisible(editor));
}

TEST_F(TableEditing, structural_messages_end_an_open_edit_and_the_others_leave_it_open)
{
    ASSERT_EQ(table_begin_edit(state, 4, 0), 1);
    parent.notices.clear();
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 3;
    item.pszText = const_cast<char*>("set");
    send(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    send(table, TBLM_SETCURSEL, 2);
    send(table, TBLM_INVERTMARKS);
    EXPECT_EQ(state->edit_row, 4);
    const std::vector<UINT> codes = parent.codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TBLN_ENDEDIT), 0);

    // The edit ends before the row goes in: the parent still sees 5 rows.
    parent.notices.clear();
    item.iSubItem = 0;
    item.pszText = const_cast<char*>("inserted");
    send(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    ASSERT_EQ(parent.codes(), std::vector<UINT>{TBLN_ENDEDIT});
    EXPECT_EQ(parent.notices[0].rows_then, 5);
    EXPECT_EQ(cell_text(table, 5, 0), "r4");  // the edited text was stored on its row

    // Deleting all rows ends the edit after the rows are gone; storing finds no row.
    ASSERT_EQ(table_begin_edit(state, 2, 0), 1);
    parent.notices.clear();
    EXPECT_EQ(send(table, TBLM_DELETEALLITEMS), 0);
    ASSERT_EQ(parent.codes(), std::vector<UINT>{TBLN_ENDEDIT});
    EXPECT_EQ(parent.notices[0].rows_then, 0);
    EXPECT_EQ(parent.notices[0].item, 2);
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 0);
}

TEST_F(TableEditing, resizing_ends_the_edit_and_fits_the_last_column_to_the_list_view)
{
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    ASSERT_EQ(table_begin_edit(state, 0, 0), 1);
    parent.notices.clear();
    // Widths 32, 32, 32, 32, 128, 128: the first five fill 256 pixels.
    for (int c = 0; c < 6; ++c)
        SendMessageA(list_view, LVM_SETCOLUMNWIDTH, c, c < 4 ? 32 : 128);
    MoveWindow(table, 0, 0, 500, 200, TRUE);
    EXPECT_EQ(parent.codes(), std::vector<UINT>{TBLN_ENDEDIT});
    RECT client{};
    GetClientRect(list_view, &client);
    RECT placed{};
    GetWindowRect(list_view, &placed);
    EXPECT_EQ(placed.right - placed.left, 500);
    EXPECT_EQ(placed.bottom - placed.top, 200);
    EXPECT_EQ(SendMessageA(list_view, LVM_GETCOLUMNWIDTH, 5, 0), client.right - 256);
    EXPECT_EQ(SendMessageA(list_view, LVM_GETCOLUMNWIDTH, 4, 0), 128);

    SendMessageA(list_view, LVM_SETCOLUMNWIDTH, 5, 128);
    MoveWindow(table, 0, 0, 200, 200, TRUE);
    EXPECT_EQ(SendMessageA(list_view, LVM_GETCOLUMNWIDTH, 5, 0), 128);
}

}  // namespace
