// Months of work in one process, after a warm-up: due passes over a 50-row table, Open and Save cycles, repaints
// and page scrolls, cell edits and SetWP runs. Resources must not grow. Wine answers 0 to GetProcessHandleCount and
// GetGuiResources, so the handles the program opens are counted at the test program's import slots.
// TAVECRON_LONGEVITY_FULL=1 runs the full counts (100,000 ticks).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "main_window_fixture.h"
#include "schedule/win32/crontab_save.h"
#include "tests/support/win32/import_slot.h"
#include "tests/support/win32/temp_folder.h"

namespace {

using namespace table_test;

extern decltype(&CreateFileA) import_create_file __asm__(IMPORT_SLOT(CreateFileA, 28));
extern decltype(&CloseHandle) import_close_handle __asm__(IMPORT_SLOT(CloseHandle, 4));
extern decltype(&RegCreateKeyExA) import_reg_create __asm__(IMPORT_SLOT(RegCreateKeyExA, 36));
extern decltype(&RegCloseKey) import_reg_close __asm__(IMPORT_SLOT(RegCloseKey, 4));
extern decltype(&GetDC) import_get_dc __asm__(IMPORT_SLOT(GetDC, 4));
extern decltype(&ReleaseDC) import_release_dc __asm__(IMPORT_SLOT(ReleaseDC, 8));
extern decltype(&ShellExecuteA) import_shell_execute __asm__(IMPORT_SLOT(ShellExecuteA, 24));

// What the program holds open, as its own calls tell: every handle it got and has not given back.
std::set<void*> held;
int shell_runs, wallpaper_keys;
const auto real_create_file = import_create_file;
const auto real_close_handle = import_close_handle;
const auto real_reg_create = import_reg_create;
const auto real_reg_close = import_reg_close;
const auto real_get_dc = import_get_dc;
const auto real_release_dc = import_release_dc;

template <typename Handle>
Handle note(Handle handle)
{
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) held.insert(handle);
    return handle;
}

HANDLE WINAPI counted_create_file(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE model)
{
    return note(real_create_file(name, access, share, security, disposition, flags, model));
}
BOOL WINAPI counted_close_handle(HANDLE handle)
{
    return held.erase(handle), real_close_handle(handle);
}
LSTATUS WINAPI counted_reg_create(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR key_class, DWORD options,
                                  REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition)
{
    const LSTATUS status =
        real_reg_create(key, sub_key, reserved, key_class, options, access, security, result, disposition);
    if (status == ERROR_SUCCESS) note(*result), ++wallpaper_keys;
    return status;
}
LSTATUS WINAPI counted_reg_close(HKEY key)
{
    return held.erase(key), real_reg_close(key);
}
HDC WINAPI counted_get_dc(HWND window)
{
    return note(real_get_dc(window));
}
int WINAPI counted_release_dc(HWND window, HDC dc)
{
    return held.erase(dc), real_release_dc(window, dc);
}
HINSTANCE WINAPI counted_shell_execute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)
{
    ++shell_runs;
    return reinterpret_cast<HINSTANCE>(33);  // started, as the shell answers
}

struct Resources {
    std::size_t held;     // handles the program got through the counted slots and still holds
    std::size_t windows;  // USER objects: the windows of this thread, children included
    SIZE_T heap_bytes;    // in use in the process's heaps (new, malloc, HeapAlloc; the program maps no other memory)
};

// A top-level window counts itself and each of its children.
BOOL CALLBACK count_window(HWND window, LPARAM windows)
{
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) EnumChildWindows(window, count_window, windows);
    return ++*reinterpret_cast<std::size_t*>(windows), TRUE;
}

Resources resources()
{
    Resources now{};
    now.held = held.size();
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&now.windows));
    HANDLE heaps[64];
    const DWORD heap_count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    for (DWORD h = 0; h < heap_count; ++h) {
        for (PROCESS_HEAP_ENTRY entry{}; HeapWalk(heaps[h], &entry);) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) now.heap_bytes += entry.cbData;
        }
    }
    return now;
}

std::string text(const Resources& r)
{
    return std::to_string(r.held) + " held, " + std::to_string(r.windows) + " windows, " +
           std::to_string(r.heap_bytes / 1024) + " KiB in heaps";
}

