#include "app/win32/menu_commands.h"

#include <cderr.h>
#include <commdlg.h>

#include <array>
#include <cstdio>

#include "app/resource_ids.h"
#include "app/win32/crontab_document.h"
#include "app/win32/main_window.h"
#include "app/win32/main_window_state.h"
#include "commands/win32/command_table.h"
#include "schedule/win32/crontab_file.h"
#include "schedule/win32/crontab_save.h"
#include "table/win32/table_calls.h"

namespace {

// Two entries, each a shown text and a pattern, NUL-separated; the literal's
// own terminator is the second NUL that ends the list.
constexpr char FILE_FILTER[] = "*.tab\0*.tab\0All\0*\0";
constexpr char OPEN_TITLE[] = "crontab ﾌｧｲﾙの読み込み";
constexpr char SAVE_TITLE[] = "crontab ﾌｧｲﾙの保存";
constexpr char OPEN_FAILED_TEXT[] = "ﾌｧｲﾙのオープンに失敗しました。";
constexpr char SAVE_FAILED_TEXT[] = "ﾌｧｲﾙを作れませんでした。";
// After the path: "could not be read at start-up. Replace it?"
constexpr char REPLACE_UNREAD_TEXT[] = " は起動時に読み込めませんでした。\n置き換えますか?";

using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);

// Stores an open cell edit's text now (as Enter would). Otherwise the edit,
// ended later by a click or a focus change, would write its old text over
// what the command is about to put into the rows.
void end_cell_edit(const MainWindowState* state)
{
    SendMessageA(state->table, TBLM_ENDEDIT, 0, 0);
}

// One dialog on the shared description: the path field proposes the current
// file; the filter entry chosen last stays in nFilterIndex for the next dialog
// of either kind. The owner is the main window even while hidden (the tray
// menu reaches here). The dialog works on copies of the description and of
// the path field in this frame, never on the record: File, Exit chosen from
// the tray icon's menu while the dialog is open destroys the window and frees
// the record inside the dialog's loop. The name chosen, if any, goes to
// `chosen`, and each command decides when the path field takes it. A name
// longer than the field fails the dialog (FNERR_BUFFERTOOSMALL), which writes
// the size it needed over the buffer's first bytes; that failure shows
// `failure_text`, a Cancel shows nothing. Answers the record, found again,
// when a name was chosen; null otherwise and when the window is gone.
MainWindowState* choose_file(HWND main_window, FileDialog dialog, const char* title, DWORD flags,
                             const char* failure_text, CrontabPath& chosen)
{
    MainWindowState* state = main_window_state(main_window);
    OPENFILENAMEA& shared = state->file_dialog;
    shared.hwndOwner = main_window;
    shared.lpstrFilter = FILE_FILTER;
    shared.lpstrTitle = title;
    shared.Flags = flags;
    OPENFILENAMEA description = shared;
    chosen = state->path;
    description.lpstrFile = chosen.data();
    state->file_dialog_open = true;
    const bool ok = dialog(&description) != FALSE;
    const DWORD failure = ok ? 0 : CommDlgExtendedError();
    // The dialogs make the folder they show the current directory; System
    // and SetWP entries with relative paths resolve against the program's
    // folder, so that becomes current again, chosen or cancelled.
    enter_program_folder();
    state = main_window_state(main_window);
    if (state == nullptr) {
        return nullptr;
    }
    state->file_dialog_open = false;
    state->file_dialog.nFilterIndex = description.nFilterIndex;
    if (failure == FNERR_BUFFERTOOSMALL) {
        MessageBoxA(main_window, failure_text, nullptr, MB_OK);
    }
    return ok ? state : nullptr;
}

// True when no file dialog is open; otherwise brings the open one to the
// front: the tray icon's menu offers Open and Save while one is open, and a
// second dialog would run inside the first one's loop.
bool no_file_dialog_open(const MainWindowState* state)
{
    if (state->file_dialog_open) {
        SetForegroundWindow(GetLastActivePopup(state->main_window));
    }
    return !state->file_dialog_open;
}

