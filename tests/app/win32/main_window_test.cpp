// The main window under Wine: its answers to the table's notifications, open_crontab, the context menu's hit
// test, the minute timer, the tray icon and the resources.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "tests/support/win32/import_slot.h"
#include "tests/support/win32/temp_folder.h"

namespace {

using namespace table_test;

class MainWindowTest : public MainWindowFixture {
protected:
    LRESULT notify(UINT code, UINT_PTR id = IDC_TABLE)
    {
        NMHDR header{table, id, code};
        return send(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    }
};

TEST_F(MainWindowTest, enter_runs_the_current_row_and_reports_an_unknown_command_and_other_children_are_not_answered)
{
    ModalWatch watch;
    EXPECT_EQ(notify(NM_RETURN), 0);  // empty table
    add_rows(1);
    EXPECT_EQ(notify(NM_RETURN), 0);
    add_rows(1, "noaction");
    send(table, TBLM_SETCURSEL, 1);
    EXPECT_EQ(notify(NM_RETURN), 0);
    EXPECT_EQ(notify(NM_RETURN, IDC_TABLE + 1), 0);  // another child's Enter runs nothing: no third box
    EXPECT_EQ(watch.boxes, (std::vector<std::string>{"エラー|不明なコマンド", "エラー|不明なコマンド"}));
}

// Timer ticks reach the due pass inside a file dialog's modal loop, whose folder is then current: Enter, test and
// the pass run their entries in the program's folder all the same, and leave the dialog's folder current, be it
// the program folder's parent, a folder whose name begins the program folder's or one as long as it.
TEST_F(MainWindowTest, entries_run_in_the_program_folder_whatever_folder_is_current_and_leave_it_current)
{
    const std::string program = current_folder(), marker = "folder_" + std::to_string(GetCurrentProcessId());
    insert_entry(table, 0, {"*", "*", "*", "*", "*", "System", ("cmd.exe /c echo ran>>" + marker).c_str()});
    TempFolder elsewhere;
    const std::string parent = program.substr(0, program.rfind('\\') + 1),
                      prefix = program.substr(0, program.size() - 1), sibling = prefix + "_";
    CreateDirectoryA(prefix.c_str(), nullptr);
    CreateDirectoryA(sibling.c_str(), nullptr);
    const std::function<void()> enter = [&] { notify(NM_RETURN); }, test = [&] { send(window, WM_COMMAND, IDM_TEST); },
                                tick = [&] { send(window, WM_TIMER); };
    const std::pair<std::function<void()>, std::string> runs[] = {
        {enter, elsewhere.root}, {test, parent}, {tick, prefix + "\\"}, {tick, sibling + "\\"}};
    long lines = 0;
    for (const auto& [run, folder] : runs) {  // each run adds a line
        SetCurrentDirectoryA(folder.c_str());
        state->last_minute = 60;  // no clock's minute: the tick starts a pass
        run(), ++lines;
        EXPECT_EQ(current_folder() + "\\", folder) << lines;
        std::string text;
        pump_until([&] {
            std::ifstream file(program + "\\" + marker);
            text.assign(std::istreambuf_iterator<char>(file), {});
            return std::count(text.begin(), text.end(), '\n') >= lines;
        });
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), lines);
    }
    SetCurrentDirectoryA(program.c_str());
    DeleteFileA(marker.c_str());
    RemoveDirectoryA(prefix.c_str());
    RemoveDirectoryA(sibling.c_str());
}

// The product's ReadFile calls go through this import slot of the test program: swapped, the n-th read fails after
// the file opened, as on a share that drops or a bad sector.
extern decltype(&ReadFile) import_read_file __asm__(IMPORT_SLOT(ReadFile, 20));
const auto real_read_file = import_read_file;
int reads_seen, failing_read;  // from 1; 0 fails none

