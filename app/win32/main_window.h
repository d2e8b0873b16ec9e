#pragma once
// The program's only top-level window: it holds the schedule table, the
// single-instance mutex, the tray icon and the one-second timer that hands
// each new local minute to the due pass.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <cstddef>

#include "app/win32/main_window_state.h"

constexpr char MAIN_WINDOW_CLASS[] = "TaveCron";
constexpr char MAIN_WINDOW_TITLE[] = "TaveCron";
// Named mutex held by the running instance; a second one finds it and stops.
constexpr char SINGLE_INSTANCE_MUTEX[] = "TaveCron";
constexpr char TRAY_TIP[] = "TaveCron";

constexpr int IDC_TABLE = 1;                // the table control, the only child
constexpr UINT_PTR IDT_MINUTE = 1;          // the one-second timer
constexpr UINT ID_TRAYICON = 2;             // the tray icon's id under the main window
constexpr UINT WMU_TRAYICON = WM_USER + 1;  // tray icon mouse messages; lParam the mouse message
constexpr UINT MINUTE_TIMER_PERIOD_MS = 1000;

// The oldest layouts of these records, which every system accepts: the file
// dialog's up to lpTemplateName, the tray icon's up to a 64-byte tip. Both
// follow the build's pointer size (76 and 88 bytes in a 32-bit program, 136
// and 104 in a 64-bit one); a 64-bit dialog that says 76 does not open.
constexpr DWORD FILE_DIALOG_SIZE = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
constexpr DWORD TRAY_ICON_SIZE = offsetof(NOTIFYICONDATAA, szTip) + 64;
static_assert(sizeof(void*) != 4 || (FILE_DIALOG_SIZE == 76 && TRAY_ICON_SIZE == 88));

// Completed creations minus destructions (refused creations count down too).
extern int main_window_count;

struct ColumnDef {
    const char* caption;  // code page 932; null ends the table
    int width;            // pixels
};

// The schedule table's columns, COL_MONTH to COL_OPTION, ended by a null caption.
extern const std::array<ColumnDef, 7> column_defs;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Runs the due pass for `now` in the program's folder. A command may pump
// messages (an error box of the shell, say), so timer ticks can arrive inside
// the pass: pass_running is set meanwhile, and such ticks start no pass of
// their own. The record may be gone when this returns (File, Exit from the
// tray inside the pass); nothing of it is touched after the pass then.
void run_guarded_pass(MainWindowState* state, const SYSTEMTIME& now);

// Adds the tray icon described in state->tray_icon. Also used when the task
// bar has been re-created (the shell restarted) and the icon was lost with it.
BOOL add_tray_icon(MainWindowState* state);
