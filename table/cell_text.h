#pragma once
// The bytes of a cell text that fit a cell buffer, cut between characters of
// code page 932 (Shift-JIS), where a lead byte and the byte after it form one
// character.

#include <cstddef>
#include <string_view>

// True for the first byte of a two-byte character in code page 932. (The
// table keeps its own copy: the table core depends on no other subsystem.)
constexpr bool is_cp932_lead_byte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// How many bytes of text to keep in a buffer of buffer_size bytes, terminator
// included. A text that fits is kept whole; a longer one is cut to at most
// buffer_size - 1 bytes, before a two-byte character that would otherwise lose
// its second byte. Character boundaries are found by reading from the start,
// as a trail byte may look like a lead byte. 0 when buffer_size is 0.
std::size_t cell_text_keep_length(std::string_view text, std::size_t buffer_size);
