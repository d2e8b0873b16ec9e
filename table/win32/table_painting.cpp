#include "table/win32/table_painting.h"

// Placeholder body, replaced by the painting work: the list view paints alone.
LRESULT on_list_paint(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam)
{
    return CallWindowProcA(previous, state->list_view, WM_PAINT, wparam, lparam);
}
