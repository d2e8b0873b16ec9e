#include "schedule/win32/crontab_save.h"

#include <cstdio>
#include <cstring>

#include "base/win32/owned_handle.h"
#include "schedule/win32/crontab_file.h"
#include "table/win32/table_calls.h"

namespace {

// The temporary file is "~" and four hex digits in the target's folder. The
// name is made here rather than by GetTempFileNameA, which refuses folders
// longer than MAX_PATH - 14 characters although a 255-character path names
// a file in a folder of up to 254 (its backslash included): five characters
// after such a folder still stay below MAX_PATH.
constexpr char TEMP_NAME_FORMAT[] = "%s~%04x";
constexpr unsigned TEMP_NAMES = 0x10000;

// The folder that holds `path` (its full form up to the file name, with the
// backslash) into `folder`. False when the path is too long, or names no file
// (ends in a backslash).
bool folder_of(const char* path, char (&folder)[MAX_PATH])
{
    char full[MAX_PATH];
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH || name == nullptr || *name == '\0') return false;
    const std::size_t folder_length = static_cast<std::size_t>(name - full);
    std::memcpy(folder, full, folder_length);
    folder[folder_length] = '\0';
    return true;
}

// True when a file stands at `path` that must not be replaced. The rename
// itself refuses a folder, and on Windows a read-only file too; Wine renames
// over a read-only file, so that is asked here first.
bool refuses_replacement(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

bool write_rows(HWND table, HANDLE file)
{
    const int count = table_row_count(table);
    for (int row = 0; row < count; ++row) {
        if (write_entry_line(table, row, file) == 0) return false;
    }
    return true;
}

// Creates a new, empty file for writing in `folder` (which ends in a
// backslash) under a name no file bears yet, its path into `temp`. Tries the
// names from a point the clock picks, as GetTempFileNameA would; any failure
// other than a name already taken ends the search (a folder that takes no
// new file). An empty handle when no file was created.
OwnedKernelObject create_temp_file(const char* folder, char (&temp)[MAX_PATH])
{
    const unsigned first = GetTickCount();
    for (unsigned i = 0; i < TEMP_NAMES; ++i) {
        const int length = std::snprintf(temp, sizeof temp, TEMP_NAME_FORMAT, folder, (first + i) % TEMP_NAMES);
        if (length < 0 || length >= static_cast<int>(sizeof temp)) return {};
        OwnedKernelObject file(
            CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace

int save_crontab_file(HWND table, const char* path)
{
    char folder[MAX_PATH];
    char temp[MAX_PATH];
    if (path == nullptr || refuses_replacement(path) || !folder_of(path, folder)) return 0;
    OwnedKernelObject file = create_temp_file(folder, temp);
    if (!file) return 0;
    const bool written = write_rows(table, file.get()) && FlushFileBuffers(file.get());
    // Closed before the rename, and a failed close is a failed save.
    const bool closed = file.close();
    // One rename in the same folder: the target is either the old file or
    // the complete new one, never something in between.
    const bool saved = written && closed && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!saved) DeleteFileA(temp);
    return saved ? 1 : 0;
}
