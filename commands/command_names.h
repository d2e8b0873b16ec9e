#pragma once
// The names of the built-in commands, in command table order. A command cell
// must hold one of them exactly: names compare case-sensitively.
#include <array>

inline constexpr std::array<const char*, 3> command_names = {"NoAction", "System", "SetWP"};
