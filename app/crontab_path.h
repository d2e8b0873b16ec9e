#pragma once
#include <array>
#include <cstddef>
#include <string_view>

// Where start-up finds the program's directory and its crontab file.
//
// The program's directory is its module path up to and including the last
// backslash. Paths are code page 932 bytes: a two-byte character whose second
// byte is 0x5C (for instance the 0x95 0x5C of "表") is not a backslash.
// The crontab file is the command-line argument as given, or "cron.tab" in
// the program's directory. Every path lives in a 256-byte buffer (at most 255
// bytes and the terminator); a path that does not fit is refused whole, never
// cut, so that a shortened name can never open some other file.

constexpr std::size_t CRONTAB_PATH_SIZE = 256;
using CrontabPath = std::array<char, CRONTAB_PATH_SIZE>;

inline constexpr char DEFAULT_CRONTAB_NAME[] = "cron.tab";

struct CrontabLocation {
    CrontabPath directory{};     // NUL-terminated; empty when has_directory is false
    bool has_directory = false;  // false: no backslash in the module path, or too long
    CrontabPath path{};          // NUL-terminated; empty when has_path is false
    bool has_path = false;       // false: the path does not fit; load nothing
};

// Length of the directory part of path (up to and including the last
// backslash that is a character of its own), 0 when there is none.
std::size_t directory_length(std::string_view path);

// module_path: the program's own file name (need not be NUL-terminated inside
// the view). argument: the first command-line operand, or null when none.
// With no backslash in the module path the directory is empty and the default
// file is plain "cron.tab"; with a directory too long for a buffer, or an empty
// module path (unknown), the default file is refused (the argument, when
// given, still counts).
CrontabLocation locate_crontab(std::string_view module_path, const char* argument);
