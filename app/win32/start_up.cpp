#include "app/win32/start_up.h"

#include <array>
#include <cstring>
#include <string_view>

#include "app/crontab_path.h"
#include "app/resource_ids.h"
#include "app/win32/main_window.h"
#include "commands/option_scanner.h"
#include "commands/win32/arg_vector_win32.h"
#include "schedule/win32/crontab_file.h"
#include "schedule/win32/file_stream.h"
#include "table/table_messages.h"

int main_class_atom = 0;

namespace {

constexpr char USAGE_TEXT[] = "tavecron [-h] [crontab-file]";
constexpr char USAGE_CAPTION[] = "usage";
constexpr int MAIN_WINDOW_WIDTH = 512;
constexpr int MAIN_WINDOW_HEIGHT = 320;
// Room for a module path longer than a path buffer, so that such a path is
// recognised as too long rather than silently cut.
constexpr DWORD MODULE_PATH_SIZE = 1024;

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

// The program's module path in `buffer`; empty when it is unknown or does
// not fit (never a cut path).
std::string_view read_module_path(std::array<char, MODULE_PATH_SIZE>& buffer)
{
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), MODULE_PATH_SIZE);
    return length > 0 && length < MODULE_PATH_SIZE ? std::string_view(buffer.data(), length) : std::string_view();
}

}  // namespace

BOOL enter_program_folder()
{
    std::array<char, MODULE_PATH_SIZE> module_path;
    const CrontabLocation location = locate_crontab(read_module_path(module_path), nullptr);
    return location.has_directory ? SetCurrentDirectoryA(location.directory.data()) : FALSE;
}

InProgramFolder::InProgramFolder()
{
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, previous_.data());
    restore_ = length > 0 && length < MAX_PATH;
    enter_program_folder();
}

InProgramFolder::~InProgramFolder()
{
    if (restore_) {
        SetCurrentDirectoryA(previous_.data());
    }
}

int register_main_class(HINSTANCE instance)
{
    if (main_class_atom != 0) {
        return main_class_atom;
    }
    WNDCLASSA window_class{};
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = main_window_proc;
    window_class.cbClsExtra = 0;
    window_class.cbWndExtra = sizeof(MainWindowState*);
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    window_class.lpszClassName = MAIN_WINDOW_CLASS;
    main_class_atom = RegisterClassA(&window_class) & 0xFFFF;
    return main_class_atom;
}

int open_crontab(HWND main_window, const char* path)
{
    MainWindowState* state = main_window_state(main_window);
    if (state == nullptr) {
        return 0;
    }
    const std::size_t length = path != nullptr ? std::strlen(path) : state->path.size();
    if (length >= state->path.size()) {
        return 0;
    }
    FileStream* file = stream_open_file(path, 0, 0);
    if (file == nullptr) {
        return 0;
    }
    // memmove: a caller may pass the path field itself.
    std::memmove(state->path.data(), path, length + 1);
    SendMessageA(state->table, TBLM_DELETEALLITEMS, 0, 0);
    // Redraw off for the load: otherwise the list view redoes its layout and
    // scroll bars for every row, which made a 10,000-line file take seconds.
    // Turning it back on repaints the table with its scroll bars.
    SendMessageA(state->table, WM_SETREDRAW, FALSE, 0);
    const int loaded = load_crontab_stream(state->table, file);
    SendMessageA(state->table, WM_SETREDRAW, TRUE, 0);
    return loaded;
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
    ArgVector argv = build_argv(nullptr, command_text != nullptr ? command_text : "", &count);
    const int first_operand = argv != nullptr ? scan_options(count, argv) : count;
    const char* argument = first_operand < count ? argv[first_operand] : nullptr;

    std::array<char, MODULE_PATH_SIZE> module_buffer;
    const std::string_view module_path = read_module_path(module_buffer);
    const CrontabLocation location = locate_crontab(module_path, argument);
    enter_program_folder();
    // A refused path (too long, or no module path to find cron.tab by) loads
    // nothing and leaves the table empty.
    open_crontab(window, location.has_path ? location.path.data() : nullptr);
    free_argv(argv);

    ShowWindow(window, show_command);
    return window;
}