void open_file(MainWindowState* state)
{
    if (!no_file_dialog_open(state)) {
        return;
    }
    end_cell_edit(state);
    const HWND main_window = state->main_window;
    CrontabPath chosen;
    MainWindowState* found = choose_file(main_window, GetOpenFileNameA, OPEN_TITLE,
                                         OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, OPEN_FAILED_TEXT, chosen);
    if (found == nullptr) {
        return;
    }
    // open_crontab puts the chosen name in the path field only when that file
    // opens, so a failed Open leaves the next Save proposing the file the rows
    // came from, not the one that failed.
    // 0: the file could not be opened (the rows stay) or held no entry (the table is empty).
    if (open_crontab(found, chosen.data()) == 0) {
        MessageBoxA(main_window, OPEN_FAILED_TEXT, nullptr, MB_OK);
    }
}

void save_file(MainWindowState* state_before)
{
    if (!no_file_dialog_open(state_before)) {
        return;
    }
    end_cell_edit(state_before);  // the text being typed belongs in the file
    const HWND main_window = state_before->main_window;
    CrontabPath chosen;
    MainWindowState* state =
        choose_file(main_window, GetSaveFileNameA, SAVE_TITLE, OFN_PATHMUSTEXIST, SAVE_FAILED_TEXT, chosen);
    if (state == nullptr) {
        return;
    }
    // A file start-up could not read holds entries the table never had: its
    // replacement is the user's choice, asked as the system asks before
    // replacing a file, with No as the default answer. No saves nothing.
    if (is_unread_file(state, chosen.data())) {
        std::array<char, CRONTAB_PATH_SIZE + sizeof REPLACE_UNREAD_TEXT> question;
        std::snprintf(question.data(), question.size(), "%s%s", chosen.data(), REPLACE_UNREAD_TEXT);
        const int answer =
            MessageBoxA(main_window, question.data(), SAVE_TITLE, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        state = main_window_state(main_window);  // File, Exit may have come inside the box's loop
        if (state == nullptr || answer != IDYES) {
            return;
        }
        state->unread_file[0] = '\0';
    }
    // The chosen name is the current file from now on, whether the save succeeds or not.
    state->path = chosen;
    if (save_crontab_file(state->table, state->path.data()) == 0) {
        MessageBoxA(main_window, SAVE_FAILED_TEXT, nullptr, MB_OK);
    }
}

void set_current_command(MainWindowState* state, UINT id)
{
    end_cell_edit(state);
    set_entry_command(state->table, table_current_row(state->table),
                      static_cast<int>(id));  // nothing on an empty table
}

// Runs the rows due at the current UTC time, whatever the timer ran;
// last_minute is neither read nor changed.
void run_test(MainWindowState* state)
{
    end_cell_edit(state);
    SYSTEMTIME now;
    GetSystemTime(&now);
    run_guarded_pass(state, now);
}

}  // namespace

LRESULT on_menu_command(MainWindowState* state, UINT id)
{
    switch (id) {
    case IDM_EXIT:
        DestroyWindow(state->main_window);
        break;
    case IDM_OPEN:
        open_file(state);
        break;
    case IDM_SAVE:
        save_file(state);
        break;
    case IDM_CUT:  // deletes the marked rows (ending an open edit first); no clipboard
        SendMessageA(state->table, TBLM_DELETEMARKED, 0, 0);
        break;
    case IDM_SELECTALL:
        SendMessageA(state->table, TBLM_SETALLMARKS, 0, 1);
        break;
    case IDM_INVERT:
        SendMessageA(state->table, TBLM_INVERTMARKS, 0, 0);
        break;
    case IDM_ADDITEM:
        end_cell_edit(state);
        add_default_entry(state->table);
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
