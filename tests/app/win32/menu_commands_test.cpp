// The WM_COMMAND branch under Wine, on a main window made by start-up: the
// Edit and Command items on real rows, the file dialogs as a user meets them,
// the save under injected write failures, and the Ctrl keys while a cell is
// being edited.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <sstream>
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
using Strings = std::vector<std::string>;

const std::string OPEN_FAILED = "エラー|ﾌｧｲﾙのオープンに失敗しました。";
const std::string SAVE_FAILED = "エラー|ﾌｧｲﾙを作れませんでした。";

// The product's WriteFile and FlushFileBuffers calls go through these import
// slots of the test program, which mingw keeps writable: a test swaps them to
// make the n-th write fail or fall short, or the flush fail.
extern decltype(&WriteFile) import_write_file __asm__("__imp__WriteFile@20");
extern decltype(&FlushFileBuffers) import_flush __asm__("__imp__FlushFileBuffers@4");
const auto real_write_file = import_write_file;
const auto real_flush = import_flush;
int writes_seen, failing_write;  // failing_write counts from 1; 0 lets every write through
bool write_falls_short;

BOOL WINAPI failing_write_file(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (++writes_seen != failing_write) return real_write_file(file, data, size, written, overlapped);
    if (write_falls_short) return real_write_file(file, data, size / 2, written, overlapped);
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI failing_flush(HANDLE)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

std::string current_folder()
{
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder, length < MAX_PATH ? length : 0);
}

// As GetCurrentDirectoryA spells it: no backslash at the end.
std::string program_folder()
{
    char module[MAX_PATH];
    const std::string path(module, GetModuleFileNameA(nullptr, module, MAX_PATH));
    return path.substr(0, path.rfind('\\'));
}

