#pragma once
// The WC_TAVETABLE window class: a child control that keeps rows of cell texts
// in a report-view list view and adds a current row, row marks and an in-place
// cell editor of its own. Other windows drive it only with the TBLM_* messages
// (table/table_messages.h) and hear from it through WM_NOTIFY (TBLN_*, NM_RETURN).
// WM_SETREDRAW (wParam FALSE, then TRUE) brackets a bulk change: while it is
// off the list view skips its per-row layout and scroll bar work; turning it
// on repaints the list view, scroll bars included.

#include <windows.h>
#include <commctrl.h>  // the messages carry list-view records (LVITEMA, LVCOLUMNA)

#include "table/table_messages.h"

inline constexpr char WC_TAVETABLE[] = "WC_TAVETABLE";

// The class atom, 0 until a registration succeeds.
extern ATOM table_class_atom;

// Registers the class for this module (GetModuleHandleA(NULL)) once per process
// and answers its atom, 0 on failure. A failed registration is tried again by
// the next call.
ATOM register_table_class();

LRESULT CALLBACK table_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Subclass procedures of the list view and of the cell editor. Messages they do
// not handle go to the child's previous_proc.
LRESULT CALLBACK list_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK edit_subclass_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