BOOL WINAPI failing_read_file(HANDLE file, LPVOID data, DWORD size, LPDWORD got, LPOVERLAPPED overlapped)
{
    if (++reads_seen != failing_read) return real_read_file(file, data, size, got, overlapped);
    *got = 0;
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

// Two entries, the first past the 256 bytes of the loader's first read.
const std::string TWO_ENTRIES = "0 0 0 0 * NoAction " + std::string(300, 'x') + "\r\n0 0 0 0 * NoAction b\r\n";

// open_crontab answers 0 and changes nothing (rows, marks, current row, path) for a path longer than its field, nor
// for a file whose first or a later read fails after it opened; read whole, the file replaces the rows.
TEST_F(MainWindowTest, open_crontab_changes_nothing_for_a_path_over_its_field_or_a_file_not_read_whole)
{
    TempFolder folder;
    const std::string fits = folder.write(std::string(CRONTAB_PATH_SIZE - 1 - folder.root.size(), 'f'), TWO_ENTRIES);
    // A real file whose path is one byte too long: its terminator would land on the tray icon's size after the field.
    const std::string one_over = folder.write(std::string(CRONTAB_PATH_SIZE - folder.root.size(), 'g'), TWO_ENTRIES);
    const std::string before = state->path.data();
    const UINT icon_size = state->tray_icon.cbSize;
    add_rows(3);
    send(table, TBLM_SETMARK, 1, TRUE);
    send(table, TBLM_SETCURSEL, 2);
    // The path and the read that fails (0: none).
    const std::pair<std::string, int> cases[] = {{one_over, 0}, {fits, 1}, {fits, 2}};
    for (const auto& [path, read] : cases) {
        SCOPED_TRACE(std::to_string(path.size()) + " bytes, read " + std::to_string(read) + " fails");
        const SlotSwap reads(import_read_file, failing_read_file);
        reads_seen = 0, failing_read = read;
        EXPECT_EQ(open_crontab(window, path.c_str()), 0);
        EXPECT_EQ(table_row_count(table), 3);
        EXPECT_EQ(send(table, TBLM_GETMARK, 1), 1);
        EXPECT_EQ(send(table, TBLM_GETCURSEL), 2);
        EXPECT_EQ(state->path.data(), before);
        EXPECT_EQ(state->tray_icon.cbSize, icon_size);
    }
    EXPECT_EQ(open_crontab(window, fits.c_str()), 2);
    EXPECT_EQ(state->path.data(), fits);
}

TEST_F(MainWindowTest, context_menu_makes_the_hit_row_current_and_opens_commands_on_the_command_cell)
{
    add_rows(3);
    ModalWatch watch;
    auto screen_point = [&](int row, int column, int below) {
        CellRect cell{};
        window_cell_rect(table_state_of(table), row, column, &cell);
        POINT at = {cell.x + cell.width / 2, cell.y + cell.height / 2 + below};
        ClientToScreen(GetDlgItem(table, IDC_TABLE_LIST), &at);
        return at;
    };
    // The window moved so that the screen point (-1, -1) is on row 2's option cell: the cells lie at negative
    // coordinates, as on a monitor left of and above the primary one, and the keyboard's (-1, -1) is not a click.
    RECT frame{};
    GetWindowRect(window, &frame);
    const POINT option = screen_point(2, COL_OPTION, 0);
    SetWindowPos(window, nullptr, frame.left - 1 - option.x, frame.top - 1 - option.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // At the middle of a cell and pixels below it; the current row and the menus seen after. The keyboard's
    // (-1, -1) for row -1, like a point below the last row, changes nothing.
    const int clicks[][5] = {{2, COL_MONTH, 0, 2, 0},
                             {0, COL_OPTION, 0, 0, 0},
                             {1, COL_COMMAND, 0, 1, 1},
                             {2, COL_COMMAND, 100, 1, 1},
                             {-1, 0, 0, 1, 1}};
    for (const auto& [row, column, below, current, menus] : clicks) {
        const POINT at = screen_point(row, column, below);
        EXPECT_EQ(send(window, WM_CONTEXTMENU, 0, row < 0 ? MAKELPARAM(-1, -1) : MAKELPARAM(at.x, at.y)), 0);
        EXPECT_EQ(send(table, TBLM_GETCURSEL), current) << "current row after a click on row " << row;
        EXPECT_EQ(watch.menus_seen, menus) << "menus after a click on row " << row;
    }
}

TEST_F(MainWindowTest, the_task_bar_created_message_adds_the_tray_icon_again)
{
    // Remove the icon as a shell restart would, then announce the new task bar.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state->tray_icon));
    EXPECT_EQ(send(window, RegisterWindowMessageA("TaskbarCreated")), 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state->tray_icon));
    EXPECT_TRUE(add_tray_icon(state));
}

TEST_F(MainWindowTest, the_table_fills_the_client_area_after_each_resize)
{
    for (const auto& [width, height] : {std::pair(420, 310), std::pair(250, 530)}) {
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{}, cells{};
        GetClientRect(window, &client);
        GetWindowRect(table, &cells);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&cells), 2);
        EXPECT_TRUE(EqualRect(&client, &cells)) << width << "x" << height << ": " << cells.right << "x" << cells.bottom;
    }
}

