#include "support/win32/dir_temp_tree.h"

#include <shellapi.h>

namespace {

// File header, info header (2 x 2, 24 bits), two rows padded to 8 bytes.
constexpr unsigned char tiny_bitmap[70] = {
    'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
    0, 0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0,
};

}  // namespace

TempTree::TempTree()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp, length < MAX_PATH ? length : 0) + "argv_tree_" +
                      std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "\\";
    if (length != 0 && CreateDirectoryA(dir.c_str(), nullptr)) {
        root_ = dir;
    }
}

TempTree::~TempTree()
{
    if (root_.empty()) {
        return;
    }
    std::string from = root_.substr(0, root_.size() - 1) + '\0';  // a list ended by two NULs
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

std::string TempTree::make(const std::string& relative)
{
    std::string path = root_ + relative;
    for (std::size_t i = root_.size(); i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;  // its second byte may be 0x5C, which is no separator
        } else if (path[i] == '\\') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, tiny_bitmap, sizeof tiny_bitmap, &written, nullptr);
    CloseHandle(file);
    return path;
}

std::string TempTree::rooted(std::string text) const
{
    for (std::size_t at; (at = text.find("<>")) != std::string::npos;) {
        text.replace(at, 2, "\"" + root_ + "\"");
    }
    return text;
}
