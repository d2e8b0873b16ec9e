#include "base/cp932.h"

std::size_t cp932_keep_length(std::string_view text, std::size_t buffer_size)
{
    if (buffer_size == 0) return 0;
    const std::size_t room = buffer_size - 1;
    if (text.size() <= room) return text.size();
    std::size_t kept = 0;
    while (kept < room) {
        const std::size_t width = cp932_is_lead(static_cast<unsigned char>(text[kept])) ? 2 : 1;
        if (kept + width > room) break;
        kept += width;
    }
    return kept;
}

namespace {

// A two-byte code as its JIS X 0208 row (1-94 from lead bytes 0x81-0x9F and
// 0xE0-0xEF, up to 120 with 0xF0-0xFC) and cell (1-94): each lead byte holds
// two rows, the second starting at trail byte 0x9F.
struct RowCell {
    int row, cell;
};

RowCell row_cell(unsigned char lead, unsigned char trail)
{
    const int first = lead <= 0x9F ? (lead - 0x81) * 2 + 1 : (lead - 0xC1) * 2 + 1;
    if (trail >= 0x9F) return {first + 1, trail - 0x9E};
    return {first, trail <= 0x7E ? trail - 0x3F : trail - 0x40};
}

// The cells of rows 1-8 that JIS X 0208 assigns, as ranges.
bool symbol_row_assigned(int row, int cell)
{
    auto in = [cell](int low, int high) { return cell >= low && cell <= high; };
    switch (row) {
    case 1:
        return true;
    case 2:
        return in(1, 14) || in(26, 33) || in(42, 48) || in(60, 74) || in(82, 89) || cell == 94;
    case 3:
        return in(16, 25) || in(33, 58) || in(65, 90);  // digits, capitals, small letters
    case 4:
        return in(1, 83);  // hiragana
    case 5:
        return in(1, 86);  // katakana
    case 6:
        return in(1, 24) || in(33, 56);  // Greek
    case 7:
        return in(1, 33) || in(49, 81);  // Cyrillic
    case 8:
        return in(1, 32);  // box drawing
    default:
        return false;
    }
}

// The kind of a two-byte code whose trail byte is valid.
Cp932Kind double_kind(unsigned char lead, unsigned char trail)
{
    const auto [row, cell] = row_cell(lead, trail);
    // Punctuation, full-width digits and letters, and kana are common text.
    const bool common_row = row == 1 || (row >= 3 && row <= 5);
    if (row >= 1 && row <= 8) {
        if (!symbol_row_assigned(row, cell)) return Cp932Kind::UNASSIGNED;
        return common_row ? Cp932Kind::COMMON : Cp932Kind::SYMBOL;
    }
    // NEC row 13: circled numbers, Roman numerals, units, and symbols.
    if (row == 13) {
        return cell == 31 || (cell >= 55 && cell <= 62) || cell >= 93 ? Cp932Kind::UNASSIGNED : Cp932Kind::EXTENSION;
    }
    if (row >= 16 && row <= 47) return row < 47 || cell <= 51 ? Cp932Kind::COMMON : Cp932Kind::UNASSIGNED;
    if (row >= 48 && row <= 84) return row < 84 || cell <= 6 ? Cp932Kind::LEVEL2 : Cp932Kind::UNASSIGNED;
    // NEC-selected IBM extensions (rows 89-92, 0xED40-0xEEFC), the user-defined
    // area (0xF040-0xF9FC) and the IBM extensions (0xFA40-0xFC4B).
    if (row >= 89 && row <= 91) return Cp932Kind::EXTENSION;
    if (row == 92) return cell == 79 || cell == 80 ? Cp932Kind::UNASSIGNED : Cp932Kind::EXTENSION;
    if (row >= 95 && row <= 118) return Cp932Kind::EXTENSION;
    if (row == 119) return cell <= 12 ? Cp932Kind::EXTENSION : Cp932Kind::UNASSIGNED;
    return Cp932Kind::UNASSIGNED;
}

// A two-byte code's place among all codes, counting valid trail bytes only.
int code_index(unsigned char lead, unsigned char trail)
{
    return lead * 188 + (trail <= 0x7E ? trail - 0x40 : trail - 0x41);
}

unsigned code_at(int index)
{
    const int place = index % 188;
    return static_cast<unsigned>(index / 188) << 8 | static_cast<unsigned>(place < 63 ? place + 0x40 : place + 0x41);
}

// The code the conversion back to code page 932 chooses for an assigned code:
// a character with two or three codes comes back as one of them. The NEC row
// 13 symbols that JIS row 2 also holds come back as row 2's; the IBM
// extensions' Roman numerals and symbols that NEC row 13 or JIS row 2 hold
// come back as those; the NEC-selected IBM extensions come back as the IBM
// extensions, whose 360 kanji they hold in the same order.
unsigned standard_code(unsigned char lead, unsigned char trail)
{
    const unsigned code = static_cast<unsigned>(lead) << 8 | trail;
    struct Pair {
        unsigned from, to;
    };
    static constexpr Pair singles[] = {
        {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
        {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE}, {0xFA54, 0x81CA},
        {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6}, {0xEEF9, 0x81CA},
    };
    for (const Pair& p : singles) {
        if (p.from == code) return p.to;
    }
    if (code >= 0xFA4A && code <= 0xFA53) return 0x8754 + (code - 0xFA4A);  // Roman numerals I-X
    if (code >= 0xEEEF && code <= 0xEEF8) return 0xFA40 + (code - 0xEEEF);  // small Roman numerals
    if (code >= 0xEEFA && code <= 0xEEFC) return 0xFA55 + (code - 0xEEFA);  // broken bar, quotes
    if (code >= 0xED40 && code <= 0xEEEC) {
        return code_at(code_index(0xFA, 0x5C) + code_index(lead, trail) - code_index(0xED, 0x40));
    }
    return code;
}

// The code point of the UTF-8 sequence at text[at] and its length; 0 when the
// bytes there are no UTF-8 (an overlong form or a surrogate included).
std::size_t utf8_at(std::string_view text, std::size_t at, unsigned& point)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const std::size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    point = c & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return 0;
        point = point << 6 | (next & 0x3F);
    }
    const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
    if (overlong || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF) return 0;
    return length;
}

