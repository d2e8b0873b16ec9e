// The baseline of the start-up benchmark: a Win32 program that registers a
// class, creates one 512 x 320 window titled "EmptyWindowBench", shows it and
// runs a message loop, nothing more. bench/win32/startup_bench.sh times it
// against tavecron.exe under the same Wine.
#include <windows.h>

namespace {

LRESULT CALLBACK empty_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = empty_window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    window_class.lpszClassName = "EmptyWindowBench";
    if (RegisterClassA(&window_class) == 0) {
        return 1;
    }
    HWND window = CreateWindowExA(0, "EmptyWindowBench", "EmptyWindowBench", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 512, 320, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