// Minimized then closed, or maximized behind another window: a left press on the tray icon shows the window as it
// was before minimizing, in front of the other window.
TEST_F(MainWindowTest, a_left_press_on_the_tray_icon_shows_the_window_restored_and_in_front)
{
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, nullptr, nullptr, nullptr, 0);
    const std::tuple<int, bool, BOOL> starts[] = {{SW_SHOWMINIMIZED, true, FALSE}, {SW_SHOWMAXIMIZED, false, TRUE}};
    for (const auto& [show, close, zoomed] : starts) {
        ShowWindow(window, show);
        if (close) send(window, WM_CLOSE);
        SetForegroundWindow(other);
        EXPECT_EQ(send(window, WMU_TRAYICON, ID_TRAYICON, WM_LBUTTONDOWN), 0);
        EXPECT_FALSE(IsIconic(window)) << show;
        EXPECT_TRUE(IsWindowVisible(window)) << show;
        EXPECT_EQ(IsZoomed(window), zoomed) << show;
        EXPECT_EQ(GetForegroundWindow(), window) << show;
    }
    DestroyWindow(other);
}

// The clock the main window reads, through the test program's GetLocalTime import slot.
extern decltype(&GetLocalTime) import_get_local_time __asm__(IMPORT_SLOT(GetLocalTime, 4));
WORD clock_minute = 0;

void WINAPI read_test_clock(SYSTEMTIME* now)
{
    *now = SYSTEMTIME{2024, 1, 3, 31, 12, clock_minute, 0, 0};
}

// A command that keeps a modal loop open while the clock moves on (an error box of the shell, say): the swapped
// ShellExecuteA notes the program it is asked to start and, the first time, pumps messages, with timer ticks posted
// every twenty seconds, until the clock has moved `loop_minutes` on.
extern decltype(&ShellExecuteA) import_shell_execute __asm__(IMPORT_SLOT(ShellExecuteA, 24));
std::string programs_run;
WORD loop_minutes = 0;

HINSTANCE WINAPI pumping_shell_execute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    programs_run += file;
    HWND main_window = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
    for (WORD minutes = std::exchange(loop_minutes, 0); minutes > 0; --minutes) {
        ++clock_minute;
        for (int tick = 0; tick < 3; ++tick) {
            PostMessageA(main_window, WM_TIMER, IDT_MINUTE, 0);
            pump_until([] { return true; });
        }
    }
    return reinterpret_cast<HINSTANCE>(33);
}

// Row "a" runs every minute and its first run holds the pass for one or two minutes; "b", "c" and "d" run in minutes
// 0, 1 and 2 only. The first tick (minute 59) starts no pass, the next minute's (0, the hour turned) does; ticks
// inside the pass start none, the pass goes on in table order, and the first tick after it runs the minute it finds,
// once (a second tick in that minute runs nothing); a minute that passed wholly inside the pass is not made up.
TEST_F(MainWindowTest, ticks_start_one_pass_per_new_minute_after_the_first_none_inside_a_pass_and_none_made_up)
{
    for (const char* minute : {"*", "0", "1", "2"}) {
        const char program[] = {static_cast<char>('a' + table_row_count(table)), '\0'};
        insert_entry(table, table_row_count(table), {"*", "*", "*", "*", minute, "System", program});
    }
    const SlotSwap clock(import_get_local_time, read_test_clock);
    const SlotSwap shell(import_shell_execute, pumping_shell_execute);
    // Minutes the first pass's loop lasts; the programs run by then and after two more ticks.
    const std::tuple<WORD, std::string, std::string> cases[] = {{1, "ab", "abac"}, {2, "ab", "abad"}};
    for (const auto& [minutes, in_pass, after] : cases) {
        state->last_minute = -1, programs_run.clear();
        clock_minute = 59, send(window, WM_TIMER, IDT_MINUTE);
        clock_minute = 0, loop_minutes = minutes, send(window, WM_TIMER, IDT_MINUTE);
        EXPECT_EQ(programs_run, in_pass) << minutes;
        for (int tick = 0; tick < 2; ++tick) send(window, WM_TIMER, IDT_MINUTE);
        EXPECT_EQ(programs_run, after) << minutes;
    }
}

