#include "support/win32/temp_folder.h"

#include <shellapi.h>

TempFolder::TempFolder()
{
    static int serial = 0;
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp, length < MAX_PATH ? length : 0) + "tavecron_test_" +
                               std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
                               std::to_string(++serial) + "\\";
    if (length != 0 && CreateDirectoryA(folder.c_str(), nullptr)) root = folder;
}

TempFolder::~TempFolder()
{
    if (root.empty()) return;
    std::string from = root.substr(0, root.size() - 1) + '\0';  // a list ended by two NULs
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const
{
    const std::string path = root + name;
    for (std::size_t i = root.size(); i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;  // its second byte may be 0x5C, which is no separator
        } else if (path[i] == '\\') {
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        }
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

std::string TempFolder::read(const std::string& name) const
{
    std::string bytes;
    HANDLE file = CreateFileA(path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char chunk[4096];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return bytes;
}

std::string TempFolder::rooted(std::string text) const
{
    for (std::size_t at; (at = text.find("<>")) != std::string::npos;) text.replace(at, 2, "\"" + root + "\"");
    return text;
}
