#include "base/win32/cp932_system.h"

#include <windows.h>

#include <climits>

std::string cp932_system_table_text(std::string_view text)
{
    // No cell holds a text the conversion's int sizes cannot count.
    if (text.empty() || text.size() > INT_MAX / 2) return {};
    const int size = static_cast<int>(text.size());
    // Each byte becomes at most one UTF-16 unit, and each unit at most two bytes.
    std::wstring wide(text.size(), L'\0');
    const int units = MultiByteToWideChar(932, 0, text.data(), size, wide.data(), size);
    std::string out(text.size() * 2, '\0');
    const int bytes = WideCharToMultiByte(932, 0, wide.data(), units, out.data(), size * 2, nullptr, nullptr);
    out.resize(units > 0 && bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    return out;
}
