#include "schedule/crontab_line.h"

#include <cstddef>
#include <cstring>
#include <string_view>

#include "base/cp932.h"

namespace {

constexpr std::size_t CELL_MAX = CELL_TEXT_SIZE - 1;

}  // namespace

bool crontab_is_blank(char c)
{
    switch (static_cast<unsigned char>(c)) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

namespace {

const char* skip_blanks(const char* p)
{
    while (*p != '\0' && crontab_is_blank(*p)) ++p;
    return p;
}

// Copies the longest part of `text` that fits a cell into `out`: a text longer
// than 255 bytes is cut before a two-byte code page 932 character that would
// lose its second byte, as the editor cuts a cell, so that no cell ends in a
// lone lead byte that Save would write back before the line end.
void keep_field(std::string_view text, CellText& out)
{
    const std::size_t kept = cp932_keep_length(text, out.size());
    std::memcpy(out.data(), text.data(), kept);
    out[kept] = '\0';
}

// Copies the word at `p` into `out` (keep_field); the rest of a longer word is
// passed over all the same. Answers the position after the word.
const char* scan_word(const char* p, CellText& out)
{
    const char* start = p;
    while (*p != '\0' && !crontab_is_blank(*p)) ++p;
    keep_field(std::string_view(start, static_cast<std::size_t>(p - start)), out);
    return p;
}

// Copies the option at `p` into `out` (keep_field) and answers its whole
// length up to the line end.
int scan_option(const char* p, CellText& out)
{
    const char* start = p;
    while (*p != '\0' && *p != '\n') ++p;
    keep_field(std::string_view(start, static_cast<std::size_t>(p - start)), out);
    return static_cast<int>(p - start);
}

// True when the piece that reader_gets stored in `buf` (n bytes, whose last
// byte was set nonzero before the call) holds the end of its line: either it
// is shorter than the room, so the line ended or the stream did, or it fills
// the room and its last character is the line end.
bool piece_ends_line(const char* buf, int n)
{
    return buf[n - 1] != '\0' || buf[n - 2] == '\n';
}

char* read_piece(LineReader* reader, char* buf, int n)
{
    buf[n - 1] = 1;
    return reader_gets(reader, buf, n);
}

}  // namespace

int scan_crontab_line(const char* line, CrontabFields& fields)
{
    CrontabFieldLengths lengths;
    return scan_crontab_line(line, fields, lengths);
}

int scan_crontab_line(const char* line, CrontabFields& fields, CrontabFieldLengths& lengths)
{
    CellText* const words[] = {&fields.minute, &fields.hour,    &fields.day,
                               &fields.month,  &fields.weekday, &fields.command};
    for (CellText* w : words) (*w)[0] = '\0';
    fields.option[0] = '\0';
    lengths.fill(0);
    if (line == nullptr) return 0;

    const char* p = line;
    int converted = 0;
    for (CellText* w : words) {
        p = skip_blanks(p);
        if (*p == '\0') return converted;
        const char* start = p;
        p = scan_word(p, *w);
        lengths[static_cast<std::size_t>(converted++)] = static_cast<int>(p - start);
    }
    p = skip_blanks(p);
    if (*p == '\0') return converted;
    lengths[6] = scan_option(p, fields.option);
    return converted + 1;
}

CronEntry entry_from_fields(const CrontabFields& f)
{
    return CronEntry{f.weekday.data(), f.month.data(),   f.day.data(),   f.hour.data(),
                     f.minute.data(),  f.command.data(), f.option.data()};
}

int format_crontab_line(const CronEntry& row, CrontabLineText& line)
{
    struct Field {
        const char* text;
        bool is_word;  // an empty word would vanish from the line
    };
    const Field fields[] = {{row.minute, true}, {row.hour, true},    {row.day, true},    {row.month, true},
                            {"*", true},        {row.command, true}, {row.option, false}};
    std::size_t n = 0;
    bool first = true;
    for (const Field& f : fields) {
        if (!first) line[n++] = ' ';
        first = false;
        const char* text = f.text != nullptr ? f.text : "";
        if (f.is_word && *text == '\0') text = "-";
        for (std::size_t i = 0; i < CELL_MAX && text[i] != '\0'; ++i) {
            char c = text[i];
            line[n++] = (c == '\r' || c == '\n') ? ' ' : c;
        }
    }
    line[n++] = '\r';
    line[n++] = '\n';
    line[n] = '\0';
    return static_cast<int>(n);
}

namespace {

// The common reader: `kept` is measured only when asked for (not null), since
// it needs the whole buffer filled before each read, and the program's own
// loader, which reads every line of a file through here, never asks.
const char* read_line(LineReader* reader, std::array<char, CRONTAB_LINE_SIZE>& line, int& dropped, int* kept)
{
    constexpr int size = CRONTAB_LINE_SIZE;
    dropped = 0;
    if (kept != nullptr) {
        *kept = 0;
        // Filled first, so that the terminator is the buffer's last NUL.
        line.fill(1);
    }
    if (read_piece(reader, line.data(), size) == nullptr) return nullptr;
    if (kept != nullptr) {
        std::size_t end = line.size() - 1;
        while (line[end] != '\0') --end;
        *kept = static_cast<int>(end > 0 && line[end - 1] == '\n' ? end - 1 : end);
    }
    if (piece_ends_line(line.data(), size)) return line.data();

    // The line was cut: drop pieces until the one that holds its end.
    std::array<char, READER_CAPACITY> rest;
    const int rest_size = static_cast<int>(rest.size());
    for (;;) {
        // Filled first, so that the piece ends at the buffer's last NUL: a NUL
        // byte inside the line is stored like any other and strlen would stop there.
        rest.fill(1);
        if (read_piece(reader, rest.data(), rest_size) == nullptr) break;
        if (!piece_ends_line(rest.data(), rest_size)) {
            dropped += rest_size - 1;
            continue;
        }
        std::size_t n = rest.size() - 1;
        while (rest[n] != '\0') --n;
        dropped += static_cast<int>(n > 0 && rest[n - 1] == '\n' ? n - 1 : n);
        break;
    }
    return line.data();
}

}  // namespace

const char* read_crontab_line(LineReader* reader, std::array<char, CRONTAB_LINE_SIZE>& line)
{
    int dropped = 0;
    return read_line(reader, line, dropped, nullptr);
}

const char* read_crontab_line(LineReader* reader, std::array<char, CRONTAB_LINE_SIZE>& line, int& dropped, int& kept)
{
    return read_line(reader, line, dropped, &kept);
}
