#pragma once
// The system's own code page 932 conversion, as a Unicode list view applies it
// to a text it is given and gives back: MultiByteToWideChar, then
// WideCharToMultiByte, both with code page 932 (whatever the user's code
// page). A Cp932TableText (base/cp932.h). A text too long for the
// conversion's int sizes (no cell is) gives the empty text.
#include <string>
#include <string_view>

std::string cp932_system_table_text(std::string_view text);
