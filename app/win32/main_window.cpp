#include "app/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <memory>
#include <utility>

#include "app/edit_text_cut.h"
#include "app/minute_rule.h"
#include "app/resource_ids.h"
#include "app/win32/crontab_document.h"
#include "app/win32/menu_commands.h"
#include "schedule/cron_entry.h"
#include "schedule/win32/due_pass.h"
#include "table/table_messages.h"
#include "table/win32/table_calls.h"
#include "table/win32/table_window.h"

// Counted up by a completed creation, down by every destruction, also the one
// that follows a refused creation, which has no record to tell it apart: the
// count then goes below 0 and WM_QUIT is posted all the same. Harmless in the
// program (a refused start-up returns before its message loop); a thread that
// goes on, as a test's does, removes that WM_QUIT, or its next modal loop (a
// message box, a file dialog) would end at once.
int main_window_count = 0;

const std::array<ColumnDef, 7> column_defs = {{
    {"月", 32},
    {"日", 32},
    {"時", 32},
    {"分", 32},
    {"コマンド", 128},
    {"オプション", 128},
    {nullptr, 0},
}};

namespace {

constexpr char UNKNOWN_COMMAND_TEXT[] = "不明なコマンド";
constexpr char CREATE_FAIL_TEXT[] = "TaveCron";
constexpr char CREATE_FAIL_CAPTION[] = "CreateFail";
constexpr int FILE_POPUP_INDEX = 0;
constexpr int COMMAND_POPUP_INDEX = 2;

// Sent by the shell to every top-level window when the task bar has been
// created anew; the tray icons of the old one are gone by then. 0 until registered.
UINT taskbar_created_message = 0;

// A registered message has no fixed number, so it cannot be a case label.
bool is_taskbar_created(UINT message)
{
    return taskbar_created_message != 0 && message == taskbar_created_message;
}

// False when the table refused a column: without all six it cannot hold the
// schedule, and a save would write the missing cells as empty.
bool insert_columns(HWND table)
{
    for (int i = 0; column_defs[i].caption != nullptr; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = column_defs[i].width;
        column.pszText = const_cast<char*>(column_defs[i].caption);
        column.iSubItem = i;
        if (SendMessageA(table, TBLM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)) < 0) {
            return false;
        }
    }
    return true;
}

void init_file_dialog(MainWindowState* state, HINSTANCE instance)
{
    OPENFILENAMEA& dialog = state->file_dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = FILE_DIALOG_SIZE;
    dialog.hwndOwner = state->main_window;
    dialog.hInstance = instance;
    dialog.lpstrCustomFilter = nullptr;
    dialog.nMaxCustFilter = 0;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = state->path.data();
    dialog.nMaxFile = CRONTAB_PATH_SIZE;
    state->path[0] = '\0';
}

void init_tray_icon(MainWindowState* state, HINSTANCE instance)
{
    NOTIFYICONDATAA& icon = state->tray_icon;
    std::memset(&icon, 0, sizeof icon);
    icon.cbSize = TRAY_ICON_SIZE;
    icon.hWnd = state->main_window;
    icon.uID = ID_TRAYICON;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WMU_TRAYICON;
    icon.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    static_assert(sizeof TRAY_TIP <= sizeof icon.szTip);
    std::memcpy(icon.szTip, TRAY_TIP, sizeof TRAY_TIP);
}

// Shows a popup of the window's menu bar and leaves the choice to WM_COMMAND,
// posted when the popup has closed. File, Exit may destroy the window inside
// the popup's loop: callers touch nothing of the record after this.
void track_popup(HWND window, int index, UINT flags, POINT at)
{
    HMENU popup = GetSubMenu(GetMenu(window), index);
    if (popup == nullptr) {
        return;
    }
    TrackPopupMenu(popup, flags, at.x, at.y, 0, window, nullptr);
}