Strings names_in(const TempFolder& folder)
{
    Strings names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.path("*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (found.cFileName[0] != '.') names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return names;
}

class MenuCommands : public MainWindowFixture {
protected:
    LRESULT command(UINT id) { return send(window, WM_COMMAND, MAKEWPARAM(id, 0)); }

    // Rows as "A B* >C": each word a row's command cell, "*" a marked row,
    // ">" the current row. The time cells are "*".
    void set_rows(const std::string& text)
    {
        send(table, TBLM_DELETEALLITEMS);
        std::istringstream words(text);
        int current = 0;
        for (std::string word; words >> word;) {
            const int row = rows();
            if (word[0] == '>') current = row, word.erase(0, 1);
            const bool marked = word.back() == '*';
            if (marked) word.pop_back();
            insert_entry(table, row, {"*", "*", "*", "*", "*", word.c_str(), ""});
            send(table, TBLM_SETMARK, row, marked);
        }
        send(table, TBLM_SETCURSEL, current);
    }
    std::string rows_text()
    {
        std::string text;
        for (int row = 0; row < rows(); ++row) {
            text += row ? " " : "";
            text += cell_text(table, row, COL_COMMAND);
            text += send(table, TBLM_GETMARK, row) ? "*" : "";
        }
        return text;
    }
    void propose(const std::string& path) { lstrcpynA(state->path.data(), path.c_str(), MAIN_PATH_SIZE); }
};

TEST_F(MenuCommands, edit_and_command_items_change_the_rows_and_other_ids_do_nothing)
{
    // Id, rows before, rows after.
    const std::tuple<UINT, const char*, const char*> cases[] = {
        {IDM_CUT, "A B* >C*", "A"},
        {IDM_CUT, "", ""},
        {IDM_SELECTALL, "A B* >C", "A* B* C*"},
        {IDM_SELECTALL, "", ""},
        {IDM_INVERT, "A B* >C", "A* B C*"},
        {IDM_ADDITEM, "A >B* C", "A NoAction B* C"},
        {IDM_ADDITEM, "", "NoAction"},
        {IDM_CMD_NOACTION, "A >System", "A NoAction"},
        {IDM_CMD_SYSTEM, "A >B* C", "A System* C"},
        {IDM_CMD_SETWP, ">A B", "SetWP B"},
        {IDM_CMD_SETWP, "", ""},
        {IDM_TEST, "A B*", "A B*"},  // due, but no such commands: nothing to see
        {0, "A B* >C", "A B* C"},
        {IDM_EXIT - 1, "A B* >C", "A B* C"},
        {IDM_ADDITEM + 1, "A B* >C", "A B* C"},
        {IDM_TEST + 1, "A B* >C", "A B* C"},
    };
    for (const auto& [id, before, after] : cases) {
        set_rows(before);
        EXPECT_EQ(command(id), 0) << id << " on " << before;
        EXPECT_EQ(rows_text(), after) << id << " on " << before;
    }

    // An edit open on the current row's command cell is stored before the
    // item acts, so that its later end (a click elsewhere) cannot undo the item.
    const std::pair<UINT, const char*> edited[] = {
        {IDM_ADDITEM, "A NoAction Typed"}, {IDM_CMD_SETWP, "A SetWP"}, {IDM_TEST, "A Typed"}};
    TableState* table_state = table_state_of(table);
    for (const auto& [id, after] : edited) {
        set_rows("A >B");
        ASSERT_EQ(table_begin_edit(table_state, 1, COL_COMMAND), 1);
        SetWindowTextA(table_state->edit_window, "Typed");
        command(id);
        EXPECT_EQ(table_state->edit_row, -1) << id;
        send(table, TBLM_ENDEDIT);
        EXPECT_EQ(rows_text(), after) << id;
    }
}

// Each dialog is described while it is open: its title, whether the hidden
// main window owns it, the flags and filter bytes it was given, and the file
// type it preselects. It is then answered: a file type to pick (or -1), a
// name to type and OK (or "" to cancel).
TEST_F(MenuCommands, file_dialogs_share_one_description_and_leave_the_program_folder_current)
{
    TempFolder folder;
    const std::string in = folder.write("in.tab", "1 2 3 4 * NoAction\r\n"), out = folder.path("out.tab");
    const std::pair<int, std::string> answers[] = {{1, in}, {-1, out}, {-1, ""}};
    Strings shown;
    ModalWatch watch;
    watch.on_file_dialog = [&](HWND dialog) {
        char title[128] = {};
        GetWindowTextA(dialog, title, sizeof title);
        const OPENFILENAMEA& description = state->file_dialog;
        std::string filter(description.lpstrFilter, 19);
        for (char& c : filter) c = c ? c : '|';
        HWND types = GetDlgItem(dialog, ModalWatch::FILE_TYPE_BOX);
        shown.push_back(std::string(title) + (GetWindow(dialog, GW_OWNER) == window ? " owned " : " ") +
                        std::to_string(description.Flags) + " " + filter + " " +
                        std::to_string(send(types, CB_GETCURSEL)));
        const auto& [type, name] = answers[(shown.size() - 1) % 3];
        if (type >= 0) {
            send(types, CB_SETCURSEL, type);
            send(dialog, WM_COMMAND, MAKEWPARAM(ModalWatch::FILE_TYPE_BOX, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        }
        SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, name.c_str());
        PostMessageA(dialog, WM_COMMAND, name.empty() ? IDCANCEL : IDOK, 0);
    };
    add_rows(2);
    for (UINT id : {IDM_OPEN, IDM_SAVE, IDM_OPEN}) {
        SetCurrentDirectoryA(folder.root.c_str());
        EXPECT_EQ(command(id), 0);
        EXPECT_EQ(current_folder(), program_folder()) << id;
        EXPECT_EQ(state->file_dialog.nFilterIndex, 2u) << id;
        EXPECT_EQ(state->path.data(), id == IDM_SAVE || shown.size() == 3 ? out : in) << id;
        EXPECT_EQ(rows(), 1) << id;
    }
    EXPECT_EQ(folder.read("out.tab"), "1 2 3 4 * NoAction \r\n");
    const std::string filter = " *.tab|*.tab|All|*|| ";
    EXPECT_EQ(shown, (Strings{"crontab ﾌｧｲﾙの読み込み owned 6144" + filter + "0",
                              "crontab ﾌｧｲﾙの保存 owned 2048" + filter + "1",
                              "crontab ﾌｧｲﾙの読み込み owned 6144" + filter + "1"}));
    EXPECT_EQ(watch.boxes, Strings{});
}

TEST_F(MenuCommands, open_reports_a_file_it_cannot_open_or_without_entries_and_keeps_the_rows_it_could_not_replace)
{
    TempFolder folder;
    const std::string empty = folder.write("empty.tab"), held = folder.write("held.tab", "1 2 3 4 * NoAction\r\n");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ModalWatch watch;
    watch.on_file_dialog = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); };  // the proposed file
    for (const auto& [path, rows_after] : {std::pair{held, "A B"}, std::pair{empty, ""}}) {
        set_rows("A B");
        propose(path);
        command(IDM_OPEN);
        EXPECT_EQ(rows_text(), rows_after) << path;
    }
    EXPECT_EQ(watch.boxes, (Strings{OPEN_FAILED, OPEN_FAILED}));
    CloseHandle(holder);
}

