#pragma once
// The table control's message protocol, as numbers only, so that the portable
// core and the Win32 binding share one definition without windows.h.
// Messages are sent with SendMessageA to a WC_TAVETABLE window; cells travel
// in LVITEMA records, notifications as WM_NOTIFY with an NMHDR followed by an
// LVITEMA (the NMLVDISPINFOA layout).
#include <array>

constexpr unsigned TABLE_WM_USER = 0x0400;

constexpr unsigned TBLM_SETMARK = TABLE_WM_USER + 0;          // wParam row, lParam on/off
constexpr unsigned TBLM_GETMARK = TABLE_WM_USER + 1;          // wParam row -> 1/0
constexpr unsigned TBLM_TOGGLEMARK = TABLE_WM_USER + 2;       // wParam row
constexpr unsigned TBLM_SETALLMARKS = TABLE_WM_USER + 3;      // lParam on/off -> rows written
constexpr unsigned TBLM_INVERTMARKS = TABLE_WM_USER + 4;      // -> rows written
constexpr unsigned TBLM_DELETEMARKED = TABLE_WM_USER + 5;     // -> rows deleted
constexpr unsigned TBLM_INSERTCOLUMN = TABLE_WM_USER + 10;    // wParam index, lParam LVCOLUMNA*
constexpr unsigned TBLM_INSERTITEM = TABLE_WM_USER + 11;      // lParam LVITEMA* -> row or -1
constexpr unsigned TBLM_SETITEM = TABLE_WM_USER + 12;         // lParam LVITEMA*
constexpr unsigned TBLM_GETITEM = TABLE_WM_USER + 13;         // lParam LVITEMA*
constexpr unsigned TBLM_GETITEMCOUNT = TABLE_WM_USER + 14;    // -> row count
constexpr unsigned TBLM_GETCOLUMNCOUNT = TABLE_WM_USER + 15;  // -> column count
constexpr unsigned TBLM_HITTEST = TABLE_WM_USER + 16;         // wParam int* column, lParam POINT* -> row or -1
constexpr unsigned TBLM_DELETEITEM = TABLE_WM_USER + 17;      // wParam row
constexpr unsigned TBLM_GETNEXTMARKED = TABLE_WM_USER + 18;   // wParam row after which to search (-1: from 0)
constexpr unsigned TBLM_DELETEALLITEMS = TABLE_WM_USER + 19;
constexpr unsigned TBLM_GETCURSEL = TABLE_WM_USER + 20;  // -> current row
constexpr unsigned TBLM_SETCURSEL = TABLE_WM_USER + 21;  // wParam row -> 1/0
// Ends an open cell edit, offering its text to the parent as Enter would, so
// that a command about to change rows does not have its change overwritten by
// the edit's later end. Answers 1; with no edit open it does nothing.
constexpr unsigned TBLM_ENDEDIT = TABLE_WM_USER + 22;

// Notification codes sent to the parent in NMHDR.code.
constexpr unsigned TBLN_BEGINEDIT = 1124;                        // nonzero answer refuses the edit
constexpr unsigned TBLN_ENDEDIT = 1125;                          // nonzero answer stores the text
constexpr unsigned TBLN_MARKCHANGING = 1126;                     // nonzero answer vetoes the write
constexpr unsigned TABLE_NM_RETURN = static_cast<unsigned>(-4);  // NM_RETURN

// The only bit of a row's parameter word that mark operations change.
constexpr unsigned ROW_MARK = 0x10000;

// Child ids inside the table window.
constexpr int IDC_TABLE_LIST = 1;
constexpr int IDC_TABLE_EDIT = 2;

// Every buffer that carries a cell text: at most 255 characters and the terminator.
constexpr int CELL_TEXT_SIZE = 256;
using CellText = std::array<char, CELL_TEXT_SIZE>;
