#pragma once
#include <cstddef>

// Cuts the text of an edited cell before the table stores it.
//
// The time cells and the command cell (COL_MONTH to COL_COMMAND) must be
// single words, as a crontab line separates them by blanks: their text ends
// at the first space, and then at the first tab of what remains. The option
// cell (COL_OPTION) is the rest of a crontab line and keeps its blanks.
//
// text: a writable buffer of size bytes; the cut looks only within those
// bytes and never writes past them. A buffer without a terminator inside
// size bytes is cut at its first blank all the same, and otherwise left as it is.
void cut_edited_text(int column, char* text, std::size_t size);