TEST_F(MenuCommands, save_replaces_the_file_whole_or_leaves_it_byte_for_byte_with_no_temporary_file)
{
    enum Trouble { NONE, NEW_FILE, READ_ONLY, HELD, WRITE_FAILS, WRITE_FALLS_SHORT, FLUSH_FAILS };
    // Case, rows, trouble, the write it strikes.
    const std::tuple<const char*, int, Trouble, int> cases[] = {
        {"over a file", 3, NONE, 0},
        {"a new file", 2, NEW_FILE, 0},
        {"an empty table", 0, NONE, 0},
        {"onto a read-only file", 3, READ_ONLY, 0},
        {"onto a file held without sharing", 3, HELD, 0},
        {"the first write fails", 3, WRITE_FAILS, 1},
        {"a middle write fails", 3, WRITE_FAILS, 2},
        {"the last write fails", 3, WRITE_FAILS, 3},
        {"a middle write falls short", 3, WRITE_FALLS_SHORT, 2},
        {"the flush fails", 3, FLUSH_FAILS, 0},
    };
    const std::string old = "0 0 1 1 * NoAction old\r\n";
    ModalWatch watch;
    watch.on_file_dialog = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); };  // the proposed name
    for (const auto& [name, count, trouble, write] : cases) {
        TempFolder folder;
        const std::string target = trouble == NEW_FILE ? folder.path("target.tab") : folder.write("target.tab", old);
        send(table, TBLM_DELETEALLITEMS);
        std::string lines;
        for (int row = 0; row < count; ++row) {
            const std::string option = "row " + std::to_string(row);
            insert_entry(table, row, {"*", "4", "3", "2", "1", "System", option.c_str()});
            lines += "1 2 3 4 * System " + option + "\r\n";
        }
        if (trouble == READ_ONLY) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE holder = trouble == HELD ? CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                        : INVALID_HANDLE_VALUE;
        propose(target);
        watch.boxes.clear();
        writes_seen = 0, failing_write = write, write_falls_short = trouble == WRITE_FALLS_SHORT;
        import_write_file = failing_write_file;
        if (trouble == FLUSH_FAILS) import_flush = failing_flush;
        command(IDM_SAVE);
        import_write_file = real_write_file, import_flush = real_flush;
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

        const bool saved = trouble == NONE || trouble == NEW_FILE;
        EXPECT_EQ(folder.read("target.tab"), saved ? lines : old) << name;
        EXPECT_EQ(watch.boxes, saved ? Strings{} : Strings{SAVE_FAILED}) << name;
        EXPECT_EQ(names_in(folder), Strings{"target.tab"}) << name;
    }
}

// As the program's message loop: accelerators first, for every message of the thread.
void run_message_loop(HWND window, HACCEL keys, DWORD milliseconds)
{
    for (const DWORD end = GetTickCount() + milliseconds; GetTickCount() < end; Sleep(10)) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (TranslateAcceleratorA(window, keys, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void press_with_ctrl(BYTE key)
{
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

TEST_F(MenuCommands, ctrl_a_and_ctrl_x_in_the_cell_editor_mark_and_cut_the_rows_not_the_text)
{
    HACCEL keys = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL));
    ASSERT_NE(keys, nullptr);
    set_rows("A >B C");
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    run_message_loop(window, keys, 300);
    TableState* table_state = table_state_of(table);
    ASSERT_EQ(table_begin_edit(table_state, 1, COL_OPTION), 1);
    HWND editor = table_state->edit_window;
    SetWindowTextA(editor, "typed");
    send(editor, EM_SETSEL, 1, 2);
    ASSERT_EQ(GetFocus(), editor);

    press_with_ctrl('A');
    run_message_loop(window, keys, 300);
    EXPECT_EQ(rows_text(), "A* B* C*");
    DWORD from = 0, to = 0;
    send(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(1ul, 2ul)) << "the editor's selection stays";

    press_with_ctrl('X');
    run_message_loop(window, keys, 300);
    EXPECT_EQ(rows_text(), "");
    EXPECT_EQ(table_state->edit_row, -1);
}

}  // namespace
