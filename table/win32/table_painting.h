#pragma once
// The list view's painting in the table's colour schemes: plain, marked,
// current and current-and-marked rows, and the current row's sunken frame.

#include "table/win32/table_state.h"

// WM_PAINT of the list view; answers 0.
LRESULT on_list_paint(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam);
