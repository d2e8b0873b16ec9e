// The main window under Wine: its answers to the table's notifications,
// open_crontab, the context menu's hit test, the minute timer, the tray icon
// and the menu captions. Start-up as a whole is driven by tests/blackbox.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "support/win32/temp_folder.h"
#include "table/win32/cell_editor.h"

namespace {

using namespace table_test;

class MainWindowTest : public MainWindowFixture {
protected:
    LRESULT notify(UINT code, int column = 0, char* text = nullptr, UINT_PTR id = IDC_TABLE)
    {
        NMLVDISPINFOA info{};
        info.hdr = {table, id, code};
        info.item = text_item(0, column, text);
        info.item.cchTextMax = CELL_TEXT_SIZE;
        return send(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
    }
    // WM_CONTEXTMENU at the screen point in the middle of a cell, or from the
    // keyboard, at (-1, -1), for row -1.
    LRESULT context_menu_on(int row, int column, int below = 0)
    {
        CellRect cell{};
        table_cell_rect(table_state_of(table), row, column, &cell);
        POINT point = {cell.x + cell.width / 2, cell.y + cell.height / 2 + below};
        ClientToScreen(GetDlgItem(table, IDC_TABLE_LIST), &point);
        return send(window, WM_CONTEXTMENU, 0, row < 0 ? MAKELPARAM(-1, -1) : MAKELPARAM(point.x, point.y));
    }
};

// Edits and marks allowed: the black-box editing scenario opens an editor and marks a row.
TEST_F(MainWindowTest, an_ended_edit_keeps_the_first_word_of_a_time_or_command_and_other_children_are_not_answered)
{
    for (int column = COL_MONTH; column <= COL_OPTION; ++column) {
        char edited[CELL_TEXT_SIZE] = "1 2\t3";
        EXPECT_EQ(notify(TBLN_ENDEDIT, column, edited), 1) << column;
        EXPECT_STREQ(edited, column == COL_OPTION ? "1 2\t3" : "1") << column;
    }
    char text[CELL_TEXT_SIZE] = "System notepad.exe";
    EXPECT_EQ(notify(TBLN_ENDEDIT, COL_COMMAND, text, IDC_TABLE + 1), 0);
    EXPECT_STREQ(text, "System notepad.exe");
}

TEST_F(MainWindowTest, enter_runs_the_current_row_and_reports_an_unknown_command)
{
    ModalWatch watch;
    EXPECT_EQ(notify(NM_RETURN), 0);  // empty table
    add_rows(1);
    EXPECT_EQ(notify(NM_RETURN), 0);
    add_rows(1, "noaction");
    send(table, TBLM_SETCURSEL, 1);
    EXPECT_EQ(notify(NM_RETURN), 0);
    EXPECT_EQ(watch.boxes, (std::vector<std::string>{"エラー|不明なコマンド", "エラー|不明なコマンド"}));
}

// The file is opened before the rows go: what cannot be opened costs no row.
// A held file and one without an entry are opened through the File menu
// (menu_commands_test.cpp).
TEST_F(MainWindowTest, open_crontab_replaces_the_rows_only_with_a_file_it_could_open)
{
    TempFolder folder;
    const std::string two = folder.write("two.tab", "1 2 3 4 * NoAction\r\n5 6 7 8 * System a b\r\n");
    // Path, answer, the rows' options after (three "old" rows before), the path kept.
    const std::tuple<std::string, int, std::vector<std::string>, std::string> cases[] = {
        {two, 2, {"", "a b"}, two},
        {folder.path("missing.tab"), 0, {"old", "old", "old"}, folder.path("missing.tab")},
        {two + std::string(300, 'x'), 0, {"old", "old", "old"}, ""},  // cut, it would name another file
    };
    for (const auto& [path, answer, options, kept] : cases) {
        send(table, TBLM_DELETEALLITEMS);
        for (int i = 0; i < 3; ++i) insert_entry(table, i, {"*", "*", "*", "*", "*", "NoAction", "old"});
        EXPECT_EQ(open_crontab(window, path.c_str()), answer) << path;
        std::vector<std::string> read;
        for (int row = 0; row < rows(); ++row) read.push_back(cell_text(table, row, COL_OPTION));
        EXPECT_EQ(read, options) << path;
        EXPECT_EQ(state->path.data(), kept);
    }
}

TEST_F(MainWindowTest, context_menu_makes_the_hit_row_current_and_opens_commands_on_the_command_cell)
{
    add_rows(3);
    ModalWatch watch;
    // Row, column, pixels below the cell's middle; the current row and the menus seen after. The keyboard's
    // point, like one below the last row, hits no row: nothing changes.
    const int clicks[][5] = {
        {2, COL_MONTH, 0, 2, 0}, {1, COL_COMMAND, 0, 1, 1}, {2, COL_COMMAND, 100, 1, 1}, {-1, 0, 0, 1, 1}};
    for (const auto& [row, column, below, current, menus] : clicks) {
        EXPECT_EQ(context_menu_on(row, column, below), 0);
        EXPECT_EQ(send(table, TBLM_GETCURSEL), current) << row << "," << column << "," << below;
        EXPECT_EQ(watch.menus_seen, menus) << row << "," << column << "," << below;
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

// Counts the table's row-count questions (at least one per due pass) and,
// when armed, lets one timer tick arrive in the middle of a pass, as a command
// that pumps messages (a shell error box, say) would. The first tick and
// further ticks of a minute run no pass: main_window_rules_test.cpp and
// blackbox/start_folder_test.sh.
WNDPROC table_proc = nullptr;
int questions = 0;
bool tick_inside_pass = false;

LRESULT CALLBACK counting_table_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    questions += message == TBLM_GETITEMCOUNT;
    if (message == TBLM_GETITEMCOUNT && std::exchange(tick_inside_pass, false))
        send(GetParent(window), WM_TIMER, IDT_MINUTE);
    return CallWindowProcA(table_proc, window, message, wparam, lparam);
}

TEST_F(MainWindowTest, a_tick_inside_a_due_pass_does_not_start_the_same_minute_again)
{
    table_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_table_proc)));
    SYSTEMTIME now;
    GetLocalTime(&now);
    int per_pass = 0;
    for (bool inside : {false, true}) {
        state->last_minute = (now.wMinute + 30) % 60;
        questions = 0, tick_inside_pass = inside;
        send(window, WM_TIMER, IDT_MINUTE);
        per_pass = inside ? per_pass : questions;
    }
    EXPECT_GT(per_pass, 0);
    EXPECT_EQ(questions, per_pass);
    SetWindowLongPtrA(table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(table_proc));
}

