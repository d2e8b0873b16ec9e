#include "support/win32/dir_temp_tree.h"

#include <shellapi.h>

TempTree::TempTree()
{
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp, length < MAX_PATH ? length : 0) + "argv_tree_" +
                      std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "\\";
    if (length != 0 && CreateDirectoryA(dir.c_str(), nullptr)) root = dir;
}

TempTree::~TempTree()
{
    if (root.empty()) return;
    std::string from = root.substr(0, root.size() - 1) + '\0';  // a list ended by two NULs
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

std::string TempTree::make(const std::string& relative) const
{
    std::string path = root + relative;
    for (std::size_t i = root.size(); i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;  // its second byte may be 0x5C, which is no separator
        } else if (path[i] == '\\') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return path;
}

std::string TempTree::rooted(std::string text) const
{
    for (std::size_t at; (at = text.find("<>")) != std::string::npos;) text.replace(at, 2, "\"" + root + "\"");
    return text;
}
