#pragma once
// Typed calls for the code that drives a table window (WC_TAVETABLE) from
// outside: each sends one TBLM_* message with SendMessageA and answers its
// result as table/table_messages.h gives it. Cells travel in LVITEMA records
// with mask LVIF_TEXT, iItem the row and iSubItem the column.
#include <windows.h>
#include <commctrl.h>

#include "table/table_messages.h"

inline int table_row_count(HWND table)
{
    return static_cast<int>(SendMessageA(table, TBLM_GETITEMCOUNT, 0, 0));
}

// The columns inserted through TBLM_INSERTCOLUMN.
inline int table_column_count(HWND table)
{
    return static_cast<int>(SendMessageA(table, TBLM_GETCOLUMNCOUNT, 0, 0));
}

// The current row; 0 in an empty table.
inline int table_current_row(HWND table)
{
    return static_cast<int>(SendMessageA(table, TBLM_GETCURSEL, 0, 0));
}

// The record naming one cell's text. The table never writes through pszText
// when it stores a text, so handing it a constant is sound; LVITEMA only
// lacks the const.
inline LVITEMA table_text_item(int row, int column, const char* text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    return item;
}

// TBLM_INSERTITEM: a row at index `row` (at or past the end: appended) with
// `text` (null: empty) in column 0. Answers the new row's index, -1 when the
// table refuses it.
inline int table_insert_item(HWND table, int row, const char* text)
{
    const LVITEMA item = table_text_item(row, 0, text != nullptr ? text : "");
    return static_cast<int>(SendMessageA(table, TBLM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
}

// TBLM_SETITEM: one cell's text (null: empty). Nonzero on success.
inline int table_set_cell(HWND table, int row, int column, const char* text)
{
    const LVITEMA item = table_text_item(row, column, text != nullptr ? text : "");
    return static_cast<int>(SendMessageA(table, TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)));
}

// TBLM_GETITEM: one cell's text into `buffer`, `size` bytes (at least 1),
// whose last byte is always left a NUL. A list view may answer by pointing
// pszText at its own copy instead of filling the buffer; that text is copied
// in, bounded. A refused fetch (no such row or column) leaves the rest of the
// buffer as it was. Nonzero on success.
inline int table_get_cell(HWND table, int row, int column, char* buffer, int size)
{
    LVITEMA item = table_text_item(row, column, buffer);
    item.cchTextMax = size;
    const int result = static_cast<int>(SendMessageA(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    if (item.pszText != nullptr && item.pszText != buffer) lstrcpynA(buffer, item.pszText, size);
    buffer[size - 1] = '\0';
    return result;
}
