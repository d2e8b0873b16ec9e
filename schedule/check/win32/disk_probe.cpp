#include "schedule/check/win32/disk_probe.h"

#include <shellapi.h>

#include <array>
#include <cstring>
#include <string_view>

#include "base/win32/owned_handle.h"

namespace {

// The text an ANSI call writes: `call(buffer, size)` answers 0 for a failure,
// the size it needs when the buffer is too small, and at most `size` when it
// wrote the text. The size asked first may count characters, not bytes (a
// two-byte character then needs twice as much), so the buffer is doubled and
// the text's length is taken from its terminator. "" on failure.
template <class AnsiCall>
std::string ansi_text(AnsiCall call)
{
    DWORD size = call(nullptr, 0);
    for (int tries = 0; tries < 3 && size > 0; ++tries) {
        std::string text(2 * static_cast<std::size_t>(size) + 2, '\0');
        const DWORD written = call(text.data(), static_cast<DWORD>(text.size()));
        if (written == 0) return "";
        if (written <= text.size()) {
            text.resize(std::strlen(text.c_str()));
            return text;
        }
        size = written;
    }
    return "";
}

// The current directory, or "" when it cannot be read.
std::string current_folder()
{
    return ansi_text([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

// The folder of this program's file, "" when its name does not fit.
std::string module_folder()
{
    std::array<char, MAX_PATH + 1> name{};
    const DWORD length = GetModuleFileNameA(nullptr, name.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string path(name.data(), length);
    std::size_t cut = std::string::npos;
    for (const char* sep = find_separator(path.c_str()); sep != nullptr; sep = find_separator(sep + 1)) {
        cut = static_cast<std::size_t>(sep - path.c_str());
    }
    return cut == std::string::npos ? "" : path.substr(0, cut + 1);
}

// The texts between the semicolons of `list`, quotes around one left out.
std::vector<std::string> split_list(std::string_view list)
{
    std::vector<std::string> parts;
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        std::string_view part = list.substr(0, end);
        if (part.size() >= 2 && part.front() == '"' && part.back() == '"') part = part.substr(1, part.size() - 2);
        if (!part.empty()) parts.emplace_back(part);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    }
    return parts;
}

std::string environment(const char* name)
{
    return ansi_text([name](char* buffer, DWORD size) { return GetEnvironmentVariableA(name, buffer, size); });
}

bool key_exists(HKEY root, const std::string& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    const OwnedRegistryKey owner(opened);
    return true;
}

}  // namespace

Win32DiskProbe::Win32DiskProbe(const char* folder) : previous_(current_folder())
{
    const std::string target = folder != nullptr ? std::string(folder) : module_folder();
    entered_ = !target.empty() && SetCurrentDirectoryA(target.c_str()) != 0;
    folder_ = entered_ ? current_folder() : target;
}

Win32DiskProbe::~Win32DiskProbe()
{
    if (entered_ && !previous_.empty()) SetCurrentDirectoryA(previous_.c_str());
}

DiskKind Win32DiskProbe::kind(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return DiskKind::NONE;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? DiskKind::FOLDER : DiskKind::PLAIN_FILE;
}

std::vector<std::string> Win32DiskProbe::search_folders()
{
    std::vector<std::string> folders;
    std::array<char, MAX_PATH + 1> folder{};
    UINT length = GetSystemDirectoryA(folder.data(), MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.emplace_back(folder.data(), length);
    length = GetWindowsDirectoryA(folder.data(), MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        folders.emplace_back(folder.data(), length);
        folders.push_back(folders.back() + "\\System");
    }
    for (std::string& part : split_list(environment("PATH"))) folders.push_back(std::move(part));
    return folders;
}

std::vector<std::string> Win32DiskProbe::program_extensions()
{
    const std::string list = environment("PATHEXT");
    return split_list(list.empty() ? ".COM;.EXE;.BAT;.CMD" : list);
}

bool Win32DiskProbe::registered(const std::string& name)
{
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + name;
    return key_exists(HKEY_CURRENT_USER, key) || key_exists(HKEY_LOCAL_MACHINE, key);
}

DiskAssociation Win32DiskProbe::association(const std::string& path)
{
    std::array<char, MAX_PATH> program{};
    const auto answer = reinterpret_cast<INT_PTR>(FindExecutableA(path.c_str(), nullptr, program.data()));
    if (answer > 32) return DiskAssociation::OPENS;
    if (answer != SE_ERR_NOASSOC) return DiskAssociation::UNKNOWN;
    // A type that an app from the store or the user's "open with" choice
    // opens may have no command for FindExecutableA to read: only a type the
    // registry does not know at all is one that nothing opens.
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos) return DiskAssociation::NONE;
    const std::string type = path.substr(dot);
    const std::string choice = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + type;
    const bool known = key_exists(HKEY_CLASSES_ROOT, type) || key_exists(HKEY_CURRENT_USER, choice);
    return known ? DiskAssociation::UNKNOWN : DiskAssociation::NONE;
}

std::string Win32DiskProbe::expand(const std::string& text)
{
    if (text.find('%') == std::string::npos) return text;
    const std::string expanded =
        ansi_text([&text](char* buffer, DWORD size) { return ExpandEnvironmentStringsA(text.c_str(), buffer, size); });
    return expanded.empty() ? text : expanded;
}
