#pragma once
// A fresh folder under the temporary folder for Wine tests, removed with
// everything in it by the destructor.
#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
public:
    TempFolder()
    {
        static int serial = 0;
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temp);
        const std::string folder = std::string(temp, length < MAX_PATH ? length : 0) + "tavecron_test_" +
                                   std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
                                   std::to_string(++serial) + "\\";
        if (length != 0 && CreateDirectoryA(folder.c_str(), nullptr)) root = folder;
    }
    ~TempFolder()
    {
        if (root.empty()) return;
        std::string from = root.substr(0, root.size() - 1) + '\0';  // a list ended by two NULs
        SHFILEOPSTRUCTA operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        SHFileOperationA(&operation);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return root + name; }
    // Writes the file root + name and makes the folders above it (code page 932
    // names allowed: CharNextA steps over a trail byte 0x5C). Returns its full path.
    std::string write(const std::string& name, const std::string& bytes = "") const
    {
        for (const char* at = name.c_str(); *at; at = CharNextA(at)) {
            if (*at == '\\') CreateDirectoryA(path(name.substr(0, at - name.c_str())).c_str(), nullptr);
        }
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::string read(const std::string& name) const  // empty when missing
    {
        std::ifstream file(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    // `text` with every "<>" replaced by the quoted root, so that a blank in
    // the temporary folder's path does not split a word.
    std::string rooted(std::string text) const
    {
        for (std::size_t at; (at = text.find("<>")) != std::string::npos;) text.replace(at, 2, "\"" + root + "\"");
        return text;
    }

    std::string root;  // full path ending with a backslash; empty when not created
};
