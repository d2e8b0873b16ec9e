// The WM_COMMAND branch under Wine, on a main window made by start-up: the file dialogs as a user meets them and
// the save under injected write failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "app/resource_ids.h"
#include "main_window_fixture.h"
#include "tests/support/win32/import_slot.h"
#include "tests/support/win32/temp_folder.h"

// The record watched by the replaced operator delete below: its delete keeps the block, poisoned, instead of freeing
// it, so that a write into the freed record shows as changed bytes.
constexpr unsigned char POISON = 0xA5;
void* watched_record = nullptr;

void operator delete(void* block) noexcept
{
    if (block != nullptr && block == watched_record) {
        std::memset(block, POISON, sizeof(MainWindowState));
    } else {
        std::free(block);
    }
}
void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

namespace {

using namespace table_test;
using Strings = std::vector<std::string>;

const std::string OPEN_FAILED = "エラー|ﾌｧｲﾙのオープンに失敗しました。";
const std::string SAVE_FAILED = "エラー|ﾌｧｲﾙを作れませんでした。";

// The product's WriteFile and FlushFileBuffers calls go through these import slots of the test program, which mingw
// keeps writable: swapped, they make the n-th write fail or fall short, or the flush fail.
extern decltype(&WriteFile) import_write_file __asm__(IMPORT_SLOT(WriteFile, 20));
extern decltype(&FlushFileBuffers) import_flush __asm__(IMPORT_SLOT(FlushFileBuffers, 4));
const auto real_write_file = import_write_file;
const auto real_flush = import_flush;
int writes_seen, failing_write;  // from 1; 0 fails none
bool write_falls_short;

BOOL WINAPI failing_write_file(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (++writes_seen != failing_write || write_falls_short) {
        return real_write_file(file, data, writes_seen == failing_write ? size / 2 : size, written, overlapped);
    }
    *written = 0;
    return FALSE;
}

BOOL WINAPI failing_flush(HANDLE)
{
    return FALSE;
}

// The clock the save's temporary names start from, through the GetTickCount slot: held, the first try is "~1234".
extern decltype(&GetTickCount) import_tick_count __asm__(IMPORT_SLOT(GetTickCount, 0));
const auto real_tick_count = import_tick_count;

DWORD WINAPI held_tick_count()
{
    return 0x1234;
}

class MenuCommands : public MainWindowFixture {
protected:
    LRESULT command(UINT id) { return send(window, WM_COMMAND, MAKEWPARAM(id, 0)); }
};

// Each dialog is described while open (owner, flags, preselected file type), then answered: the file type to pick
// (-1: none) and the name to type, then OK.
TEST_F(MenuCommands, file_dialogs_share_one_description_report_failed_opens_and_leave_the_program_folder_current)
{
    const std::string program_folder = current_folder();  // start-up made it current
    TempFolder folder;
    const std::string in = folder.write("in.tab", "1 2 3 4 * NoAction\r\n"), out = folder.path("out.tab");
    const std::string empty = folder.write("empty.tab");
    const std::string open = "owned 6144 ", save = "owned 2048 ";
    // Names of 256 and 257 characters, too long for the path field (Wine's dialogs fail past 259).
    const std::string long_save = folder.path(std::string(CRONTAB_PATH_SIZE - folder.root.size(), 'x'));
    const std::string long_open =
        folder.write(std::string(150, 's') + "\\" + std::string(106 - folder.root.size(), 'f'));
    // Id, file type, name; then the dialog as shown, the path and the rows after (in.tab's one or none: the file
    // that must not load holds none, so a count tells a wrong load).
    const std::tuple<UINT, int, std::string, std::string, std::string, int> steps[] = {
        {IDM_OPEN, 1, in, open + "0", in, 1},          {IDM_SAVE, -1, out, save + "1", out, 1},
        {IDM_SAVE, -1, long_save, save + "1", out, 1}, {IDM_OPEN, -1, long_open, open + "1", out, 1},
        {IDM_OPEN, -1, empty, open + "1", empty, 0},
    };
    std::string shown;
    ModalWatch watch;
    for (const auto& [id, type, name, dialog_shown, path, rows_after] : steps) {
        watch.on_file_dialog = [&](HWND dialog) {
            HWND types = GetDlgItem(dialog, ModalWatch::FILE_TYPE_BOX);
            shown = (GetWindow(dialog, GW_OWNER) == window ? "owned " : "") + std::to_string(state->file_dialog.Flags) +
                    " " + std::to_string(send(types, CB_GETCURSEL));
            if (type >= 0) send(types, CB_SETCURSEL, type);
            send(dialog, WM_COMMAND, MAKEWPARAM(ModalWatch::FILE_TYPE_BOX, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(types));
            SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, name.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        };
        SetCurrentDirectoryA(folder.root.c_str());
        EXPECT_EQ(command(id), 0);
        EXPECT_EQ(shown, dialog_shown);
        EXPECT_EQ(current_folder(), program_folder) << name;
        EXPECT_EQ(state->file_dialog.nFilterIndex, 2u) << name;
        EXPECT_EQ(state->path.data(), path);
        EXPECT_EQ(table_row_count(table), rows_after) << name;
    }
    EXPECT_EQ(std::string(state->file_dialog.lpstrFilter, 19), std::string("*.tab\0*.tab\0All\0*\0", 19));
    EXPECT_EQ(folder.read("out.tab"), "1 2 3 4 * NoAction \r\n");
    EXPECT_EQ(watch.boxes, (Strings{SAVE_FAILED, OPEN_FAILED, OPEN_FAILED}));
}

// The tray icon's menu works while a file dialog is open. Its Open and Save
// open no second dialog, and the path field is what the outer dialog leaves.
TEST_F(MenuCommands, open_or_save_asked_for_while_a_file_dialog_is_open_opens_no_second_dialog)
{
    TempFolder folder;
    const std::string before = folder.write("before.tab", "1 2 3 4 * NoAction\r\n"), chosen = folder.path("chosen.tab");
    // The outer command, the one asked for in its dialog, the name the outer dialog takes ("": cancel).
    const std::tuple<UINT, UINT, std::string> cases[] = {{IDM_SAVE, IDM_OPEN, chosen}, {IDM_OPEN, IDM_SAVE, ""}};
    ModalWatch watch;
    for (const auto& [outer, inner, name] : cases) {
        lstrcpynA(state->path.data(), before.c_str(), CRONTAB_PATH_SIZE);
        int dialogs = 0;
        watch.on_file_dialog = [&](HWND dialog) {
            const bool outer_dialog = ++dialogs == 1;  // a second dialog takes the earlier file
            if (outer_dialog) command(inner);
            SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, outer_dialog ? name.c_str() : before.c_str());
            PostMessageA(dialog, WM_COMMAND, outer_dialog && name.empty() ? IDCANCEL : IDOK, 0);
        };
        command(outer);
        EXPECT_EQ(dialogs, 1) << outer << " " << inner;
        EXPECT_EQ(state->path.data(), name.empty() ? before : name) << outer << " " << inner;
    }
}

// File, Exit from the tray icon's menu while a file dialog is open destroys
// the window, and frees its record, inside the dialog's loop.
TEST_F(MenuCommands, exit_while_a_file_dialog_is_open_ends_the_window_and_nothing_writes_into_its_freed_record)
{
    ModalWatch watch;
    watch.on_file_dialog = [&](HWND) { PostMessageA(window, WM_COMMAND, IDM_EXIT, 0); };
    watched_record = state;
    EXPECT_EQ(command(IDM_SAVE), 0);
    ASSERT_FALSE(IsWindow(window));
    const auto* record = reinterpret_cast<const unsigned char*>(state);
    const std::ptrdiff_t size = sizeof(MainWindowState);
    EXPECT_EQ(std::count(record, record + size, POISON), size);  // no byte written after the free
    std::free(std::exchange(watched_record, nullptr));
}

TEST_F(MenuCommands, save_replaces_the_file_whole_or_leaves_it_byte_for_byte_with_no_temporary_file)
{
    // LEFTOVER: the first temporary name tried is taken, by a file an interrupted save left.
    enum Trouble { NONE, READ_ONLY, HELD, WRITE_FAILS, WRITE_FALLS_SHORT, FLUSH_FAILS, LEFTOVER };
    // Trouble, the write (one per row) it strikes, and the length of the target's folder: 0 for the temporary
    // folder itself, else one over 246 characters, the most GetTempFileNameA takes.
    const std::tuple<Trouble, int, std::size_t> cases[] = {
        {NONE, 0, 0},        {READ_ONLY, 0, 0},         {HELD, 0, 0},    {WRITE_FAILS, 2, 0}, {NONE, 0, 248},
        {FLUSH_FAILS, 0, 0}, {WRITE_FALLS_SHORT, 2, 0}, {LEFTOVER, 0, 0}};
    const std::string old = "0 0 1 1 * NoAction old\r\n", lines = "* * * * * A \r\n* * * * * B \r\n* * * * * C \r\n";
    ModalWatch watch;
    watch.on_file_dialog = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); };  // the proposed name
    for (const char* name : {"A", "B", "C"}) add_rows(1, name);
    for (const auto& [trouble, write, depth] : cases) {
        TempFolder folder;
        const std::string sub = depth ? std::string(depth - folder.root.size(), 'd') + "\\" : "";
        const std::string target = folder.write(sub + "a.tab", old);
        if (trouble == READ_ONLY) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        if (trouble == LEFTOVER) folder.write(sub + "~1234", old);
        HANDLE holder = trouble == HELD
                            ? CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                            : nullptr;
        lstrcpynA(state->path.data(), target.c_str(), CRONTAB_PATH_SIZE);
        watch.boxes.clear();
        writes_seen = 0, failing_write = write, write_falls_short = trouble == WRITE_FALLS_SHORT;
        {
            const SlotSwap writes(import_write_file, failing_write_file);
            const SlotSwap flush(import_flush, trouble == FLUSH_FAILS ? failing_flush : real_flush);
            const SlotSwap ticks(import_tick_count, trouble == LEFTOVER ? held_tick_count : real_tick_count);
            command(IDM_SAVE);
        }
        if (holder != nullptr) CloseHandle(holder);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

        SCOPED_TRACE("trouble " + std::to_string(trouble) + ", write " + std::to_string(write) + ", depth " +
                     std::to_string(depth));
        const bool saved = trouble == NONE || trouble == LEFTOVER;
        EXPECT_EQ(folder.read(sub + "a.tab"), saved ? lines : old);
        EXPECT_EQ(watch.boxes, saved ? Strings{} : Strings{SAVE_FAILED});
        EXPECT_EQ(folder.read(sub + "~1234"), trouble == LEFTOVER ? old : "");
        // No temporary file stays: without the target and the leftover the folders are empty and go.
        DeleteFileA(target.c_str());
        DeleteFileA(folder.path(sub + "~1234").c_str());
        EXPECT_TRUE((sub.empty() || RemoveDirectoryA(folder.path(sub).c_str())) &&
                    RemoveDirectoryA(folder.root.c_str()));
    }
}

}  // namespace

