// Opening and ending cell edits, the messages that end an open edit, and the
// fit of the list view and its last column when the table is resized.
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "support/win32/table_fixture.h"
#include "table/win32/cell_editor.h"

namespace {

using namespace table_test;
using Codes = std::vector<UINT>;
using TableEditing = FilledTable;

TEST_F(TableEditing, an_edit_opens_over_an_existing_cell_with_its_text_only_when_the_parent_agrees)
{
    parent.begin_edit_answer = 1;
    EXPECT_EQ(table_begin_edit(state, 1, 2), -1);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(state->edit_row, -1);

    parent.begin_edit_answer = 0;
    ASSERT_EQ(table_begin_edit(state, 1, 2), 1);
    ASSERT_EQ(parent.codes, (Codes{TBLN_BEGINEDIT, TBLN_BEGINEDIT}));
    EXPECT_EQ(std::pair(parent.notices[1].item.iItem, parent.notices[1].item.iSubItem), std::pair(1, 2));
    EXPECT_EQ(std::pair(state->edit_row, state->edit_column), std::pair(1, 2));
    EXPECT_TRUE(IsWindowVisible(editor) && GetFocus() == editor);
    char text[CELL_TEXT_SIZE];
    GetWindowTextA(editor, text, CELL_TEXT_SIZE);
    EXPECT_STREQ(text, "r1 c2");
    CellRect cell{};
    ASSERT_TRUE(table_cell_rect(state, 1, 2, &cell));
    RECT placed{};
    GetWindowRect(editor, &placed);
    MapWindowPoints(nullptr, table, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((std::vector<LONG>{placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top}),
              (std::vector<LONG>{cell.x - 2, cell.y - 2, 70, cell.height + 4}));

    // A missing cell opens nothing, after the open edit has ended.
    parent.clear();
    for (auto [row, column] : {std::pair{5, 0}, {-1, 0}, {0, 6}, {0, -1}})
        EXPECT_EQ(table_begin_edit(state, row, column), 0) << row << "," << column;
    EXPECT_EQ(parent.codes, Codes{TBLN_ENDEDIT});
    EXPECT_EQ(state->edit_row, -1);
    EXPECT_FALSE(IsWindowVisible(editor));
}

TEST_F(TableEditing, ending_offers_the_text_once_and_stores_what_the_parent_accepts)
{
    ASSERT_EQ(table_begin_edit(state, 2, 4), 1);
    SetWindowTextA(editor, std::string(300, 'x').c_str());
    parent.end_edit_rewrite = "cut";
    EXPECT_EQ(table_end_edit(state), 1);
    // Hiding the focused editor hands the focus on; the edit is offered once.
    ASSERT_EQ(parent.codes, (Codes{TBLN_BEGINEDIT, TBLN_ENDEDIT}));
    const Notice& n = parent.notices[1];
    EXPECT_EQ(n.text, std::string(255, 'x'));
    EXPECT_EQ(std::tuple(n.item.mask, n.item.iItem, n.item.iSubItem, n.item.cchTextMax),
              std::tuple(UINT{LVIF_TEXT}, 2, 4, CELL_TEXT_SIZE));
    EXPECT_EQ(cell_text(table, 2, 4), "cut");
    EXPECT_TRUE(!IsWindowVisible(editor) && GetFocus() == list_view);
    EXPECT_EQ(table_end_edit(state), 1);
    EXPECT_EQ(parent.notices.size(), 2u);

    parent.end_edit_answer = 0;  // refused text: the cell keeps its own
    ASSERT_EQ(table_begin_edit(state, 3, 1), 1);
    SetWindowTextA(editor, "discarded");
    table_end_edit(state);
    EXPECT_EQ(cell_text(table, 3, 1), "r3 c1");
}

TEST_F(TableEditing, inserting_and_deleting_all_end_the_edit_while_other_messages_leave_it_open)
{
    ASSERT_EQ(table_begin_edit(state, 4, 0), 1);
    LVITEMA item = text_item(0, 3, "new");
    send(table, TBLM_SETITEM, &item);
    send(table, TBLM_SETCURSEL, 2);
    send(table, TBLM_INVERTMARKS);
    EXPECT_EQ(state->edit_row, 4);
    parent.clear();

    item.iSubItem = 0;  // the edit ends before the row goes in
    send(table, TBLM_INSERTITEM, &item);
    ASSERT_EQ(parent.codes, Codes{TBLN_ENDEDIT});
    EXPECT_EQ(parent.notices[0].rows_then, 5);
    EXPECT_EQ(cell_text(table, 5, 0), "r4");

    ASSERT_EQ(table_begin_edit(state, 2, 0), 1);
    parent.clear();  // deleting all rows ends the edit after they are gone
    EXPECT_EQ(send(table, TBLM_DELETEALLITEMS), 0);
    ASSERT_EQ(parent.codes, Codes{TBLN_ENDEDIT});
    EXPECT_EQ(std::pair(parent.notices[0].rows_then, parent.notices[0].item.iItem), std::pair(0, 2));
    EXPECT_EQ(send(table, TBLM_GETITEMCOUNT), 0);
    // An empty table has current row 0 and no row to make current.
    EXPECT_EQ((std::vector<LRESULT>{send(table, TBLM_GETCURSEL), send(table, TBLM_SETCURSEL, 0),
                                    send(table, TBLM_DELETEITEM, 0), send(table, TBLM_GETCURSEL)}),
              std::vector<LRESULT>(4, 0));
}

TEST_F(TableEditing, resizing_ends_the_edit_and_fits_the_last_column_to_the_list_view)
{
    ASSERT_EQ(table_begin_edit(state, 0, 0), 1);
    parent.clear();
    for (int c = 0; c < 6; ++c)  // 32, 32, 32, 32, 128, 128: 256 left of the last
        send(list_view, LVM_SETCOLUMNWIDTH, c, c < 4 ? 32 : 128);
    MoveWindow(table, 0, 0, 500, 200, TRUE);
    EXPECT_EQ(parent.codes, Codes{TBLN_ENDEDIT});
    RECT client{}, placed{};
    GetClientRect(list_view, &client);
    GetWindowRect(list_view, &placed);
    EXPECT_EQ(std::pair(placed.right - placed.left, placed.bottom - placed.top), std::pair(500L, 200L));
    EXPECT_EQ(send(list_view, LVM_GETCOLUMNWIDTH, 5), client.right - 256);

    send(list_view, LVM_SETCOLUMNWIDTH, 5, 128);
    MoveWindow(table, 0, 0, 200, 200, TRUE);
    EXPECT_EQ(send(list_view, LVM_GETCOLUMNWIDTH, 5), 128);
}

}  // namespace
