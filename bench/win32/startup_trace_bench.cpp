// A timestamped trace of tavecron.exe's start-up: this program runs the
// product's own create_main_window (linked from the application library, with
// the program's resources) and times each step from outside, through this
// program's import slots for the system calls that mark the steps (class
// registration, the mutex, each window creation, the timer, the tray icon,
// the crontab file's opening and the redraw bracket of its load, showing). It
// then dispatches until no paint is left (the first paint), ends as File,
// Exit does, and prints one "trace STEP MS" line per step, milliseconds as
// the performance counter measures them (a step within another is named
// after it: window/tray-icon is the tray icon within the window's creation), plus the time from the process's
// creation to WinMain (the loader mapping the DLLs and the runtime's start).
// Usage: startup_trace_bench.exe [crontab-file]
// bench/win32/startup_bench.sh runs it several times and prints the medians.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "app/win32/start_up.h"
#include "bench_clock.h"
#include "tests/support/win32/import_slot.h"

extern decltype(&RegisterClassA) import_register_class __asm__(IMPORT_SLOT(RegisterClassA, 4));
extern decltype(&CreateMutexA) import_create_mutex __asm__(IMPORT_SLOT(CreateMutexA, 12));
extern decltype(&CreateWindowExA) import_create_window __asm__(IMPORT_SLOT(CreateWindowExA, 48));
extern decltype(&InitCommonControls) import_init_common_controls __asm__(IMPORT_SLOT(InitCommonControls, 0));
extern decltype(&SetTimer) import_set_timer __asm__(IMPORT_SLOT(SetTimer, 16));
extern decltype(&Shell_NotifyIconA) import_notify_icon __asm__(IMPORT_SLOT(Shell_NotifyIconA, 8));
extern decltype(&CreateFileA) import_create_file __asm__(IMPORT_SLOT(CreateFileA, 28));
extern decltype(&SendMessageA) import_send_message __asm__(IMPORT_SLOT(SendMessageA, 16));
extern decltype(&ShowWindow) import_show_window __asm__(IMPORT_SLOT(ShowWindow, 8));

namespace {

struct Mark {
    const char* label;
    double ms;
};

constexpr int MAX_MARKS = 64;
Mark marks[MAX_MARKS];
int mark_count = 0;

void mark(const char* label)
{
    if (mark_count < MAX_MARKS) marks[mark_count++] = {label, now_ms()};
}

double at(const char* label)
{
    for (int i = 0; i < mark_count; ++i) {
        if (std::strcmp(marks[i].label, label) == 0) return marks[i].ms;
    }
    return -1;
}

decltype(&RegisterClassA) real_register_class;
decltype(&CreateMutexA) real_create_mutex;
decltype(&CreateWindowExA) real_create_window;
decltype(&InitCommonControls) real_init_common_controls;
decltype(&SetTimer) real_set_timer;
decltype(&Shell_NotifyIconA) real_notify_icon;
decltype(&CreateFileA) real_create_file;
decltype(&SendMessageA) real_send_message;
decltype(&ShowWindow) real_show_window;

int class_registrations = 0;

ATOM WINAPI traced_register_class(const WNDCLASSA* window_class)
{
    const bool first = class_registrations++ == 0;
    mark(first ? "main class begin" : "table class begin");
    const ATOM atom = real_register_class(window_class);
    mark(first ? "main class end" : "table class end");
    return atom;
}

HANDLE WINAPI traced_create_mutex(LPSECURITY_ATTRIBUTES attributes, BOOL owned, LPCSTR name)
{
    mark("mutex begin");
    HANDLE mutex = real_create_mutex(attributes, owned, name);
    mark("mutex end");
    return mutex;
}

// Names the creation by its class: the main window, the table, its list view
// and its cell editor.
const char* creation_label(LPCSTR class_name, bool end)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(class_name)) == 0) return end ? "atom end" : "atom begin";
    if (std::strcmp(class_name, "TaveCron") == 0) return end ? "main window end" : "main window begin";
    if (std::strcmp(class_name, "WC_TAVETABLE") == 0) return end ? "table end" : "table begin";
    if (std::strcmp(class_name, "SysListView32") == 0) return end ? "list view end" : "list view begin";
    if (std::strcmp(class_name, "EDIT") == 0) return end ? "editor end" : "editor begin";
    return end ? "other window end" : "other window begin";
}

HWND WINAPI traced_create_window(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y, int width,
                                 int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    mark(creation_label(class_name, false));
    HWND window =
        real_create_window(ex_style, class_name, title, style, x, y, width, height, parent, menu, instance, param);
    mark(creation_label(class_name, true));
    return window;
}

