#pragma once
// The main window's record, apart from the window procedure, so that the
// files that work on it (the menu commands, the crontab document) need not
// reach into the main window's file.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <array>

#include "app/crontab_path.h"
#include "base/win32/owned_handle.h"
#include "base/win32/window_record.h"

// One per main window, kept as base/win32/window_record.h describes: created
// in WM_CREATE, released in WM_DESTROY. File, Exit from the tray icon's menu
// can destroy the window inside any modal loop (a file dialog, a message box,
// a popup menu, a command that pumps messages): code that goes on after one
// finds the record again through the window handle, and stops when it is gone.
struct MainWindowState {
    HWND main_window;
    HWND table;
    OwnedKernelObject mutex;    // held only while this instance holds the mutex
    OPENFILENAMEA file_dialog;  // shared by File, Open and File, Save; lpstrFile is path
    CrontabPath path;           // current crontab file, NUL-terminated
    NOTIFYICONDATAA tray_icon;  // cbSize 0 until the icon has been described
    int last_minute;            // minute noted at the last new-minute tick; -1 before the first
    bool file_dialog_open;      // File, Open or File, Save has its dialog open
    bool pass_running;          // a due pass is under way (ticks inside it run none)
    // Full path of the file start-up found but could not read (held by
    // another program, say), empty when none: a Save over it asks first,
    // since its entries never reached the table. Emptied once the user
    // answers Yes or a file is loaded.
    CrontabPath unread_file;
};

// The window's record, or null (before WM_CREATE stored it, or after release).
inline MainWindowState* main_window_state(HWND window)
{
    return window_record<MainWindowState>(window);
}