class ResourcesFlat : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        KillTimer(window, IDT_MINUTE);  // the test gives the ticks
        SetWindowPos(window, nullptr, 0, 0, 640, 300, SWP_NOZORDER);
        list_view = GetDlgItem(table, IDC_TABLE_LIST), editor = GetDlgItem(table, IDC_TABLE_EDIT);
        // A 2 x 2 picture, 24 bits a pixel, rows padded to 4 bytes.
        const char picture[] = "BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0"
                               "\x10\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\0\0\0\xff\0\0\0\0\0\xff\0\0\xff\xff\0";
        const std::string bitmap = folder.write("small.bmp", std::string(picture, sizeof picture - 1));
        insert_entry(table, 0, {"*", "0", "*", "*", "0", "SetWP", bitmap.c_str()});  // month 0: run only by Enter
        for (int r = 1; r < 50; ++r) {
            insert_entry(table, r, {"*", "*", "*", "*", "*", r % 10 != 1 ? "NoAction" : "System", "notepad.exe a.txt"});
        }
    }

    // Each kind of work the given number of times. The window is hidden, as it is for most of its months in the
    // tray, but for the paints.
    void work(int ticks, int files, int paints, int edits, int wallpapers)
    {
        const std::string path = folder.path("cycle.tab");
        for (int i = 0; i < ticks; ++i) state->last_minute = 60, send(window, WM_TIMER, IDT_MINUTE);
        for (int i = 0; i < files; ++i) {
            ASSERT_TRUE(save_crontab_file(table, path.c_str()) && open_crontab(window, path.c_str()) == 50) << i;
        }
        ShowWindow(window, SW_SHOW);
        for (int i = 0; i < paints; ++i) {
            InvalidateRect(list_view, nullptr, TRUE), UpdateWindow(list_view);
            send(list_view, WM_VSCROLL, i % 8 < 4 ? SB_PAGEDOWN : SB_PAGEUP), UpdateWindow(list_view);
        }
        ShowWindow(window, SW_HIDE);
        for (int i = 0; i < edits; ++i) {  // the month of a due row, which stays due
            send(table, TBLM_SETCURSEL, 1 + i % 49), send(list_view, WM_KEYDOWN, VK_TAB);
            SetWindowTextA(editor, i % 2 ? "1-12 ignored" : "*\tignored");
            send(editor, WM_KEYDOWN, VK_RETURN);
            ASSERT_EQ(cell_text(table, 1 + i % 49, COL_MONTH), i % 2 ? "1-12" : "*") << i;
        }
        send(table, TBLM_SETCURSEL, 0);
        for (int i = 0; i < wallpapers; ++i) send(list_view, WM_KEYDOWN, VK_RETURN);
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
    }

    TempFolder folder;
    HWND list_view = nullptr, editor = nullptr;
    const SlotSwap<decltype(import_create_file)> create_file{import_create_file, counted_create_file};
    const SlotSwap<decltype(import_close_handle)> close_handle{import_close_handle, counted_close_handle};
    const SlotSwap<decltype(import_reg_create)> reg_create{import_reg_create, counted_reg_create};
    const SlotSwap<decltype(import_reg_close)> reg_close{import_reg_close, counted_reg_close};
    const SlotSwap<decltype(import_get_dc)> get_dc{import_get_dc, counted_get_dc};
    const SlotSwap<decltype(import_release_dc)> release_dc{import_release_dc, counted_release_dc};
    const SlotSwap<decltype(import_shell_execute)> shell_execute{import_shell_execute, counted_shell_execute};
};

TEST_F(ResourcesFlat, months_of_ticks_files_paints_edits_and_wallpapers_leave_handles_objects_and_memory_flat)
{
    const bool full = std::getenv("TAVECRON_LONGEVITY_FULL") != nullptr;
    const int ticks = full ? 100000 : 2000, others = full ? 1000 : 50, wallpapers = full ? 100 : 10;
    ModalWatch watch;          // ends a box, which would stop the work (the counts below then show it)
    work(100, 10, 10, 10, 5);  // warm-up: first-use allocations and caches
    shell_runs = wallpaper_keys = 0;
    const Resources before = resources();
    const DWORD start = GetTickCount();
    work(ticks, others, others, others, wallpapers);
    const Resources after = resources();
    std::printf(
        "%d ticks, %d Open and Save cycles, paints and edits, %d SetWP runs in %lu ms\nbefore: %s\nafter:  %s\n", ticks,
        others, wallpapers, GetTickCount() - start, text(before).c_str(), text(after).c_str());
    // The work was done: five System rows in each pass, one registry write in each SetWP.
    EXPECT_EQ(std::pair(shell_runs, wallpaper_keys), std::pair(ticks * 5, wallpapers));
    EXPECT_EQ(std::pair(after.held, after.windows), std::pair(before.held, before.windows));
    EXPECT_LE(after.heap_bytes, before.heap_bytes + 64 * 1024);
}

}  // namespace
