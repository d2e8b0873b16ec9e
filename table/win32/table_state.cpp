#include "table/win32/table_state.h"

#include "table/win32/list_view_store.h"

TableState* table_state_of(HWND table)
{
    return window_record<TableState>(table);
}

LRESULT table_notify(TableState* state, UINT code, NMHDR* record)
{
    record->hwndFrom = state->window;
    record->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(state->window));
    record->code = code;
    return SendMessageA(GetParent(state->window), WM_NOTIFY, record->idFrom, reinterpret_cast<LPARAM>(record));
}

int cell_at_point(TableState* state, POINT p, int* column)
{
    ListViewRows rows(state->list_view);
    return table_hit_test(*state, rows, rows, TablePoint{p.x, p.y}, column);
}

bool move_current_row(TableState* state, int row)
{
    ListViewRows rows(state->list_view);
    return table_set_current_row(*state, rows, rows, row);
}

bool window_row_strip(TableState* state, int row, RECT* out)
{
    ListViewRows rows(state->list_view);
    TableRect strip{};
    if (!table_row_strip(rows, rows, row, &strip)) return false;
    *out = RECT{strip.left, strip.top, strip.right, strip.bottom};
    return true;
}

bool window_cell_rect(TableState* state, int row, int column, CellRect* out)
{
    if (!state || !out) return false;
    ListViewRows rows(state->list_view);
    return table_cell_rect(*state, rows, rows, row, column, out);
}