// Creation proper, with the record already findable through the window
// (the table's creation and the failure box send messages). Nonzero refuses.
LRESULT create_with(HWND window, MainWindowState* state, HINSTANCE instance)
{
    // A fresh mutex leaves the error at 0; an existing one (another instance)
    // answers ERROR_ALREADY_EXISTS. Any error refuses the window, silently,
    // and a handle to another instance's mutex is closed again here.
    SetLastError(0);
    OwnedKernelObject mutex(CreateMutexA(nullptr, TRUE, SINGLE_INSTANCE_MUTEX));
    if (!mutex || GetLastError() != 0) {
        return -1;
    }
    state->mutex = std::move(mutex);

    register_table_class();
    state->main_window = window;
    state->table =
        CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TABLE)), instance, nullptr);
    if (state->table == nullptr || !insert_columns(state->table)) {
        MessageBoxA(window, CREATE_FAIL_TEXT, CREATE_FAIL_CAPTION, MB_OK);
        return -1;
    }

    init_file_dialog(state, instance);
    state->last_minute = -1;
    SetTimer(window, IDT_MINUTE, MINUTE_TIMER_PERIOD_MS, nullptr);

    if (taskbar_created_message == 0) {
        taskbar_created_message = RegisterWindowMessageA("TaskbarCreated");
    }
    init_tray_icon(state, instance);
    add_tray_icon(state);
    return 0;
}

// The record is owned here until creation succeeds, so a refused creation
// frees it (and closes the mutex it may hold) on return; the slot is emptied
// first, and the WM_DESTROY that follows the refusal finds no record.
LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    std::unique_ptr<MainWindowState> owner = make_window_record<MainWindowState>();
    if (!owner) {
        return -1;
    }
    store_window_record(window, owner);
    const LRESULT result = create_with(window, owner.get(), create->hInstance);
    if (result != 0) {
        clear_window_record(window);
        return result;
    }
    hand_off_window_record(std::move(owner));
    ++main_window_count;
    return 0;
}

// Runs with or without a record (none after a refused creation). The record
// goes here, the window's last message that needs it.
LRESULT on_destroy(HWND window)
{
    const std::unique_ptr<MainWindowState> state = take_window_record<MainWindowState>(window);
    if (--main_window_count > 0) {
        return 0;
    }
    // The icon goes first: a new instance may start as soon as the mutex is
    // closed, and the old icon must be gone by then.
    if (state && state->mutex) {
        if (state->tray_icon.cbSize != 0) {
            Shell_NotifyIconA(NIM_DELETE, &state->tray_icon);
        }
        state->mutex.close();
    }
    PostQuitMessage(0);
    return 0;
}

LRESULT on_move(MainWindowState* state)
{
    InvalidateRect(state->table, nullptr, TRUE);
    return 0;
}

// For every kind of sizing, minimizing included (the table then is 0 x 0).
LRESULT on_size(MainWindowState* state, int width, int height)
{
    MoveWindow(state->table, 0, 0, width, height, TRUE);
    return 0;
}

LRESULT on_set_focus(MainWindowState* state)
{
    SetFocus(state->table);
    return 0;
}

// Closing only hides the window; File, Exit destroys it.
LRESULT on_close(HWND window)
{
    ShowWindow(window, SW_HIDE);
    return 0;
}

LRESULT on_end_edit(NMHDR* header)
{
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    LVITEMA& item = info->item;
    if (item.pszText != nullptr) {
        const std::size_t size = item.cchTextMax > 0 ? static_cast<std::size_t>(item.cchTextMax) : CELL_TEXT_SIZE;
        cut_edited_text(item.iSubItem, item.pszText, size);
    }
    return 1;
}

// The command may pump messages (the shell's error box), and File, Exit from
// the tray then frees the record: nothing of it is read after the run.
LRESULT on_return_key(const MainWindowState* state)
{
    const HWND main_window = state->main_window;
    const InProgramFolder in_program_folder;
    if (run_entry(state->table, table_current_row(state->table)) == 0) {
        MessageBoxA(main_window, UNKNOWN_COMMAND_TEXT, nullptr, MB_OK);
    }
    return 0;
}

LRESULT on_notify(MainWindowState* state, WPARAM id, NMHDR* header)
{
    if (id != static_cast<WPARAM>(IDC_TABLE) || header == nullptr) {
        return 0;
    }
    switch (header->code) {
    case TBLN_ENDEDIT:
        return on_end_edit(header);
    case NM_RETURN:
        return on_return_key(state);
    case TBLN_BEGINEDIT:     // 0 lets the cell editor open
    case TBLN_MARKCHANGING:  // 0 lets the mark change
    default:
        return 0;
    }
}

