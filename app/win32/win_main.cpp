#include <windows.h>

#include "app/resource_ids.h"
#include "app/win32/start_up.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_text, int show_command)
{
    HWND main_window = create_main_window(instance, command_text, show_command);
    if (main_window == nullptr) {
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tried for every message of the thread, so the Ctrl keys act on the
        // main window also while the table's cell editor has the focus.
        if (accelerators != nullptr && TranslateAcceleratorA(main_window, accelerators, &message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
