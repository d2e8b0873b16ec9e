// The floor of the start-up benchmark: a program that makes the Win32 objects
// tavecron.exe must make before its window shows, and nothing else. The same
// class registration (CS_OWNDC, the program's icon and menu resource, window
// bytes for one pointer), a hidden tool window of the same size and styles, a
// named mutex (another name, so it can run beside tavecron.exe), a report list
// view child with the six columns after InitCommonControls, the one-second
// timer, the tray icon and the accelerator table; then it shows the window
// and runs the same message loop. It imports the same DLLs (comdlg32 and
// advapi32 too, which start-up does not call). Titled "FloorWindowBench";
// bench/win32/startup_bench.sh times it against tavecron.exe.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "app/resource_ids.h"
#include "app/win32/main_window.h"

namespace {

constexpr char FLOOR_CLASS[] = "FloorWindowBench";
constexpr int LIST_VIEW_ID = 1;

// The schedule table's captions and widths, as the main window inserts them.
struct FloorColumn {
    const char* caption;
    int width;
};
constexpr FloorColumn FLOOR_COLUMNS[] = {{"月", 32}, {"日", 32},        {"時", 32},
                                         {"分", 32}, {"コマンド", 128}, {"オプション", 128}};

struct FloorState {
    HANDLE mutex;
    HWND list_view;
    NOTIFYICONDATAA tray_icon;
};

LRESULT on_create(HWND window, const CREATESTRUCTA* create)
{
    static FloorState state{};
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(&state));
    state.mutex = CreateMutexA(nullptr, TRUE, "FloorWindowBench");
    InitCommonControls();
    state.list_view =
        CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | LVS_REPORT, 0, 0, 0,
                        0, window, reinterpret_cast<HMENU>(LIST_VIEW_ID), create->hInstance, nullptr);
    if (state.list_view == nullptr) return -1;
    for (int i = 0; i < static_cast<int>(std::size(FLOOR_COLUMNS)); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = FLOOR_COLUMNS[i].width;
        column.pszText = const_cast<char*>(FLOOR_COLUMNS[i].caption);
        column.iSubItem = i;
        SendMessageA(state.list_view, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    SetTimer(window, IDT_MINUTE, MINUTE_TIMER_PERIOD_MS, nullptr);
    NOTIFYICONDATAA& icon = state.tray_icon;
    icon.cbSize = TRAY_ICON_SIZE;
    icon.hWnd = window;
    icon.uID = ID_TRAYICON;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WMU_TRAYICON;
    icon.hIcon = LoadIconA(create->hInstance, MAKEINTRESOURCEA(IDI_MAIN));
    std::memcpy(icon.szTip, FLOOR_CLASS, sizeof FLOOR_CLASS);
    Shell_NotifyIconA(NIM_ADD, &icon);
    return 0;
}

LRESULT CALLBACK floor_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* state = reinterpret_cast<FloorState*>(GetWindowLongPtrA(window, 0));
    switch (message) {
    case WM_CREATE:
        return on_create(window, reinterpret_cast<const CREATESTRUCTA*>(lparam));
    case WM_SIZE:
        if (state != nullptr) MoveWindow(state->list_view, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_DESTROY:
        if (state != nullptr) {
            Shell_NotifyIconA(NIM_DELETE, &state->tray_icon);
            CloseHandle(state->mutex);
        }
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace

// Referenced so the linker keeps the imports tavecron.exe carries for its file
// dialogs, the wallpaper command and the table's painting: the loader then
// maps the same DLLs.
extern const void* const floor_kept_imports[];
[[gnu::used]] const void* const floor_kept_imports[] = {reinterpret_cast<const void*>(&GetOpenFileNameA),
                                                        reinterpret_cast<const void*>(&RegCloseKey),
                                                        reinterpret_cast<const void*>(&GetStockObject)};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command)
{
    WNDCLASSA window_class{};
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = floor_window_proc;
    window_class.cbWndExtra = sizeof(FloorState*);
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    window_class.lpszClassName = FLOOR_CLASS;
    if (RegisterClassA(&window_class) == 0) return 1;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, FLOOR_CLASS, FLOOR_CLASS,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CW_USEDEFAULT, CW_USEDEFAULT,
                                  512, 320, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, show_command);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && TranslateAcceleratorA(window, accelerators, &message) != 0) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
