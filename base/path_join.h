#pragma once
#include <cstring>
#include <span>
#include <string_view>

// Writes the parts one after the other into out, NUL-terminated. When they
// and the terminator do not fit, writes nothing but an empty string and
// answers false: a path is refused whole, never cut, so that a shortened name
// can never name some other file.
inline bool join_path(std::span<char> out, std::string_view first, std::string_view second = {},
                      std::string_view third = {})
{
    if (out.empty()) {
        return false;
    }
    const std::string_view parts[] = {first, second, third};
    if (first.size() + second.size() + third.size() >= out.size()) {
        out[0] = '\0';
        return false;
    }
    char* end = out.data();
    for (const std::string_view part : parts) {
        // An empty view may hold a null pointer, which memcpy must not be given.
        if (!part.empty()) {
            std::memcpy(end, part.data(), part.size());
            end += part.size();
        }
    }
    *end = '\0';
    return true;
}
