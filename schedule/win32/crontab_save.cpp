#include "schedule/win32/crontab_save.h"

#include <cstring>

#include "base/win32/owned_handle.h"
#include "schedule/win32/crontab_file.h"
#include "table/table_messages.h"

namespace {

// Three characters of the temporary file's name: "tvc" followed by hex digits and ".tmp".
constexpr char TEMP_PREFIX[] = "tvc";

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
    const int count = static_cast<int>(SendMessageA(table, TBLM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        if (write_entry_line(table, row, file) == 0) return false;
    return true;
}

// Writes the rows to the existing (empty) file `temp`, flushed to the disk and closed.
bool write_temp_file(HWND table, const char* temp)
{
    OwnedKernelObject file(
        CreateFileA(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const bool written = write_rows(table, file.get()) && FlushFileBuffers(file.get());
    // Closed here, not at the end of the scope: a failed close is a failed save.
    return file.close() && written;
}

}  // namespace

int save_crontab_file(HWND table, const char* path)
{
    char folder[MAX_PATH];
    char temp[MAX_PATH];
    if (path == nullptr || refuses_replacement(path) || !folder_of(path, folder)) return 0;
    // Creates the empty temporary file under a name no other file bears.
    if (GetTempFileNameA(folder, TEMP_PREFIX, 0, temp) == 0) return 0;
    // One rename in the same folder: the target is either the old file or
    // the complete new one, never something in between.
    const bool saved =
        write_temp_file(table, temp) && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!saved) DeleteFileA(temp);
    return saved ? 1 : 0;
}
