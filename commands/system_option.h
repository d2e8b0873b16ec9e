#pragma once
// How System divides its option: the text before the first space names the
// program or document the shell opens, the text after that space is its
// parameters. Quote marks are not special, so a quoted path that holds a space
// is divided there too.
#include <cstddef>
#include <string_view>

// The length of the program part of `option`: up to its first space, or the whole option.
constexpr std::size_t system_program_length(std::string_view option)
{
    const std::size_t space = option.find(' ');
    return space == std::string_view::npos ? option.size() : space;
}
