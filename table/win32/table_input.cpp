#include "table/win32/table_input.h"

// Placeholder bodies, replaced by the input work: the list view's own behaviour.
LRESULT on_list_key_down(TableState* state, UINT key)
{
    return CallWindowProcA(reinterpret_cast<WNDPROC>(DefWindowProcA), state->list_view, WM_KEYDOWN, key, 0);
}
LRESULT on_list_left_button(TableState*, LPARAM) { return 0; }
LRESULT on_list_scroll(TableState* state, WNDPROC previous, UINT message, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcA(previous, state->list_view, message, wparam, lparam);
}
LRESULT on_editor_key_down(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcA(previous, state->edit_window, WM_KEYDOWN, wparam, lparam);
}
LRESULT on_editor_kill_focus(TableState*) { return 0; }
