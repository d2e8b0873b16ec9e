#pragma once
// The main window's WM_COMMAND branch: File (Open, Save, Exit), Edit (Cut,
// Select all, Invert selection, Add item), the Command items and test, from
// the menu bar, the tray and context menus and the accelerators alike.
#include <windows.h>

struct MainWindowState;

// Carries out command `id` (the low word of WM_COMMAND's wParam) for the main
// window whose record is `state`. Ids without a command do nothing. Answers 0,
// WM_COMMAND's result.
LRESULT on_menu_command(MainWindowState* state, UINT id);
