// The main window under Wine: its answers to the table's notifications,
// open_crontab, the context menu's hit test, the minute timer, the tray icon
// and the menu captions. Start-up as a whole is driven by tests/blackbox.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/start_up.h"
#include "schedule/win32/crontab_file.h"
#include "support/win32/table_fixture.h"
#include "table/table_messages.h"

namespace {

// Closes every message box and popup menu that opens during its life, from a
// thread timer (modal loops dispatch its ticks), noting box texts and captions.
struct ModalWatch {
    std::vector<std::string> boxes;  // "caption|text"
    int menus_seen = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, tick);
    static inline ModalWatch* active = nullptr;

    ModalWatch() { active = this; }
    ~ModalWatch()
    {
        KillTimer(nullptr, timer);
        active = nullptr;
    }

    static BOOL CALLBACK close_box(HWND window, LPARAM)
    {
        char name[32] = {}, caption[64] = {}, text[256] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window)) {
            GetWindowTextA(window, caption, sizeof caption);
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
            active->boxes.push_back(std::string(caption) + "|" + text);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), close_box, 0);
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) {
            ++active->menus_seen;
            EndMenu();
        }
    }
};

// A hidden main window made by the program's own start-up.
class MainWindowTest : public ::testing::Test {
protected:
    void start(const std::string& command_text)
    {
        window_ = create_main_window(GetModuleHandleA(nullptr), command_text.c_str(), SW_HIDE);
        ASSERT_NE(window_, nullptr);
        state_ = main_window_state(window_);
        table_ = state_->table;
    }
    void TearDown() override
    {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        // The destruction posts WM_QUIT, which would end this thread's next modal loop.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    int rows() { return static_cast<int>(SendMessageA(table_, TBLM_GETITEMCOUNT, 0, 0)); }
    int current_row() { return static_cast<int>(SendMessageA(table_, TBLM_GETCURSEL, 0, 0)); }
    void add_row(const char* command) { insert_entry(table_, rows(), {"*", "*", "*", "*", "*", command, ""}); }
    std::string cell(int row, int column)
    {
        char text[CELL_TEXT_SIZE] = {};
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(table_, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    LRESULT notify(UINT code, int column, char* text, WPARAM id = IDC_TABLE)
    {
        NMLVDISPINFOA info{};
        info.hdr = {table_, id, code};
        info.item.mask = LVIF_TEXT;
        info.item.iSubItem = column;
        info.item.pszText = text;
        info.item.cchTextMax = CELL_TEXT_SIZE;
        return SendMessageA(window_, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
    }
    // WM_CONTEXTMENU at the screen point in the middle of a cell.
    LRESULT context_menu_on(int row, int column, int below = 0)
    {
        HWND list = GetDlgItem(table_, IDC_TABLE_LIST);
        RECT rect = {LVIR_BOUNDS, column, 0, 0};
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        const int width = column == 0 ? column_defs[0].width : rect.right - rect.left;
        POINT point = {rect.left + width / 2, (rect.top + rect.bottom) / 2 + below};
        ClientToScreen(list, &point);
        return SendMessageA(window_, WM_CONTEXTMENU, 0, MAKELPARAM(point.x, point.y));
    }

    HWND window_ = nullptr;
    HWND table_ = nullptr;
    MainWindowState* state_ = nullptr;
};

TEST_F(MainWindowTest, notifications_allow_edits_and_marks_and_cut_single_word_cells)
{
    start("");
    char text[CELL_TEXT_SIZE] = "System notepad.exe";
    EXPECT_EQ(notify(TBLN_BEGINEDIT, COL_COMMAND, text), 0);
    EXPECT_EQ(notify(TBLN_MARKCHANGING, COL_COMMAND, text), 0);
    EXPECT_STREQ(text, "System notepad.exe");
    EXPECT_EQ(notify(TBLN_ENDEDIT, COL_COMMAND, text), 1);
    EXPECT_STREQ(text, "System");

    char option[CELL_TEXT_SIZE] = "a b\tc";
    EXPECT_EQ(notify(TBLN_ENDEDIT, COL_OPTION, option), 1);
    EXPECT_STREQ(option, "a b\tc");
    // From another child id: not answered, not cut.
    char other[CELL_TEXT_SIZE] = "1 2";
    EXPECT_EQ(notify(TBLN_ENDEDIT, COL_MINUTE, other, IDC_TABLE + 1), 0);
    EXPECT_STREQ(other, "1 2");
}

TEST_F(MainWindowTest, enter_runs_the_current_row_and_reports_an_unknown_command)
{
    start("");
    char unused[CELL_TEXT_SIZE] = "";
    ModalWatch watch;
    EXPECT_EQ(notify(NM_RETURN, 0, unused), 0);  // empty table
    add_row("NoAction");
    EXPECT_EQ(notify(NM_RETURN, 0, unused), 0);
    add_row("noaction");
    SendMessageA(table_, TBLM_SETCURSEL, 1, 0);
    EXPECT_EQ(notify(NM_RETURN, 0, unused), 0);
    EXPECT_EQ(watch.boxes, (std::vector<std::string>{"エラー|不明なコマンド", "エラー|不明なコマンド"}));
}

TEST_F(MainWindowTest, open_crontab_replaces_the_rows_and_refuses_a_path_too_long_for_its_field)
{
    TempFolder folder;
    folder.write("two.tab", "1 2 3 4 * NoAction\r\n5 6 7 8 * System a b\r\n");
    start("");
    add_row("NoAction");
    add_row("NoAction");
    add_row("NoAction");
    const std::string path = folder.path("two.tab");
    EXPECT_EQ(open_crontab(window_, path.c_str()), 2);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, COL_OPTION), "a b");
    EXPECT_EQ(std::string(state_->path.data()), path);

    // A missing file empties the table but keeps its path for the dialogs.
    const std::string missing = folder.path("missing.tab");
    EXPECT_EQ(open_crontab(window_, missing.c_str()), 0);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(std::string(state_->path.data()), missing);

    // Cut to 255 bytes this would name two.tab's folder and more; it opens nothing.
    const std::string too_long = path + std::string(300, 'x');
    add_row("NoAction");
    EXPECT_EQ(open_crontab(window_, too_long.c_str()), 0);
    EXPECT_EQ(rows(), 0);
    EXPECT_STREQ(state_->path.data(), "");
}

TEST_F(MainWindowTest, context_menu_makes_the_hit_row_current_and_opens_commands_on_the_command_cell)
{
    start("");
    add_row("NoAction");
    add_row("NoAction");
    add_row("NoAction");
    ModalWatch watch;
    EXPECT_EQ(context_menu_on(2, COL_MONTH), 0);
    EXPECT_EQ(current_row(), 2);
    EXPECT_EQ(watch.menus_seen, 0);
    EXPECT_EQ(context_menu_on(1, COL_COMMAND), 0);
    EXPECT_EQ(current_row(), 1);
    EXPECT_EQ(watch.menus_seen, 1);
    // Below the last row, and the keyboard's (-1, -1): no row, nothing changes.
    EXPECT_EQ(context_menu_on(2, COL_COMMAND, 100), 0);
    EXPECT_EQ(SendMessageA(window_, WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)), 0);
    EXPECT_EQ(current_row(), 1);
    EXPECT_EQ(watch.menus_seen, 1);
}

TEST_F(MainWindowTest, the_task_bar_created_message_adds_the_tray_icon_again)
{
    start("");
    // Remove the icon as a shell restart would, then announce the new task bar.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state_->tray_icon));
    EXPECT_EQ(SendMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0), 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state_->tray_icon));
    EXPECT_TRUE(add_tray_icon(state_));
}