// Start-up that found its file but could not read it (another program held it) keeps the name, and the first Save
// aimed at that file asks before replacing it: No leaves it byte for byte, Yes replaces it and ends the questions, as
// a file loaded by Open does. A Save elsewhere asks nothing, nor does one over a file missing at start-up (a first
// run) or one read whole without an entry.
TEST(MenuCommandsStartUp, a_save_over_the_file_start_up_could_not_read_asks_first_and_no_keeps_it)
{
    enum Start { HELD, MISSING, EMPTY };
    struct Step {
        UINT id;
        const char* name;  // in the folder
        int answer;        // to a question
        std::size_t questions_after;
        const char* target_after;  // cron.tab's bytes
    };
    const char *old = "1 2 3 4 * NoAction old\r\n", *in = "5 6 7 8 * NoAction in\r\n", *row = "* * * * * A \r\n";
    const std::pair<Start, std::vector<Step>> cases[] = {
        {HELD,
         {{IDM_SAVE, "other.tab", IDYES, 0, old},
          {IDM_SAVE, "cron.tab", IDNO, 1, old},
          {IDM_SAVE, "cron.tab", IDYES, 2, row},
          {IDM_SAVE, "cron.tab", IDNO, 2, row}}},
        {HELD, {{IDM_OPEN, "in.tab", IDNO, 0, old}, {IDM_SAVE, "cron.tab", IDNO, 0, in}}},
        {MISSING, {{IDM_SAVE, "cron.tab", IDNO, 0, row}}},
        {EMPTY, {{IDM_SAVE, "cron.tab", IDNO, 0, row}}},
    };
    for (const auto& [start, steps] : cases) {
        TempFolder folder;
        const std::string target = folder.path("cron.tab");
        folder.write("in.tab", in);
        if (start != MISSING) folder.write("cron.tab", start == HELD ? old : "\r\n");
        HANDLE holder = start == HELD ? CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                      : INVALID_HANDLE_VALUE;
        HWND window = create_main_window(GetModuleHandleA(nullptr), ("\"" + target + "\"").c_str(), SW_HIDE);
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        ASSERT_NE(window, nullptr);
        HWND table = main_window_state(window)->table;
        EXPECT_EQ(table_row_count(table), 0);
        insert_entry(table, 0, {"*", "*", "*", "*", "*", "A", ""});
        ModalWatch watch;
        for (const Step& step : steps) {
            watch.answer = step.answer;
            watch.on_file_dialog = [&](HWND dialog) {
                SetDlgItemTextA(dialog, ModalWatch::FILE_NAME_BOX, folder.path(step.name).c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            };
            SendMessageA(window, WM_COMMAND, step.id, 0);
            EXPECT_EQ(watch.boxes.size(), step.questions_after) << start << " " << step.name;
            EXPECT_EQ(folder.read("cron.tab"), step.target_after) << start << " " << step.name;
        }
        const std::string question =
            "crontab ﾌｧｲﾙの保存|" + target + " は起動時に読み込めませんでした。\n置き換えますか?";
        for (const std::string& box : watch.boxes) EXPECT_EQ(box, question);
        destroy_main_window(window);
    }
}
