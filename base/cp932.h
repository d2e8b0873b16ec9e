#pragma once
// Code page 932 (Shift-JIS), the 8-bit encoding of every text the program
// keeps: a lead byte and the byte after it form one character, and that
// second byte may look like ASCII (0x5C, a backslash) or like a lead byte.
// Characters are therefore found by reading from the start of a text.

#include <cstddef>
#include <string>
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

// What a character of code page 932 is, by the code page's structure: the
// JIS X 0208 rows a two-byte code maps to (row 1 punctuation, 2 symbols,
// 3 full-width digits and letters, 4 hiragana, 5 katakana, 6-8 Greek,
// Cyrillic and box drawing, 16-47 level-1 kanji, 48-84 level-2 kanji) and the
// code page's own additions (NEC row 13, NEC-selected and IBM extensions,
// the user-defined area). UNASSIGNED is a code with a lead and a trail byte
// that names no character; BROKEN is a lead byte with no trail byte after it
// or a single byte that is no text (0x80, 0xA0, 0xFD-0xFF).
enum class Cp932Kind { ASCII, HALF_KANA, COMMON, LEVEL2, SYMBOL, EXTENSION, UNASSIGNED, BROKEN };

// The kind of the character that starts at text[at], and its length in bytes
// (a lead byte with no valid trail byte is one BROKEN byte).
Cp932Kind cp932_kind(std::string_view text, std::size_t at, std::size_t& length);

// How plausible each reading of a text is, in points: the UTF-8 reading gains
// for kana, CJK ideographs and full-width forms and loses for bytes that are no
// UTF-8 or decode to control or combining characters; the Shift-JIS reading
// gains for kana, punctuation and level-1 kanji and loses for unassigned codes
// and broken bytes (score_encodings in base/cp932.cpp has the points). Both 0
// for ASCII text.
struct EncodingScore {
    int utf8 = 0;
    int shift_jis = 0;
};
EncodingScore score_encodings(std::string_view text);

// What a text of code page 932 comes back as after a Unicode list view held
// it: each character converted to Unicode and back, as the system converts
// code page 932. Bytes that are no character become "・" (81 45), a lead byte
// taking the byte after it whatever that is (a blank included); the NEC and
// IBM duplicates come back as the one code the conversion back chooses.
std::string cp932_table_text(std::string_view text);

// A conversion of that kind: cp932_table_text, or on Windows the system's own
// (base/win32/cp932_system.h).
using Cp932TableText = std::string (*)(std::string_view text);