// Counts the table's row-count questions (at least one per due pass) and,
// when armed, lets one timer tick arrive in the middle of a pass, as a command
// that pumps messages (a shell error box, say) would.
WNDPROC table_proc = nullptr;
HWND tick_target = nullptr;
int count_questions = 0;
bool tick_inside_pass = false;

LRESULT CALLBACK counting_table_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == TBLM_GETITEMCOUNT) {
        ++count_questions;
        if (tick_inside_pass) {
            tick_inside_pass = false;
            SendMessageA(tick_target, WM_TIMER, IDT_MINUTE, 0);
        }
    }
    return CallWindowProcA(table_proc, window, message, wparam, lparam);
}

TEST_F(MainWindowTest, a_tick_inside_a_due_pass_does_not_start_the_same_minute_again)
{
    start("");
    tick_target = window_;
    table_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(table_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_table_proc)));
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int other_minute = (now.wMinute + 30) % 60;
    auto questions_of_tick = [&](int last_minute, bool inside) {
        count_questions = 0;
        tick_inside_pass = inside;
        state_->last_minute = last_minute;
        SendMessageA(window_, WM_TIMER, IDT_MINUTE, 0);
        return count_questions;
    };
    const int per_pass = questions_of_tick(other_minute, false);
    ASSERT_GT(per_pass, 0);
    EXPECT_NE(state_->last_minute, other_minute);
    EXPECT_EQ(questions_of_tick(other_minute, true), per_pass);
    EXPECT_EQ(questions_of_tick(state_->last_minute, false), 0);  // same minute
    EXPECT_EQ(questions_of_tick(-1, false), 0);                   // first tick
    EXPECT_GE(state_->last_minute, 0);
    SetWindowLongPtrA(table_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(table_proc));
}

TEST(MainWindowResources, menu_captions_are_the_exact_code_page_932_texts)
{
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(bar, nullptr);
    struct Item {
        int popup;  // -1: the bar itself
        int position;
        UINT id;  // 0 for a popup
        const char* caption;
    };
    constexpr Item items[] = {
        {-1, 0, 0, "ﾌｧｲﾙ(&F)"},
        {-1, 1, 0, "編集(&E)"},
        {-1, 2, 0, "ｺﾏﾝﾄﾞ(&C)"},
        {-1, 3, IDM_TEST, "test"},
        {0, 0, IDM_OPEN, "開く(&O)...\tCtrl+O"},
        {0, 1, IDM_SAVE, "保存(&S)...\tCtrl+S"},
        {0, 3, IDM_EXIT, "終了(&X)\tCtrl+Q"},
        {1, 0, IDM_CUT, "切り取り(&C)\tCtrl+X"},
        {1, 2, IDM_SELECTALL, "すべて選択(&A)\tCtrl+A"},
        {1, 3, IDM_INVERT, "選択反転(&I)"},
        {1, 5, IDM_ADDITEM, "項目追加(&N)\tCtrl+N"},
        {2, 0, IDM_CMD_NOACTION, "何もしない"},
        {2, 1, IDM_CMD_SYSTEM, "外部コマンド実行"},
        {2, 2, IDM_CMD_SETWP, "壁紙変更"},
    };
    for (const Item& item : items) {
        HMENU menu = item.popup < 0 ? bar : GetSubMenu(bar, item.popup);
        char caption[128] = {};
        GetMenuStringA(menu, item.position, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, item.caption);
        EXPECT_EQ(GetMenuItemID(menu, item.position), item.id ? item.id : UINT(-1)) << item.caption;
    }
    DestroyMenu(bar);
}

}  // namespace