// Subclasses each table as it is created and refuses its third column, as a
// list view out of memory would.
WNDPROC created_table_proc = nullptr;

LRESULT CALLBACK refuse_third_column(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == TBLM_INSERTCOLUMN && wparam == 2) return -1;
    return CallWindowProcA(created_table_proc, window, message, wparam, lparam);
}

LRESULT CALLBACK subclass_new_tables(int code, WPARAM wparam, LPARAM lparam)
{
    char name[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wparam), name, sizeof name) &&
        std::string(name) == WC_TAVETABLE)
        created_table_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            reinterpret_cast<HWND>(wparam), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuse_third_column)));
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(MainWindowCreation, a_table_refusing_a_column_refuses_the_window_with_the_create_fail_box)
{
    ModalWatch watch;
    HHOOK hook = SetWindowsHookExA(WH_CBT, subclass_new_tables, nullptr, GetCurrentThreadId());
    EXPECT_EQ(create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE), nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(watch.boxes, std::vector<std::string>{"CreateFail|TaveCron"});
    for (MSG quit; PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
}

// The menu as text: each item "caption=id", a popup's items in brackets after
// its caption, a separator empty.
std::string menu_text(HMENU menu)
{
    std::string text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[128] = {};
        GetMenuStringA(menu, i, caption, sizeof caption, MF_BYPOSITION);
        HMENU popup = GetSubMenu(menu, i);
        text.append(i ? "|" : "").append(caption);
        if (popup) text.append("[").append(menu_text(popup)).append("]");
        if (!popup && caption[0]) text.append("=").append(std::to_string(GetMenuItemID(menu, i)));
    }
    return text;
}

// The accelerators are tried on every message of the thread (win_main.cpp), so
// they act also while the cell editor has the focus; the black-box open and
// save scenario presses them in the running program.
TEST(MainWindowResources, the_menu_holds_the_exact_code_page_932_captions_and_the_ids_of_the_six_ctrl_keys)
{
    ACCEL keys[8] = {};
    const int key_count =
        CopyAcceleratorTableA(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL)), keys, 8);
    std::string ctrl_keys;  // "key=command " for each key pressed with Ctrl
    for (const ACCEL& key : std::span(keys, key_count)) {
        if (key.fVirt != (FVIRTKEY | FCONTROL | FNOINVERT)) continue;
        ctrl_keys += std::string(1, static_cast<char>(key.key)) + "=" + std::to_string(key.cmd) + " ";
    }
    EXPECT_EQ(ctrl_keys, "A=40006 N=40008 O=40003 Q=40002 S=40004 X=40005 ");
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menu_text(bar),
              "ﾌｧｲﾙ(&F)[開く(&O)...\tCtrl+O=40003|保存(&S)...\tCtrl+S=40004||終了(&X)\tCtrl+Q=40002]|"
              "編集(&E)[切り取り(&C)\tCtrl+X=40005||すべて選択(&A)\tCtrl+A=40006|選択反転(&I)=40007||"
              "項目追加(&N)\tCtrl+N=40008]|ｺﾏﾝﾄﾞ(&C)[何もしない=40010|外部コマンド実行=40011|壁紙変更=40012]|"
              "test=40013");
    DestroyMenu(bar);
}

}  // namespace
