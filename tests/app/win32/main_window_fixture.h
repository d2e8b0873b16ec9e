#pragma once
// For the main window's Wine tests: a hidden main window made by start-up, and
// a watch that ends the modal windows opening meanwhile.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/win32/crontab_document.h"
#include "app/win32/main_window.h"
#include "app/win32/start_up.h"
#include "schedule/win32/crontab_file.h"
#include "tests/support/win32/table_fixture.h"

// From a thread timer (modal loops dispatch its ticks): closes every message box with `answer` (OK unless set),
// noting "caption|text", and every popup menu, counting it; hands each file dialog (a dialog with a file-type box)
// once to on_file_dialog, which must end it, and which cancels it when empty.
struct ModalWatch {
    static constexpr int FILE_TYPE_BOX = 0x470;  // cmb1
    static constexpr int FILE_NAME_BOX = 0x47C;  // cmb13
    static inline std::vector<std::string> boxes;
    static inline int menus_seen;
    static inline std::function<void(HWND)> on_file_dialog;
    static inline std::set<HWND> dialogs_seen;
    static inline int answer;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, tick);

    ModalWatch() { boxes.clear(), menus_seen = 0, on_file_dialog = nullptr, dialogs_seen.clear(), answer = IDOK; }
    ~ModalWatch() { KillTimer(nullptr, timer); }

    static BOOL CALLBACK close_dialog(HWND window, LPARAM)
    {
        char name[32] = {}, caption[64] = {}, text[256] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(window) || !dialogs_seen.insert(window).second) {
            return TRUE;
        }
        if (GetDlgItem(window, FILE_TYPE_BOX) != nullptr) {
            if (on_file_dialog) {
                on_file_dialog(window);
            } else {
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
            return TRUE;
        }
        GetWindowTextA(window, caption, sizeof caption);
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        boxes.push_back(std::string(caption) + "|" + text);
        PostMessageA(window, WM_COMMAND, answer, 0);
        return TRUE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), close_dialog, 0);
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) ++menus_seen, EndMenu();
    }
};

inline std::string current_folder()
{
    char folder[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    return std::string(folder, length < MAX_PATH ? length : 0);
}

// Destroys a main window, and takes out of the queue the WM_QUIT that every destruction of one posts (a refused
// creation's too), which would end this thread's next modal loop.
inline void destroy_main_window(HWND window)
{
    DestroyWindow(window);
    for (MSG quit; PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
}

// A hidden main window made by the program's own start-up, with an empty table.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override
    {
        window = create_main_window(GetModuleHandleA(nullptr), "", SW_HIDE);
        ASSERT_NE(window, nullptr);
        state = main_window_state(window);
        table = state->table;
    }
    void TearDown() override { destroy_main_window(window); }
    void add_rows(int count, const char* command = "NoAction")
    {
        while (count-- > 0) insert_entry(table, table_row_count(table), {"*", "*", "*", "*", "*", command, ""});
    }

    HWND window = nullptr, table = nullptr;
    MainWindowState* state = nullptr;
};
