// The main window under Wine: its answers to the table's notifications, the
// start-up load through open_crontab, the context menu's hit test, the
// single-instance guard, and the resources it is built from.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "app/win32/main_window.h"
#include "app/win32/start_up.h"
#include "schedule/cron_entry.h"
#include "schedule/win32/crontab_file.h"
#include "support/win32/table_fixture.h"
#include "table/table_messages.h"

namespace {

// Closes every message box or popup menu that opens inside a call, from a
// thread timer (modal loops dispatch its ticks), and remembers what it saw.
struct ModalWatch {
    std::vector<std::string> box_texts;
    std::vector<std::string> box_captions;
    int menus_seen = 0;

    static ModalWatch* active;

    static BOOL CALLBACK close_box(HWND window, LPARAM)
    {
        char class_name[32] = {};
        GetClassNameA(window, class_name, sizeof class_name);
        if (std::string(class_name) != "#32770" || !IsWindowVisible(window)) {
            return TRUE;
        }
        char text[256] = {};
        char caption[256] = {};
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        GetWindowTextA(window, caption, sizeof caption);
        active->box_texts.emplace_back(text);
        active->box_captions.emplace_back(caption);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
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

    ModalWatch()
    {
        active = this;
        timer_ = SetTimer(nullptr, 0, 50, tick);
    }
    ~ModalWatch()
    {
        KillTimer(nullptr, timer_);
        active = nullptr;
    }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

private:
    UINT_PTR timer_ = 0;
};
ModalWatch* ModalWatch::active = nullptr;

std::string cell(HWND table, int row, int column)
{
    char text[CELL_TEXT_SIZE] = {};
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

int row_count(HWND table)
{
    return static_cast<int>(SendMessageA(table, TBLM_GETITEMCOUNT, 0, 0));
}

// Drops the WM_QUIT that a main window's destruction posts, so that later
// modal loops of this test thread do not end at once.
void drop_quit_message()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// A main window made by the program's own start-up, hidden.
class MainWindowTest : public ::testing::Test {
protected:
    void start(const std::string& command_text)
    {
        window_ = create_main_window(GetModuleHandleA(nullptr), command_text.c_str(), SW_HIDE);
        ASSERT_NE(window_, nullptr);
        state_ = main_window_state(window_);
        ASSERT_NE(state_, nullptr);
    }

    void TearDown() override
    {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        drop_quit_message();
    }

    void add_row(const CronEntry& entry)
    {
        insert_entry(state_->table, row_count(state_->table), entry);
    }

    LRESULT notify(UINT code, WPARAM id, int column, char* text)
    {
        NMLVDISPINFOA info{};
        info.hdr.hwndFrom = state_->table;
        info.hdr.idFrom = id;
        info.hdr.code = code;
        info.item.mask = LVIF_TEXT;
        info.item.iSubItem = column;
        info.item.pszText = text;
        info.item.cchTextMax = CELL_TEXT_SIZE;
        return SendMessageA(window_, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
    }

    // Screen point in the middle of a cell of the table.
    POINT cell_centre(int row, int column)
    {
        HWND list = GetDlgItem(state_->table, IDC_TABLE_LIST);
        RECT rect{};
        rect.top = column;
        rect.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        const int width = column == 0 ? column_defs[0].width : rect.right - rect.left;
        POINT point = {rect.left + width / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(list, &point);
        return point;
    }

    LRESULT context_menu_at(POINT screen)
    {
        return SendMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(state_->table),
                            MAKELPARAM(screen.x, screen.y));
    }

    HWND window_ = nullptr;
    MainWindowState* state_ = nullptr;
};

TEST_F(MainWindowTest, creation_builds_the_table_columns_timer_state_and_file_dialog)
{
    start("");
    EXPECT_EQ(GetDlgCtrlID(state_->table), IDC_TABLE);
    EXPECT_EQ(SendMessageA(state_->table, TBLM_GETCOLUMNCOUNT, 0, 0), COLUMN_COUNT);
    EXPECT_EQ(state_->last_minute, -1);
    EXPECT_EQ(state_->file_dialog.lStructSize, 76u);
    EXPECT_EQ(state_->file_dialog.lpstrFile, state_->path.data());
    EXPECT_EQ(state_->file_dialog.nMaxFile, 256u);
    EXPECT_EQ(state_->tray_icon.cbSize, 88u);
    EXPECT_STREQ(state_->tray_icon.szTip, "TaveCron");
    EXPECT_EQ(main_window_count, 1);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_FALSE(IsWindowVisible(window_));
}

TEST_F(MainWindowTest, notifications_allow_edits_and_marks_and_cut_single_word_cells)
{
    start("");
    char text[CELL_TEXT_SIZE] = "System notepad.exe";
    EXPECT_EQ(notify(TBLN_BEGINEDIT, IDC_TABLE, COL_COMMAND, text), 0);
    EXPECT_EQ(notify(TBLN_MARKCHANGING, IDC_TABLE, COL_COMMAND, text), 0);
    EXPECT_STREQ(text, "System notepad.exe");

    EXPECT_EQ(notify(TBLN_ENDEDIT, IDC_TABLE, COL_COMMAND, text), 1);
    EXPECT_STREQ(text, "System");

    char option[CELL_TEXT_SIZE] = "a b\tc";
    EXPECT_EQ(notify(TBLN_ENDEDIT, IDC_TABLE, COL_OPTION, option), 1);
    EXPECT_STREQ(option, "a b\tc");

    // Notifications from any other child id are not answered, and not cut.
    char other[CELL_TEXT_SIZE] = "1 2";
    EXPECT_EQ(notify(TBLN_ENDEDIT, IDC_TABLE + 1, COL_MINUTE, other), 0);
    EXPECT_STREQ(other, "1 2");
}

TEST_F(MainWindowTest, enter_on_a_known_command_runs_it_without_a_box)
{
    start("");
    add_row({"*", "*", "*", "*", "*", "NoAction", ""});
    ModalWatch watch;
    char unused[CELL_TEXT_SIZE] = "";
    EXPECT_EQ(notify(NM_RETURN, IDC_TABLE, 0, unused), 0);
    EXPECT_TRUE(watch.box_texts.empty());
}

TEST_F(MainWindowTest, enter_on_an_empty_table_or_unknown_command_shows_the_unknown_command_box)
{
    start("");
    char unused[CELL_TEXT_SIZE] = "";
    {
        ModalWatch watch;
        EXPECT_EQ(notify(NM_RETURN, IDC_TABLE, 0, unused), 0);
        ASSERT_EQ(watch.box_texts.size(), 1u);
        EXPECT_EQ(watch.box_texts[0], "不明なコマンド");
    }
    add_row({"*", "*", "*", "*", "*", "Nothing", ""});
    ModalWatch watch;
    EXPECT_EQ(notify(NM_RETURN, IDC_TABLE, 0, unused), 0);
    ASSERT_EQ(watch.box_texts.size(), 1u);
    EXPECT_EQ(watch.box_texts[0], "不明なコマンド");
}

TEST_F(MainWindowTest, open_crontab_replaces_the_rows_and_keeps_the_path)
{
    TempFolder folder;
    folder.write("two.tab", "1 2 3 4 * NoAction\r\n5 6 7 8 * System a b\r\n");
    start("");
    add_row(default_entry);
    add_row(default_entry);
    add_row(default_entry);

    const std::string path = folder.path("two.tab");
    EXPECT_EQ(open_crontab(window_, path.c_str()), 2);
    EXPECT_EQ(row_count(state_->table), 2);
    EXPECT_EQ(cell(state_->table, 1, COL_OPTION), "a b");
    EXPECT_EQ(std::string(state_->path.data()), path);

    // A missing file empties the table but keeps its path for the dialogs.
    const std::string missing = folder.path("missing.tab");
    EXPECT_EQ(open_crontab(window_, missing.c_str()), 0);
    EXPECT_EQ(row_count(state_->table), 0);
    EXPECT_EQ(std::string(state_->path.data()), missing);
}

TEST_F(MainWindowTest, open_crontab_refuses_a_path_longer_than_its_field_instead_of_cutting_it)
{
    TempFolder folder;
    folder.write("a.tab", "1 2 3 4 * NoAction\r\n");
    start("");
    // The first 256 bytes of this path would name a.tab's folder plus junk;
    // the long path itself names nothing that may be opened in part.
    std::string too_long = folder.path("a.tab");
    too_long.append(300 - too_long.size(), 'x');
    add_row(default_entry);
    EXPECT_EQ(open_crontab(window_, too_long.c_str()), 0);
    EXPECT_EQ(row_count(state_->table), 0);
    EXPECT_STREQ(state_->path.data(), "");
}

TEST_F(MainWindowTest, start_up_loads_the_named_file_and_passes_the_usage_box)
{
    TempFolder folder;
    folder.write("named tab.tab", "0 12 * * * NoAction\r\n");
    ModalWatch watch;
    start("-h \"" + folder.path("named tab.tab") + "\"");
    ASSERT_EQ(watch.box_captions.size(), 1u);
    EXPECT_EQ(watch.box_captions[0], "usage");
    EXPECT_EQ(watch.box_texts[0], "tavecron [-h] [crontab-file]");
    EXPECT_EQ(row_count(state_->table), 1);
    EXPECT_EQ(cell(state_->table, 0, COL_HOUR), "12");
}

TEST_F(MainWindowTest, context_menu_makes_the_hit_row_current_and_opens_commands_only_on_the_command_cell)
{
    start("");
    for (int i = 0; i < 3; ++i) {
        add_row(default_entry);
    }
    ModalWatch watch;
    EXPECT_EQ(context_menu_at(cell_centre(2, COL_MONTH)), 0);
    EXPECT_EQ(SendMessageA(state_->table, TBLM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(watch.menus_seen, 0);

    EXPECT_EQ(context_menu_at(cell_centre(1, COL_COMMAND)), 0);
    EXPECT_EQ(SendMessageA(state_->table, TBLM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(watch.menus_seen, 1);

    // Below the last row, and the keyboard's (-1, -1): no row, nothing changes.
    POINT below = cell_centre(2, COL_COMMAND);
    below.y += 100;
    EXPECT_EQ(context_menu_at(below), 0);
    EXPECT_EQ(SendMessageA(window_, WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)), 0);
    EXPECT_EQ(SendMessageA(state_->table, TBLM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(watch.menus_seen, 1);
}

TEST_F(MainWindowTest, closing_hides_and_the_tray_left_button_shows_again)
{
    start("");
    ShowWindow(window_, SW_SHOW);
    EXPECT_EQ(SendMessageA(window_, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(SendMessageA(window_, WMU_TRAYICON, ID_TRAYICON, WM_MOUSEMOVE), 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(SendMessageA(window_, WMU_TRAYICON, ID_TRAYICON, WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(MainWindowTest, sizing_fits_the_table_to_the_client_area_also_when_minimized)
{
    start("");
    SendMessageA(window_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    RECT rect{};
    GetClientRect(state_->table, &rect);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(rect.bottom, 200);
    SendMessageA(window_, WM_SIZE, SIZE_MINIMIZED, 0);
    GetClientRect(state_->table, &rect);
    EXPECT_EQ(rect.right, 0);
    EXPECT_EQ(rect.bottom, 0);
}

TEST_F(MainWindowTest, a_second_main_window_is_refused_and_exit_releases_the_mutex)
{
    start("");
    EXPECT_EQ(create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE), nullptr);
    // The refused creation counted down; the running window still counts once.
    EXPECT_TRUE(IsWindow(window_));

    SendMessageA(window_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(window_));
    window_ = nullptr;
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    main_window_count = 0;

    SetLastError(0);
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "TaveCron");
    EXPECT_EQ(GetLastError(), 0u);
    CloseHandle(mutex);
}

TEST_F(MainWindowTest, the_task_bar_created_message_adds_the_tray_icon_again)
{
    start("");
    const UINT taskbar_created = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_NE(taskbar_created, 0u);
    // The icon is already there: adding it once more is refused by the shell,
    // so removing it first shows whether the message adds it again.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state_->tray_icon));
    EXPECT_EQ(SendMessageA(window_, taskbar_created, 0, 0), 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &state_->tray_icon));
    EXPECT_TRUE(add_tray_icon(state_));
}

// Counts the table's row-count questions (one or more per due pass) and,
// once, lets a timer tick arrive in the middle of a pass, as a command that
// pumps messages would.
struct ReentrantTick {
    static WNDPROC previous;
    static HWND main_window;
    static int count_questions;
    static bool inject;

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        if (message == TBLM_GETITEMCOUNT) {
            ++count_questions;
            if (inject) {
                inject = false;
                SendMessageA(main_window, WM_TIMER, IDT_MINUTE, 0);
            }
        }
        return CallWindowProcA(previous, window, message, wparam, lparam);
    }
};
WNDPROC ReentrantTick::previous = nullptr;
HWND ReentrantTick::main_window = nullptr;
int ReentrantTick::count_questions = 0;
bool ReentrantTick::inject = false;

TEST_F(MainWindowTest, a_tick_inside_a_due_pass_does_not_start_the_same_minute_again)
{
    start("");
    ReentrantTick::main_window = window_;
    ReentrantTick::previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(state_->table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReentrantTick::proc)));
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int other_minute = (now.wMinute + 30) % 60;

    // One plain pass: how many questions a pass asks.
    ReentrantTick::count_questions = 0;
    state_->last_minute = other_minute;
    SendMessageA(window_, WM_TIMER, IDT_MINUTE, 0);
    const int per_pass = ReentrantTick::count_questions;
    ASSERT_GT(per_pass, 0);
    EXPECT_NE(state_->last_minute, other_minute);

    // The same with a tick arriving inside the pass: still one pass.
    ReentrantTick::count_questions = 0;
    ReentrantTick::inject = true;
    state_->last_minute = other_minute;
    SendMessageA(window_, WM_TIMER, IDT_MINUTE, 0);
    EXPECT_EQ(ReentrantTick::count_questions, per_pass);

    // Ticks of a noted minute ask nothing at all; the first tick only notes.
    ReentrantTick::count_questions = 0;
    SendMessageA(window_, WM_TIMER, IDT_MINUTE, 0);
    state_->last_minute = -1;
    SendMessageA(window_, WM_TIMER, IDT_MINUTE, 0);
    EXPECT_EQ(ReentrantTick::count_questions, 0);
    EXPECT_GE(state_->last_minute, 0);
    SetWindowLongPtrA(state_->table, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReentrantTick::previous));
}

struct MenuItemCase {
    int popup;  // -1: an item of the bar itself
    int position;
    UINT id;
    const char* caption;
};

TEST(MainWindowResources, menu_captions_are_the_exact_code_page_932_texts)
{
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(bar, nullptr);
    constexpr MenuItemCase cases[] = {
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
    EXPECT_EQ(GetMenuItemCount(bar), 4);
    for (const MenuItemCase& c : cases) {
        HMENU menu = c.popup < 0 ? bar : GetSubMenu(bar, c.popup);
        ASSERT_NE(menu, nullptr);
        char caption[128] = {};
        GetMenuStringA(menu, c.position, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, c.caption) << "popup " << c.popup << " item " << c.position;
        if (c.id != 0) {
            EXPECT_EQ(GetMenuItemID(menu, c.position), c.id) << c.caption;
        }
    }
    DestroyMenu(bar);
}

TEST(MainWindowResources, accelerators_are_six_ctrl_keys)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));
    ASSERT_NE(table, nullptr);
    ACCEL keys[8];
    ASSERT_EQ(CopyAcceleratorTableA(table, keys, 8), 6);
    const std::vector<std::pair<WORD, WORD>> expected = {{'A', IDM_SELECTALL}, {'N', IDM_ADDITEM}, {'O', IDM_OPEN},
                                                         {'Q', IDM_EXIT},      {'S', IDM_SAVE},    {'X', IDM_CUT}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(keys[i].fVirt & (FVIRTKEY | FCONTROL | FALT | FSHIFT), FVIRTKEY | FCONTROL);
        EXPECT_EQ(keys[i].key, expected[i].first);
        EXPECT_EQ(keys[i].cmd, expected[i].second);
    }
}

TEST(MainWindowResources, both_icons_are_32_pixel_16_colour_images)
{
    for (int id : {IDI_MAIN, IDI_SPARE}) {
        HRSRC group = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
        ASSERT_NE(group, nullptr) << id;
        // GRPICONDIR: reserved, type, count, then 14-byte entries.
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(bytes[4], 1) << "one image in icon " << id;
        EXPECT_EQ(bytes[6], 32);  // width
        EXPECT_EQ(bytes[7], 32);  // height
        EXPECT_EQ(bytes[8], 16);  // colours
        EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)), nullptr);
    }
}

}  // namespace
