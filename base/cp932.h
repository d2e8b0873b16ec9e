#pragma once
// Code page 932 (Shift-JIS), the 8-bit encoding of every text the program
// keeps: a lead byte and the byte after it form one character, and that
// second byte may look like ASCII (0x5C, a backslash) or like a lead byte.
// Characters are therefore found by reading from the start of a text.

#include <cstddef>
#include <string_view>

// Lead bytes (0x81-0x9F, 0xE0-0xFC) and the bytes that may follow one as the
// second byte of a character (0x40-0x7E, 0x80-0xFC).
constexpr bool cp932_is_lead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
constexpr bool cp932_is_trail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// How many bytes of text to keep in a buffer of buffer_size bytes, terminator
// included. A text that fits is kept whole; a longer one is cut to at most
// buffer_size - 1 bytes, before a two-byte character that would otherwise lose
// its second byte. 0 when buffer_size is 0.
std::size_t cp932_keep_length(std::string_view text, std::size_t buffer_size);

// Whether the non-ASCII bytes of `text` are UTF-8 multi-byte characters, all
// of them, and no plausible Shift-JIS reading: as Shift-JIS they would hold
// a byte that starts or ends no character, or a half-width katakana, which
// Japanese text written in Shift-JIS hardly ever mixes with UTF-8's pattern.
// False for pure ASCII.
bool looks_like_utf8_text(std::string_view text);
