#include "app/win32/menu_commands.h"

#include <cderr.h>
#include <commdlg.h>

#include <array>

#include "app/resource_ids.h"
#include "app/win32/crontab_document.h"
#include "app/win32/main_window_state.h"
#include "commands/win32/command_table.h"
#include "schedule/win32/crontab_file.h"
#include "schedule/win32/crontab_save.h"
#include "schedule/win32/due_pass.h"
#include "table/win32/table_calls.h"

namespace {

// Two entries, each a shown text and a pattern, NUL-separated; the literal's
// own terminator is the second NUL that ends the list.
constexpr char FILE_FILTER[] = "*.tab\0*.tab\0All\0*\0";
constexpr char OPEN_TITLE[] = "crontab ﾌｧｲﾙの読み込み";
constexpr char SAVE_TITLE[] = "crontab ﾌｧｲﾙの保存";
constexpr char OPEN_FAILED_TEXT[] = "ﾌｧｲﾙのオープンに失敗しました。";
constexpr char SAVE_FAILED_TEXT[] = "ﾌｧｲﾙを作れませんでした。";

using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);
using MainPath = std::array<char, MAIN_PATH_SIZE>;

// Stores an open cell edit's text now (as Enter would). Otherwise the edit,
// ended later by a click or a focus change, would write its old text over
// what the command is about to put into the rows.
void end_cell_edit(const MainWindowState& state)
{
    SendMessageA(state.table, TBLM_ENDEDIT, 0, 0);
}

// One dialog on the shared description: its file buffer is the path field,
// which proposes the current file and receives the choice; the filter entry
// chosen last stays in nFilterIndex for the next dialog of either kind. The
// owner is the main window even while hidden (the tray menu reaches here).
// The path field itself is left as it was: the name chosen, if any, goes to
// `chosen`, and each command decides when the field takes it. A name longer
// than the field fails the dialog (FNERR_BUFFERTOOSMALL), which writes the
// size it needed over the field's first bytes; that failure shows
// `failure_text`, a Cancel shows nothing. True when a name was chosen.
bool choose_file(MainWindowState& state, FileDialog dialog, const char* title, DWORD flags, const char* failure_text,
                 MainPath& chosen)
{
    OPENFILENAMEA& description = state.file_dialog;
    description.hwndOwner = state.main_window;
    description.lpstrFilter = FILE_FILTER;
    description.lpstrTitle = title;
    description.Flags = flags;
    const MainPath previous = state.path;
    const bool ok = dialog(&description) != FALSE;
    const DWORD failure = ok ? 0 : CommDlgExtendedError();
    // The dialogs make the folder they show the current directory; System
    // and SetWP entries with relative paths resolve against the program's
    // folder, so that becomes current again, chosen or cancelled.
    enter_program_folder();
    chosen = state.path;
    state.path = previous;
    if (failure == FNERR_BUFFERTOOSMALL) {
        MessageBoxA(state.main_window, failure_text, nullptr, MB_OK);
    }
    return ok;
}

void open_file(MainWindowState& state)
{
    end_cell_edit(state);
    MainPath chosen;
    if (!choose_file(state, GetOpenFileNameA, OPEN_TITLE, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, OPEN_FAILED_TEXT,
                     chosen)) {
        return;
    }
    // open_crontab puts the chosen name in the path field only when that file
    // opens, so a failed Open leaves the next Save proposing the file the rows
    // came from, not the one that failed.
    // 0: the file could not be opened (the rows stay) or held no entry (the table is empty).
    if (open_crontab(state.main_window, chosen.data()) == 0) {
        MessageBoxA(state.main_window, OPEN_FAILED_TEXT, nullptr, MB_OK);
    }
}

void save_file(MainWindowState& state)
{
    end_cell_edit(state);  // the text being typed belongs in the file
    MainPath chosen;
    if (!choose_file(state, GetSaveFileNameA, SAVE_TITLE, OFN_PATHMUSTEXIST, SAVE_FAILED_TEXT, chosen)) {
        return;
    }
    // The chosen name is the current file from now on, whether the save succeeds or not.
    state.path = chosen;
    if (save_crontab_file(state.table, state.path.data()) == 0) {
        MessageBoxA(state.main_window, SAVE_FAILED_TEXT, nullptr, MB_OK);
    }
}

void set_current_command(MainWindowState& state, UINT id)
{
    end_cell_edit(state);
    set_entry_command(state.table, table_current_row(state.table), static_cast<int>(id));  // nothing on an empty table
}

// Runs the rows due at the current UTC time, whatever the timer ran;
// last_minute is neither read nor changed.
void run_test(MainWindowState& state)
{
    end_cell_edit(state);
    SYSTEMTIME now;
    GetSystemTime(&now);
    const InProgramFolder in_program_folder;
    run_due_entries(state.table, now);
}

}  // namespace

LRESULT on_menu_command(MainWindowState& state, UINT id)
{
    switch (id) {
    case IDM_EXIT:
        DestroyWindow(state.main_window);
        break;
    case IDM_OPEN:
        open_file(state);
        break;
    case IDM_SAVE:
        save_file(state);
        break;
    case IDM_CUT:  // deletes the marked rows (ending an open edit first); no clipboard
        SendMessageA(state.table, TBLM_DELETEMARKED, 0, 0);
        break;
    case IDM_SELECTALL:
        SendMessageA(state.table, TBLM_SETALLMARKS, 0, 1);
        break;
    case IDM_INVERT:
        SendMessageA(state.table, TBLM_INVERTMARKS, 0, 0);
        break;
    case IDM_ADDITEM:
        end_cell_edit(state);
        add_default_entry(state.table);
        break;
    case IDM_CMD_NOACTION:
    case IDM_CMD_SYSTEM:
    case IDM_CMD_SETWP:
        set_current_command(state, id);
        break;
    case IDM_TEST:
        run_test(state);
        break;
    default:
        break;
    }
    return 0;
}
