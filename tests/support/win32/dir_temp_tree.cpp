#include "support/win32/dir_temp_tree.h"

#include <array>
#include <cstdio>

namespace {

// A 2 x 2, 24-bit bitmap: file header, info header, two rows padded to 8 bytes.
constexpr std::array<unsigned char, 70> tiny_bitmap{
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
    40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,
    0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0,
};

bool is_dot_name(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

void remove_tree(const std::string& dir)
{
    for (const auto& name : searched_names(dir + "*")) {
        std::string path = dir + name;
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            remove_tree(path + "\\");
        } else {
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(dir.c_str());
}

}  // namespace

TempTree::TempTree()
{
    std::array<char, MAX_PATH> temp{};
    DWORD length = GetTempPathA(static_cast<DWORD>(temp.size()), temp.data());
    if (length == 0 || length >= temp.size()) {
        return;
    }
    std::array<char, MAX_PATH + 64> dir{};
    std::snprintf(dir.data(), dir.size(), "%sargv_tree_%lu_%lu\\", temp.data(), GetCurrentProcessId(),
                  GetTickCount());
    if (CreateDirectoryA(dir.data(), nullptr)) {
        root_ = dir.data();
    }
}

TempTree::~TempTree()
{
    if (!root_.empty()) {
        remove_tree(root_);
    }
}

std::string TempTree::make(const std::string& relative, bool is_file)
{
    std::string path = root_ + relative;
    // Create each folder on the way, stepping over double-byte characters so
    // that a second byte of 0x5C is not taken for a separator.
    for (std::size_t i = root_.size(); i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;
        } else if (path[i] == '\\') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
    if (!is_file) {
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, tiny_bitmap.data(), static_cast<DWORD>(tiny_bitmap.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

std::vector<std::string> searched_names(const std::string& pattern, bool directories_only)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        bool is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!is_dot_name(data.cFileName) && (is_directory || !directories_only)) {
            names.push_back(data.cFileName);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}
