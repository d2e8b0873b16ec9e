#include "commands/win32/arg_vector.h"

#include <array>
#include <string_view>

#include "base/cp932.h"
#include "base/win32/owned_handle.h"

void Win32DirectoryLister::search(const char* pattern, VisitEntry visit, void* context)
{
    WIN32_FIND_DATAA data;
    const OwnedFileSearch find(FindFirstFileA(pattern, &data));
    if (!find) {
        return;
    }
    do {
        data.cFileName[sizeof data.cFileName - 1] = '\0';
        DirectoryEntry entry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        visit(context, entry);
    } while (FindNextFileA(find.get(), &data));
}

ArgVector build_argv(const char* argv0, const char* text, int* count)
{
    std::array<char, ARGV_PATH_SIZE> module{};
    if (argv0 == nullptr) {
        DWORD length = GetModuleFileNameA(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (length >= module.size()) {
            // Cut: older systems leave the buffer unterminated, and the cut
            // may have split a double-byte character.
            length =
                static_cast<DWORD>(cp932_keep_length(std::string_view(module.data(), module.size()), module.size()));
        }
        module[length] = '\0';
        argv0 = module.data();
    }
    if (text == nullptr) {
        text = GetCommandLineA();
    }
    Win32DirectoryLister lister;
    return build_argv(lister, argv0, text, count);
}
