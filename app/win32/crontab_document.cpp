#include "app/win32/crontab_document.h"

#include <cstring>
#include <string_view>

#include "app/win32/main_window_state.h"
#include "schedule/win32/crontab_file.h"

namespace {

// Room for a module path longer than a path buffer, so that such a path is
// recognised as too long rather than silently cut.
constexpr DWORD MODULE_PATH_SIZE = 1024;

}  // namespace

CrontabLocation locate_program_crontab(const char* argument)
{
    std::array<char, MODULE_PATH_SIZE> buffer;
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), MODULE_PATH_SIZE);
    // Unknown or too long: empty, never a cut path.
    const bool fits = length > 0 && length < MODULE_PATH_SIZE;
    return locate_crontab(fits ? std::string_view(buffer.data(), length) : std::string_view(), argument);
}

BOOL enter_program_folder()
{
    const CrontabLocation location = locate_program_crontab(nullptr);
    return location.has_directory ? SetCurrentDirectoryA(location.directory.data()) : FALSE;
}

InProgramFolder::InProgramFolder()
{
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, previous_.data());
    restore_ = length > 0 && length < MAX_PATH;
    // Start-up made the program's folder current, and the timer comes here once a minute for months: when the
    // folder is current already (it ends in a backslash, the current directory does not), changing to it and back
    // would cost two file-system calls a minute for nothing.
    const CrontabLocation location = locate_program_crontab(nullptr);
    const std::string_view folder(location.directory.data());
    if (restore_ && folder.size() == length + 1 && folder.starts_with(std::string_view(previous_.data(), length))) {
        restore_ = false;
        return;
    }
    if (location.has_directory) {
        SetCurrentDirectoryA(location.directory.data());
    }
}

InProgramFolder::~InProgramFolder()
{
    if (restore_) {
        SetCurrentDirectoryA(previous_.data());
    }
}

namespace {

// A null path or one that does not fit the path field is refused whole: a
// cut path could name another file.
bool fits_path_field(const MainWindowState& state, const char* path)
{
    return path != nullptr && std::strlen(path) < state.path.size();
}

void keep_path(MainWindowState& state, const char* path)
{
    // memmove: a caller may pass the path field itself.
    std::memmove(state.path.data(), path, std::strlen(path) + 1);
}

// The full path of `path` in `out`; false (out empty) when it cannot be
// formed or does not fit.
bool full_path(const char* path, CrontabPath& out)
{
    const DWORD length = GetFullPathNameA(path, static_cast<DWORD>(out.size()), out.data(), nullptr);
    const bool fits = length > 0 && length < out.size();
    if (!fits) {
        out[0] = '\0';
    }
    return fits;
}

// Whether something other than a folder is at path, or may be: only "not
// found" answers count as missing, so that a file whose attributes cannot be
// read either is still guarded.
bool file_is_there(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// open_crontab's work; -1 when the file was not read whole (or the path was
// refused), and nothing changed.
int replace_rows(MainWindowState* state, const char* path)
{
    if (!fits_path_field(*state, path)) {
        return -1;
    }
    const int loaded = load_crontab(state->table, path);
    if (loaded < 0) {
        return -1;
    }
    keep_path(*state, path);
    state->unread_file[0] = '\0';
    return loaded;
}

}  // namespace

int open_crontab(HWND main_window, const char* path)
{
    MainWindowState* state = main_window_state(main_window);
    return state != nullptr ? open_crontab(state, path) : 0;
}

int open_crontab(MainWindowState* state, const char* path)
{
    const int loaded = replace_rows(state, path);
    return loaded > 0 ? loaded : 0;
}

int open_start_up_crontab(HWND main_window, const char* path)
{
    MainWindowState* state = main_window_state(main_window);
    if (state == nullptr) {
        return 0;
    }
    const int loaded = replace_rows(state, path);
    if (!fits_path_field(*state, path)) {
        return 0;
    }
    keep_path(*state, path);
    if (loaded < 0 && file_is_there(path)) {
        full_path(path, state->unread_file);
    }
    return loaded > 0 ? loaded : 0;
}

bool is_unread_file(const MainWindowState* state, const char* chosen)
{
    CrontabPath chosen_full;
    return state->unread_file[0] != '\0' && full_path(chosen, chosen_full) &&
           lstrcmpiA(chosen_full.data(), state->unread_file.data()) == 0;
}
