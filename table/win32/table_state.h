#pragma once
// The state of one table window and the helpers that work on it: the window
// procedure (table_window.cpp), the input handlers, the cell editor and the
// painting all reach the table through these, and none of these reaches them.

#include <windows.h>
#include <commctrl.h>

#include "base/win32/window_record.h"
#include "table/table_messages.h"
#include "table/table_model.h"

// One per table window, kept as base/win32/window_record.h describes: created
// in WM_CREATE, released in WM_DESTROY. The model part (column_count,
// current_row, edit_row, edit_column) comes first so the portable rules work on it.
struct TableState : TableModel {
    HWND window = nullptr;
    HWND list_view = nullptr;
    HWND edit_window = nullptr;
    COLORREF list_back_color = 0xFFFFFF;
    COLORREF plain_text_color = 0x000000;
    COLORREF plain_back_color = 0xFFFFFF;
    COLORREF marked_text_color = 0x000000;
    COLORREF marked_back_color = 0xFFFF00;
    COLORREF current_text_color = 0x000000;
    COLORREF current_back_color = 0x00FFFF;
    COLORREF current_marked_text_color = 0x000000;
    COLORREF current_marked_back_color = 0x00FF00;
    int draw_edge = 1;
    unsigned edge_type = BDR_SUNKENOUTER;
    unsigned edge_flags = BF_RECT;
};

// One per subclassed child (list view, editor), on the heap, as the child's
// GWLP_USERDATA. Released by the subclass procedure on the child's WM_DESTROY,
// after previous_proc has been put back. The table's WM_DESTROY, which comes
// before its children's, sets state to null: a subclass procedure must not
// reach the state through a link whose state is null.
struct SubclassLink {
    TableState* state;
    WNDPROC previous_proc;
};

// The table's state, or null (before creation completes or after destruction).
TableState* table_state_of(HWND table);

// Sends WM_NOTIFY to the table's parent: fills record's hwndFrom (the table),
// idFrom (the table's control id) and code. Answers the parent's result.
LRESULT table_notify(TableState* state, UINT code, NMHDR* record);

// The portable rules of table/table_model.h applied to this table's list view,
// each answering as the rule named beside it; points and rectangles are in the
// list view's client pixels.
int cell_at_point(TableState* state, POINT p, int* column);                    // table_hit_test
bool move_current_row(TableState* state, int row);                             // table_set_current_row
bool window_row_strip(TableState* state, int row, RECT* out);                  // table_row_strip
bool window_cell_rect(TableState* state, int row, int column, CellRect* out);  // table_cell_rect
