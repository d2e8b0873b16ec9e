#pragma once
// The WC_TAVETABLE window class: a child control that keeps rows of cell texts
// in a report-view list view and adds a current row, row marks and an in-place
// cell editor of its own. Other windows drive it only with the TBLM_* messages
// (table/table_messages.h) and hear from it through WM_NOTIFY (TBLN_*, NM_RETURN).
// WM_SETREDRAW (wParam FALSE, then TRUE) brackets a bulk change: while it is
// off the list view skips its per-row layout and scroll bar work; turning it
// on repaints the list view, scroll bars included.

#include <windows.h>
#include <commctrl.h>

#include "table/table_messages.h"
#include "table/table_model.h"

inline constexpr char WC_TAVETABLE[] = "WC_TAVETABLE";

// The class atom, 0 until a registration succeeds.
extern ATOM table_class_atom;

// Registers the class for this module (GetModuleHandleA(NULL)) once per process
// and answers its atom, 0 on failure. A failed registration is tried again by
// the next call.
ATOM register_table_class();

LRESULT CALLBACK table_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// One per table window, on the heap, in the window's 4 extra bytes (offset 0);
// released when the table is destroyed. The model part (column_count,
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

// The portable rules applied to this table's list view (see table/table_model.h).
int table_hit_test(TableState* state, POINT p, int* column);
bool table_set_current_row(TableState* state, int row);
bool table_row_strip(TableState* state, int row, RECT* out);

// Subclass procedures of the list view and of the cell editor. Messages they do
// not handle go to the child's previous_proc.
LRESULT CALLBACK list_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK edit_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