// Points for a code point of the UTF-8 reading.
int utf8_points(unsigned p)
{
    auto in = [p](unsigned low, unsigned high) { return p >= low && p <= high; };
    // Japanese: CJK punctuation, kana, ideographs, full-width and half-width forms.
    if (in(0x3000, 0x30FF) || in(0x31F0, 0x31FF) || in(0x3400, 0x4DBF) || in(0x4E00, 0x9FFF) || in(0xF900, 0xFAFF) ||
        in(0xFF01, 0xFF9F) || in(0xFFE0, 0xFFE6)) {
        return 3;
    }
    // Other text: Latin letters, Greek and Cyrillic, punctuation and symbols.
    if (in(0xA0, 0x24F) || in(0x370, 0x52F) || in(0x2010, 0x2BFF) || in(0x3200, 0x33FF)) return 1;
    // Control characters, modifier and combining marks, private use, specials.
    if (in(0x80, 0x9F) || in(0x2B0, 0x36F) || in(0xE000, 0xF8FF) || in(0xFFF0, 0xFFFF)) return -2;
    return 0;
}

int shift_jis_points(Cp932Kind kind)
{
    switch (kind) {
    case Cp932Kind::COMMON:
        return 2;
    case Cp932Kind::HALF_KANA:
        return 1;
    case Cp932Kind::UNASSIGNED:
    case Cp932Kind::BROKEN:
        return -4;
    default:
        return 0;
    }
}

}  // namespace

Cp932Kind cp932_kind(std::string_view text, std::size_t at, std::size_t& length)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    length = 1;
    if (c < 0x80) return Cp932Kind::ASCII;
    if (c >= 0xA1 && c <= 0xDF) return Cp932Kind::HALF_KANA;
    if (!cp932_is_lead(c) || at + 1 == text.size()) return Cp932Kind::BROKEN;
    const unsigned char trail = static_cast<unsigned char>(text[at + 1]);
    if (!cp932_is_trail(trail)) return Cp932Kind::BROKEN;
    length = 2;
    return double_kind(c, trail);
}

EncodingScore score_encodings(std::string_view text)
{
    EncodingScore score;
    for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
        score.shift_jis += shift_jis_points(cp932_kind(text, i, length));
    }
    for (std::size_t i = 0; i < text.size();) {
        unsigned point = 0;
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
        } else if (const std::size_t length = utf8_at(text, i, point); length > 0) {
            score.utf8 += utf8_points(point);
            i += length;
        } else {
            score.utf8 -= 4;
            ++i;
        }
    }
    return score;
}

std::string cp932_table_text(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!cp932_is_lead(c)) {
            out += static_cast<char>(c);  // ASCII, half-width katakana and 0x80, 0xA0, 0xFD-0xFF come back
            continue;
        }
        // The conversion takes the byte after a lead byte as its trail, whatever it is.
        const unsigned char trail = i + 1 < text.size() ? static_cast<unsigned char>(text[++i]) : 0;
        const bool assigned = cp932_is_trail(trail) && double_kind(c, trail) != Cp932Kind::UNASSIGNED;
        const unsigned code = assigned ? standard_code(c, trail) : 0x8145;  // "・"
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}
