#include "app/win32/start_up.h"

#include "app/resource_ids.h"
#include "app/win32/crontab_document.h"
#include "app/win32/main_window.h"
#include "commands/option_scanner.h"
#include "commands/win32/arg_vector.h"

int main_class_atom = 0;

namespace {

constexpr char USAGE_TEXT[] = "tavecron [-h] [crontab-file]";
constexpr char USAGE_CAPTION[] = "usage";
constexpr int MAIN_WINDOW_WIDTH = 512;
constexpr int MAIN_WINDOW_HEIGHT = 320;

// Scans the options ("h" only), showing the usage box for each -h, and
// answers the index of the first operand.
int scan_options(int count, ArgVector argv)
{
    tavecron::optreset = 1;
    int option;
    while ((option = tavecron::getopt(count, argv, "h")) >= 0) {
        if (option == 'h') {
            MessageBoxA(nullptr, USAGE_TEXT, USAGE_CAPTION, MB_OK);
        }
    }
    return tavecron::optind;
}

}  // namespace

int register_main_class(HINSTANCE instance)
{
    if (main_class_atom != 0) {
        return main_class_atom;
    }
    WNDCLASSA window_class{};
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = main_window_proc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = WINDOW_RECORD_BYTES;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    window_class.lpszClassName = MAIN_WINDOW_CLASS;
    main_class_atom = RegisterClassA(&window_class) & 0xFFFF;
    return main_class_atom;
}

HWND create_main_window(HINSTANCE instance, const char* command_text, int show_command)
{
    if (register_main_class(instance) == 0) {
        return nullptr;
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CW_USEDEFAULT, CW_USEDEFAULT,
                                  MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return nullptr;
    }

    int count = 0;
    const OwnedArgVector owned(build_argv(nullptr, command_text != nullptr ? command_text : "", &count));
    ArgVector argv = owned.get();
    const int first_operand = argv != nullptr ? scan_options(count, argv) : count;
    const char* argument = first_operand < count ? argv[first_operand] : nullptr;

    const CrontabLocation location = locate_program_crontab(argument);
    enter_program_folder();
    // A refused path (too long, or no module path to find cron.tab by) loads
    // nothing and leaves the table empty. A file that cannot be opened or read
    // shows nothing either: the table stays empty and its name stays kept.
    open_start_up_crontab(window, location.has_path ? location.path.data() : nullptr);

    ShowWindow(window, show_command);
    return window;
}
