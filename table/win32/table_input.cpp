#include "table/win32/table_input.h"

#include "table/table_navigation.h"
#include "table/win32/cell_editor.h"
#include "table/win32/list_view_store.h"

namespace {

static_assert(KEY_TAB == VK_TAB && KEY_ENTER == VK_RETURN && KEY_SHIFT == VK_SHIFT && KEY_ESC == VK_ESCAPE &&
              KEY_SPACE == VK_SPACE && KEY_LEFT == VK_LEFT && KEY_UP == VK_UP && KEY_RIGHT == VK_RIGHT &&
              KEY_DOWN == VK_DOWN);

// The physical state when the key is handled, not the one recorded with the
// message: GetKeyState would follow the queue instead.
bool shift_held()
{
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

}  // namespace

LRESULT on_list_key_down(TableState* state, UINT key)
{
    const int current = state->current_row;
    const ListKeyPlan plan =
        list_key_plan(current, key, shift_held(), ListViewRows(state->list_view).row_count(), state->edit_row != -1);
    if (plan.open_edit) table_begin_edit(state, current, 0);
    if (plan.send_return) {
        NMHDR header{};
        table_notify(state, NM_RETURN, &header);
    }
    // Through the table's own message, so that the parent hears of the change
    // (TBLN_MARKCHANGING) and may veto it.
    if (plan.toggle_row >= 0) SendMessageA(state->window, TBLM_TOGGLEMARK, static_cast<WPARAM>(plan.toggle_row), 0);
    if (plan.new_current_row >= 0) move_current_row(state, plan.new_current_row);
    return 0;
}

LRESULT on_list_left_button(TableState* state, LPARAM lparam)
{
    const POINT point{static_cast<LONG>(LOWORD(lparam)), static_cast<LONG>(HIWORD(lparam))};
    int column = -1;
    const int row = cell_at_point(state, point, &column);
    if (row < 0) return 0;
    table_end_edit(state);
    const bool opened = row == state->current_row && table_begin_edit(state, row, column) == 1;
    move_current_row(state, row);
    // The press never reaches the list view, which would otherwise take the
    // focus itself: without this a click would leave the keys with whatever
    // window had them.
    if (!opened) SetFocus(state->list_view);
    return 0;
}

LRESULT on_list_scroll(TableState* state, WNDPROC previous, UINT message, WPARAM wparam, LPARAM lparam)
{
    // The editor is placed only when an edit opens: scrolling under it would
    // leave it over another row than the one it stores into.
    table_end_edit(state);
    return CallWindowProcA(previous, state->list_view, message, wparam, lparam);
}

LRESULT on_editor_key_down(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam)
{
    const EditorKeyPlan plan =
        editor_key_plan(state->edit_row, state->edit_column, static_cast<unsigned>(wparam), shift_held(),
                        state->column_count, ListViewRows(state->list_view).row_count());
    switch (plan.action) {
    case EditorKeyAction::END_EDIT:
        table_end_edit(state);
        return 0;
    case EditorKeyAction::MOVE_EDIT:
        table_end_edit(state);
        move_current_row(state, plan.row);
        table_begin_edit(state, plan.row, plan.column);
        return 0;
    case EditorKeyAction::PASS_ON:
    default:
        return CallWindowProcA(previous, state->edit_window, WM_KEYDOWN, wparam, lparam);
    }
}

LRESULT on_editor_kill_focus(TableState* state)
{
    table_end_edit(state);
    return 0;
}

LRESULT on_editor_wheel(TableState* state, WPARAM wparam, LPARAM lparam)
{
    return SendMessageA(state->list_view, WM_MOUSEWHEEL, wparam, lparam);
}