// Subclasses each window as it is created: a table refuses its third column when refuse_column is set, as a list
// view out of memory would; the main window notes what its record slot holds when its destruction reaches it:
// at WM_DESTROY, or at WM_NCDESTROY where a refused window gets no WM_DESTROY (Wine).
WNDPROC created_table_proc = nullptr, created_main_proc = nullptr;
bool refuse_column = false;
LONG_PTR slot_at_destroy = -1;

LRESULT CALLBACK refuse_third_column(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == TBLM_INSERTCOLUMN && wparam == 2) return -1;
    return CallWindowProcA(created_table_proc, window, message, wparam, lparam);
}

LRESULT CALLBACK note_slot_at_destroy(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if ((message == WM_DESTROY || message == WM_NCDESTROY) && slot_at_destroy == -1) {
        slot_at_destroy = GetWindowLongPtrA(window, 0);
    }
    return CallWindowProcA(created_main_proc, window, message, wparam, lparam);
}

LRESULT CALLBACK subclass_new_windows(int code, WPARAM wparam, LPARAM lparam)
{
    auto* created = reinterpret_cast<HWND>(wparam);
    char name[32] = {};
    auto subclass = [created](WNDPROC proc) {
        return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    };
    if (code == HCBT_CREATEWND && GetClassNameA(created, name, sizeof name) > 0) {
        if (std::string(name) == WC_TAVETABLE && refuse_column) created_table_proc = subclass(refuse_third_column);
        if (std::string(name) == MAIN_WINDOW_CLASS) created_main_proc = subclass(note_slot_at_destroy);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Refused while another instance holds the mutex (silently) or when the table refuses a column (with the create
// fail box), the window's record slot is empty by the time its destruction reaches it: the record goes once, with
// the refusal, and WM_DESTROY finds none to free again.
TEST(MainWindowCreation, a_refused_creation_leaves_no_record_to_its_destruction_and_a_failed_table_shows_a_box)
{
    const std::pair<bool, std::vector<std::string>> cases[] = {{false, {}}, {true, {"CreateFail|TaveCron"}}};
    for (const auto& [table_fails, boxes] : cases) {
        ModalWatch watch;
        const OwnedKernelObject other(table_fails ? nullptr : CreateMutexA(nullptr, FALSE, SINGLE_INSTANCE_MUTEX));
        refuse_column = table_fails, slot_at_destroy = -1;
        HHOOK hook = SetWindowsHookExA(WH_CBT, subclass_new_windows, nullptr, GetCurrentThreadId());
        EXPECT_EQ(create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE), nullptr);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(slot_at_destroy, 0) << table_fails;
        EXPECT_EQ(watch.boxes, boxes);
        for (MSG quit; PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
    }
}

// The accelerators are tried on every message of the thread, so they act also while the cell editor has the focus.
TEST(MainWindowResources, the_six_ctrl_keys_give_their_commands_and_a_caption_keeps_its_code_page_932_bytes)
{
    ACCEL keys[8] = {};
    const int key_count =
        CopyAcceleratorTableA(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL)), keys, 8);
    std::vector<std::pair<char, int>> ctrl_keys;
    for (const ACCEL& key : std::span(keys, key_count)) {
        if (key.fVirt == (FVIRTKEY | FCONTROL | FNOINVERT)) ctrl_keys.emplace_back(static_cast<char>(key.key), key.cmd);
    }
    const std::vector<std::pair<char, int>> expected = {{'A', IDM_SELECTALL}, {'N', IDM_ADDITEM}, {'O', IDM_OPEN},
                                                        {'Q', IDM_EXIT},      {'S', IDM_SAVE},    {'X', IDM_CUT}};
    EXPECT_EQ(ctrl_keys, expected);
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    char caption[64] = {};
    GetMenuStringA(bar, IDM_OPEN, caption, sizeof caption, MF_BYCOMMAND);
    EXPECT_STREQ(caption, "\x8a\x4a\x82\xad(&O)...\tCtrl+O");
    DestroyMenu(bar);
}

}  // namespace
