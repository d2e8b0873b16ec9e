#pragma once
// The table's own keyboard and left-button handling: keys and presses in the
// list view move the current row, toggle marks and open the editor; keys in
// the editor move it between cells or end the edit. The rules themselves are
// in table/table_navigation.h.

#include "table/win32/table_state.h"

// List view: every key-down is consumed and answers 0.
LRESULT on_list_key_down(TableState* state, UINT key);
// List view: a press on a cell ends any open edit and makes its row current,
// opening the editor when it already was. lparam: the point, unsigned words.
LRESULT on_list_left_button(TableState* state, LPARAM lparam);
// List view: scroll bars and the wheel end any open edit, then scroll.
LRESULT on_list_scroll(TableState* state, WNDPROC previous, UINT message, WPARAM wparam, LPARAM lparam);

// Editor: navigation keys move the edit, Enter and Esc end it, the rest edit.
LRESULT on_editor_key_down(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam);
// Editor: losing the focus ends the edit; the editor's own procedure never sees it.
LRESULT on_editor_kill_focus(TableState* state);
// Editor: the wheel reaches the focused editor, not the list view under it;
// it is handed to the list view, which ends the edit and scrolls.
LRESULT on_editor_wheel(TableState* state, WPARAM wparam, LPARAM lparam);