void WINAPI traced_init_common_controls()
{
    mark("comctl32 init begin");
    real_init_common_controls();
    mark("comctl32 init end");
}

UINT_PTR WINAPI traced_set_timer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure)
{
    mark("timer begin");
    const UINT_PTR timer = real_set_timer(window, id, period, procedure);
    mark("timer end");
    return timer;
}

BOOL WINAPI traced_notify_icon(DWORD message, PNOTIFYICONDATAA data)
{
    mark(message == NIM_ADD ? "tray icon begin" : "tray icon other");
    const BOOL done = real_notify_icon(message, data);
    if (message == NIM_ADD) mark("tray icon end");
    return done;
}

HANDLE WINAPI traced_create_file(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes,
                                 DWORD disposition, DWORD flags, HANDLE template_file)
{
    mark("file open begin");
    return real_create_file(path, access, share, attributes, disposition, flags, template_file);
}

LRESULT WINAPI traced_send_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_SETREDRAW) return real_send_message(window, message, wparam, lparam);
    mark(wparam ? "redraw on begin" : "redraw off");
    const LRESULT result = real_send_message(window, message, wparam, lparam);
    if (wparam) mark("redraw on end");
    return result;
}

BOOL WINAPI traced_show_window(HWND window, int show_command)
{
    mark("show begin");
    const BOOL shown = real_show_window(window, show_command);
    mark("show end");
    return shown;
}

template <typename F>
void swap_slot(F& slot, F& real, F traced)
{
    real = slot;
    slot = traced;
}

// Milliseconds from the process's creation to now, by the system clock.
double ms_since_process_creation()
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER a, b;
    a.LowPart = created.dwLowDateTime;
    a.HighPart = created.dwHighDateTime;
    b.LowPart = now.dwLowDateTime;
    b.HighPart = now.dwHighDateTime;
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;
}

void print_span(const char* step, const char* from, const char* to)
{
    const double a = at(from), b = at(to);
    if (a >= 0 && b >= 0) std::printf("trace %s %.2f\n", step, b - a);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_text, int show_command)
{
    const double to_entry = ms_since_process_creation();
    mark("entry");
    swap_slot(import_register_class, real_register_class, traced_register_class);
    swap_slot(import_create_mutex, real_create_mutex, traced_create_mutex);
    swap_slot(import_create_window, real_create_window, traced_create_window);
    swap_slot(import_init_common_controls, real_init_common_controls, traced_init_common_controls);
    swap_slot(import_set_timer, real_set_timer, traced_set_timer);
    swap_slot(import_notify_icon, real_notify_icon, traced_notify_icon);
    swap_slot(import_create_file, real_create_file, traced_create_file);
    swap_slot(import_send_message, real_send_message, traced_send_message);
    swap_slot(import_show_window, real_show_window, traced_show_window);

    HWND main_window = create_main_window(instance, command_text, show_command);
    mark("created");
    if (main_window == nullptr) {
        std::printf("trace failed: no main window (another instance running?)\n");
        return 1;
    }
    // The first paint: every message the start-up left, then every paint
    // (PeekMessage hands out WM_PAINT only once the queue is otherwise empty).
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    mark("painted");

    std::printf("trace process-creation-to-WinMain %.2f\n", to_entry);
    print_span("main-class-registration", "main class begin", "main class end");
    print_span("window", "main window begin", "main window end");
    print_span("window/mutex", "mutex begin", "mutex end");
    print_span("window/table-class-registration", "table class begin", "table class end");
    print_span("window/table-creation", "table begin", "table end");
    print_span("window/table/comctl32-init", "comctl32 init begin", "comctl32 init end");
    print_span("window/table/list-view", "list view begin", "list view end");
    print_span("window/table/editor", "editor begin", "editor end");
    print_span("window/columns", "table end", "timer begin");
    print_span("window/timer", "timer begin", "timer end");
    print_span("window/tray-icon", "tray icon begin", "tray icon end");
    print_span("command-line-and-folder", "main window end", "file open begin");
    print_span("file-load", "file open begin", "redraw on end");
    print_span("file-load/redraw-on", "redraw on begin", "redraw on end");
    print_span("show", "show begin", "show end");
    print_span("first-paint", "show end", "painted");
    print_span("WinMain-to-painted", "entry", "painted");
    std::fflush(stdout);

    // As File, Exit: the tray icon and the mutex go with the window.
    DestroyWindow(main_window);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