LRESULT on_context_menu(MainWindowState* state, LPARAM lparam)
{
    // Both halves signed: a monitor left of or above the primary one has
    // negative coordinates. (-1, -1) is the keyboard's context-menu key, not a
    // point: it changes nothing, wherever the window lies.
    const POINT screen = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    if (screen.x == -1 && screen.y == -1) {
        return 0;
    }
    POINT client = screen;
    ScreenToClient(state->main_window, &client);
    int column = -1;
    const int row = static_cast<int>(
        SendMessageA(state->table, TBLM_HITTEST, reinterpret_cast<WPARAM>(&column), reinterpret_cast<LPARAM>(&client)));
    if (row < 0) {
        return 0;
    }
    SendMessageA(state->table, TBLM_SETCURSEL, static_cast<WPARAM>(row), 0);
    if (column == COL_COMMAND) {
        track_popup(state->main_window, COMMAND_POPUP_INDEX, TPM_CENTERALIGN | TPM_RIGHTBUTTON, screen);
    }
    return 0;
}

// A tick inside a pass does nothing, and notes nothing: the first tick after
// the pass handles the minute it finds, so a minute the pass ran into runs
// once, late, and one that passed wholly inside the pass is not made up (as
// any minute without a tick). Rows of one pass thus never interleave with
// another pass's, and no row runs twice in one minute.
LRESULT on_timer(MainWindowState* state)
{
    if (state->pass_running) {
        return 0;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    const MinuteStep step = next_minute_step(state->last_minute, now.wMinute);
    state->last_minute = step.last_minute;
    if (step.run_pass) {
        run_guarded_pass(state, now);
    }
    return 0;
}

LRESULT on_tray_icon(MainWindowState* state, LPARAM mouse_message)
{
    switch (mouse_message) {
    case WM_LBUTTONDOWN:
        // SW_SHOW keeps a minimized window minimized (started with "Run:
        // Minimized", say), which would show nothing; SW_RESTORE brings it
        // back as it was before, maximized included. A window that is not
        // minimized keeps its size. Either way it comes to the front.
        ShowWindow(state->main_window, IsIconic(state->main_window) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(state->main_window);
        break;
    case WM_RBUTTONDOWN: {
        POINT cursor;
        GetCursorPos(&cursor);
        // The owner must be the foreground window, or the popup does not
        // close when the user clicks elsewhere.
        SetForegroundWindow(state->main_window);
        track_popup(state->main_window, FILE_POPUP_INDEX, TPM_RIGHTBUTTON, cursor);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT on_paint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

// The shell restarted: the icon went with the old task bar. Added again only
// when it was described at creation.
LRESULT on_taskbar_created(MainWindowState* state)
{
    if (state->tray_icon.cbSize != 0) {
        add_tray_icon(state);
    }
    return 0;
}

}  // namespace

void run_guarded_pass(MainWindowState* state, const SYSTEMTIME& now)
{
    const HWND main_window = state->main_window;
    state->pass_running = true;
    {
        const InProgramFolder in_program_folder;  // also while a file dialog has another folder current
        run_due_entries(state->table, now);
    }
    if (MainWindowState* found = main_window_state(main_window)) {
        found->pass_running = false;
    }
}

BOOL add_tray_icon(MainWindowState* state)
{
    return Shell_NotifyIconA(NIM_ADD, &state->tray_icon);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    // What must run without a record: its creation, and the destruction that
    // also follows a refused creation.
    switch (message) {
    case WM_CREATE:
        return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    case WM_DESTROY:
        return on_destroy(window);
    default:
        break;
    }
    // The rest works on the record. Without one (before WM_CREATE, or after
    // WM_DESTROY) a message gets the default handling.
    MainWindowState* state = main_window_state(window);
    if (!state) return DefWindowProcA(window, message, wparam, lparam);

    switch (message) {
    case WM_PAINT:
        return on_paint(window);
    case WM_CLOSE:
        return on_close(window);
    case WM_ERASEBKGND:
        return 0;  // the table covers the client area
    case WM_MOVE:
        return on_move(state);
    case WM_SIZE:
        return on_size(state, LOWORD(lparam), HIWORD(lparam));
    case WM_SETFOCUS:
        return on_set_focus(state);
    case WM_NOTIFY:
        return on_notify(state, wparam, reinterpret_cast<NMHDR*>(lparam));
    case WM_CONTEXTMENU:
        return on_context_menu(state, lparam);
    case WM_COMMAND:
        return on_menu_command(state, LOWORD(wparam));
    case WM_TIMER:
        return on_timer(state);
    case WMU_TRAYICON:
        return on_tray_icon(state, lparam);
    default:
        if (is_taskbar_created(message)) return on_taskbar_created(state);
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
