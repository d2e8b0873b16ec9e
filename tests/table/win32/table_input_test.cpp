// Cell edits, keys, clicks and scrolling on a real table, keys and clicks sent as a user would (SendInput), with the
// parent recording every notification: what the binding does with the keys, the mouse and the editor control.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/win32/table_fixture.h"
#include "table/win32/cell_editor.h"

namespace {

using namespace table_test;
using Codes = std::vector<UINT>;
using Ended = std::vector<std::tuple<int, int, std::string>>;

INPUT key(WORD code, DWORD flags = 0)
{
    return {INPUT_KEYBOARD, {.ki = {code, 0, flags, 0, 0}}};
}

// Sends the input followed by a marker key, then dispatches until the marker comes out of the queue: input is
// taken in order, so everything before it (and the characters it made) has been handled by then.
void send_input(std::vector<INPUT> in)
{
    in.push_back(key(VK_F24, KEYEVENTF_KEYUP));
    SendInput(in.size(), in.data(), sizeof(INPUT));
    bool marked = false;
    ASSERT_TRUE(pump_until([&] { return marked; }, 5000,
                           [&](const MSG& m) { marked |= m.message == WM_KEYUP && m.wParam == VK_F24; }));
}

// Presses the keys in turn; Shift stays down until they are handled (the table reads it then, as a user holds it).
void press(const std::vector<WORD>& keys, bool shift = false)
{
    std::vector<INPUT> in;
    if (shift) in.push_back(key(VK_SHIFT));
    for (WORD code : keys) in.insert(in.end(), {key(code), key(code, KEYEVENTF_KEYUP)});
    send_input(in);
    if (shift) send_input({key(VK_SHIFT, KEYEVENTF_KEYUP)});
}

// A left click, or the buttons given, at a point of the window's client area.
void mouse(HWND window, POINT p, DWORD buttons = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP)
{
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    send_input({{INPUT_MOUSE, {.mi = {0, 0, 0, buttons, 0, 0}}}});
}

class TableInput : public FilledTable {
protected:
    void SetUp() override
    {
        FilledTable::SetUp();
        SetForegroundWindow(parent.window);
        SetFocus(list_view);
        // Shift injected before the window holds the focus may not show in GetAsyncKeyState.
        ASSERT_TRUE(pump_until([&] { return GetForegroundWindow() == parent.window && GetFocus() == list_view; }));
        send_input({});
    }
    Ended ended() const
    {
        Ended cells;
        for (const Notice& n : parent.notices) {
            if (n.code == TBLN_ENDEDIT) cells.emplace_back(n.item.iItem, n.item.iSubItem, n.text);
        }
        return cells;
    }
    POINT middle(int row, int column) const
    {
        CellRect cell{};
        window_cell_rect(state, row, column, &cell);
        return {cell.x + cell.width / 2, cell.y + cell.height / 2};
    }
};

// One key of each path; what every key does is the portable rules' business.
TEST_F(TableInput, keys_move_end_and_open_edits_each_offered_once_and_never_reach_the_list_view)
{
    const LRESULT top = send(list_view, LVM_GETTOPINDEX);
    press({VK_RETURN});  // Enter on the list view is passed on to the parent, once
    press({VK_TAB});
    press({VK_TAB});  // its character must not reach the next cell's editor
    press({VK_TAB}, true);
    press({VK_END, 'Z', VK_RETURN});  // editing keys stay in the editor; hiding it gives the list view the keys
    press({VK_SPACE});                // marks row 0 and moves down
    press({VK_DOWN}, true);
    press({VK_HOME, VK_NEXT, 'R', VK_TAB});  // R: the list view's type-ahead would select "r0"
    SetFocus(parent.window);                 // the editor's loss of the focus ends the edit too
    EXPECT_EQ(ended(), (Ended{{0, 0, "r0"}, {0, 1, "r0 c1"}, {0, 0, "r0z"}, {1, 0, "r1"}}));
    EXPECT_EQ(std::ranges::count(parent.codes(), UINT{NM_RETURN}), 1);
    EXPECT_EQ(std::pair(send(list_view, LVM_GETSELECTEDCOUNT), send(list_view, LVM_GETTOPINDEX)),
              std::pair(LRESULT{0}, top));
}

TEST_F(TableInput, an_edit_opens_over_an_existing_cell_only_when_the_parent_agrees)
{
    parent.begin_edit_answer = 1;
    EXPECT_EQ(table_begin_edit(state, 1, 2), -1);
    EXPECT_EQ(std::pair(state->edit_row, IsWindowVisible(editor)), std::pair(-1, FALSE));
    parent.begin_edit_answer = 0;
    ASSERT_EQ(table_begin_edit(state, 1, 2), 1);
    EXPECT_EQ(std::pair(parent.notices[1].item.iItem, parent.notices[1].item.iSubItem), std::pair(1, 2));
    CellRect cell{};
    window_cell_rect(state, 1, 2, &cell);
    RECT at{};
    GetWindowRect(editor, &at);
    MapWindowPoints(nullptr, table, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ((std::vector<LONG>{at.left, at.top, at.right, at.bottom}),
              (std::vector<LONG>{cell.x - 2, cell.y - 2, cell.x + 68, cell.y + cell.height + 2}));

    parent.notices.clear();  // a missing cell opens nothing, after the open edit has ended
    EXPECT_EQ(table_begin_edit(state, 5, 0), 0);
    EXPECT_EQ(parent.codes(), Codes{TBLN_ENDEDIT});

    // Nor on a cell whose row the parent deletes while it answers.
    parent.on_begin_edit = [&] { send(table, TBLM_DELETEITEM, 4); };
    EXPECT_EQ(table_begin_edit(state, 4, 1), 0);
}

TEST_F(TableInput, an_ended_edit_offers_its_first_255_bytes_in_whole_characters_and_stores_what_the_parent_leaves)
{
    const std::string x254(254, 'x');
    press({VK_TAB});
    SetWindowTextA(editor, "");
    press(std::vector<WORD>(300, 'X'));
    press({VK_RETURN});
    const Notice& n = parent.notices.back();
    EXPECT_EQ(std::tuple(n.item.mask, n.item.iItem, n.item.iSubItem, n.item.cchTextMax, n.text),
              std::tuple(UINT{LVIF_TEXT}, 0, 0, CELL_TEXT_SIZE, std::string(255, 'x')));
    press({VK_TAB});  // "あ" across byte 255 is dropped whole
    SetWindowTextA(editor, (x254 + "\x82\xa0").c_str());
    press({VK_RETURN});
    EXPECT_EQ(std::get<2>(ended().back()), x254);
    // A parent that fills the whole buffer leaves no terminator: the cell takes its first 255 bytes, "あ" across
    // byte 255 dropped whole, and nothing past the buffer (read back with room to spare).
    parent.end_edit_rewrite = std::string(254, 'y') + "\x82\xa0";
    ASSERT_EQ(table_begin_edit(state, 4, 5), 1);
    table_end_edit(state);
    char stored[4 * CELL_TEXT_SIZE];
    table_get_cell(table, 4, 5, stored, sizeof stored);
    EXPECT_EQ(stored, std::string(254, 'y'));
    parent.end_edit_answer = 0;  // refused text: the cell keeps its own
    ASSERT_EQ(table_begin_edit(state, 3, 1), 1);
    SetWindowTextA(editor, "discarded");
    table_end_edit(state);
    EXPECT_EQ(cell_text(table, 3, 1), "r3 c1");
}

TEST_F(TableInput, inserting_resizing_and_deleting_all_end_the_edit_while_other_messages_leave_it_open)
{
    ASSERT_EQ(table_begin_edit(state, 4, 0), 1);
    parent.notices.clear();
    LVITEMA item = table_text_item(-1, 0, "refused");
    EXPECT_EQ(send(table, TBLM_INSERTITEM, &item), -1);
    item = table_text_item(0, 3, "new");
    send(table, TBLM_SETITEM, &item);
    send(table, TBLM_SETCURSEL, 2);
    EXPECT_EQ(std::pair(state->edit_row, parent.codes()), std::pair(4, Codes{}));
    parent.notices.clear();
    item.iSubItem = 0;  // the edit ends before the row goes in
    send(table, TBLM_INSERTITEM, &item);
    EXPECT_EQ(std::pair(parent.codes(), parent.notices[0].rows_then), std::pair(Codes{TBLN_ENDEDIT}, 5));

    ASSERT_EQ(table_begin_edit(state, 2, 0), 1);
    MoveWindow(table, 0, 0, 500, 200, TRUE);
    EXPECT_EQ(state->edit_row, -1);

    ASSERT_EQ(table_begin_edit(state, 2, 0), 1);
    parent.notices.clear();  // deleting all rows ends the edit after they are gone
    EXPECT_EQ(send(table, TBLM_DELETEALLITEMS), 0);
    ASSERT_EQ(parent.codes(), Codes{TBLN_ENDEDIT});
    EXPECT_EQ(std::pair(parent.notices[0].rows_then, parent.notices[0].item.iItem), std::pair(0, 2));
}

TEST_F(TableInput, a_click_moves_the_current_row_and_the_focus_and_a_right_press_neither)
{
    SetFocus(parent.window);
    mouse(list_view, middle(2, 3));
    EXPECT_EQ(std::pair(state->current_row, GetFocus()), std::pair(2, list_view));
    mouse(list_view, middle(3, 0), MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);  // a list view selects a label's row
    EXPECT_EQ(std::pair(send(list_view, LVM_GETSELECTEDCOUNT), state->current_row), std::pair(LRESULT{0}, 2));
}

// The wheel takes the same path from the editor (the random sessions turn it with an edit open).
TEST_F(TableInput, the_scroll_bar_ends_an_open_edit_before_the_rows_move)
{
    for (int r = 5; r < 40; ++r) append({"more"});
    ASSERT_EQ(table_begin_edit(state, 1, 2), 1);
    parent.notices.clear();
    RECT box{};
    GetWindowRect(list_view, &box);
    const int arrow = GetSystemMetrics(SM_CXVSCROLL) / 2 + 2;  // on the scroll bar's down arrow
    mouse(list_view, {box.right - box.left - arrow, box.bottom - box.top - arrow});
    EXPECT_EQ(std::pair(parent.codes(), send(list_view, LVM_GETTOPINDEX) > 0), std::pair(Codes{TBLN_ENDEDIT}, true));
}

}  // namespace
