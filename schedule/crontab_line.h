#pragma once
// One line of a crontab file: scanning it into fields, formatting a row back
// into a line, and reading whole lines from a line reader.
//
//   line   := blank* word blank+ word blank+ word blank+ word blank+ word
//             blank+ word [ blank+ option ] "\n"?
//   fields :  minute   hour     day      month    weekday  command
//   blank  := " " | "\t" | "\v" | "\f" | "\r" | "\n"   (isspace of the C locale)
//   word   := one or more non-blank bytes
//   option := everything from the first non-blank byte to the first "\n" or
//             the end of the text; blanks inside and at its end belong to it
//
// No comment syntax, no quoting: a line whose first word begins with "#" is
// an entry like any other.
#include <array>

#include "schedule/cron_entry.h"
#include "schedule/line_reader.h"
#include "table/table_messages.h"

// The loader's line buffer: at most 2047 characters and the terminator.
constexpr int CRONTAB_LINE_SIZE = 2048;

// The seven fields of a scanned line, each NUL-terminated and at most 255
// bytes: a longer word or option keeps its longest prefix of whole code page
// 932 characters that fits (255 bytes, or 254 when a two-byte character
// would straddle the limit).
struct CrontabFields {
    CellText minute;
    CellText hour;
    CellText day;
    CellText month;
    CellText weekday;
    CellText command;
    CellText option;
};

// Scans `line` (NUL-terminated; a NUL ends it) into `fields` in line order
// and answers the number of fields converted, 0 to 7. Fields past the last
// converted one are left empty. A line with fewer than six words is no
// entry; with exactly six, the option is empty.
int scan_crontab_line(const char* line, CrontabFields& fields);

// The scan's blank: white space of the C locale, whatever locale the process
// runs in; bytes of 0x80 and up (code page 932 lead and trail bytes among
// them) are never blank.
bool crontab_is_blank(char c);

// The byte length of each field in the line, in line order (minute to
// option), before any cut to 255 bytes; 0 for fields not converted.
using CrontabFieldLengths = std::array<int, 7>;

// scan_crontab_line that also answers how long each field was in the line.
int scan_crontab_line(const char* line, CrontabFields& fields, CrontabFieldLengths& lengths);

// The entry that a scan with six or seven fields describes; its slots refer
// into `fields`, which must outlive it. The option is empty for six fields.
CronEntry entry_from_fields(const CrontabFields& fields);

// Room for the longest line format_crontab_line writes: six cells of 255
// bytes, "*", six separating spaces, CR LF and the terminator.
constexpr int CRONTAB_FORMAT_SIZE = 6 * (CELL_TEXT_SIZE - 1) + 1 + 6 + 2 + 1;
using CrontabLineText = std::array<char, CRONTAB_FORMAT_SIZE>;

// Formats one row as "minute hour day month * command option\r\n" into
// `line` and answers its length in bytes (without the terminator). The
// weekday slot of `row` is not used: the weekday field is always "*". Null
// slots read as empty texts.
//
// So that every row loads back as the same row:
// - an empty cell among month, day, hour, minute and command is written as
//   "-" (a time pattern admitting no value, a name no command bears), so the
//   line keeps its six words;
// - a CR or LF inside a cell is written as a space, so the row stays one line;
// - each cell is cut after 255 bytes, the cell limit, so the line always fits.
int format_crontab_line(const CronEntry& row, CrontabLineText& line);

// Reads the next line of a crontab file from `reader` into `line` and answers
// `line.data()`, or null at the end of the stream. A line longer than 2047
// characters comes back as its first 2047 characters, and the rest of it is
// read and dropped, so that its tail never passes for a line of its own.
const char* read_crontab_line(LineReader* reader, std::array<char, CRONTAB_LINE_SIZE>& line);

// read_crontab_line that also answers in `dropped` how many characters of an
// over-long line were dropped (its line end not counted; 0 for other lines),
// and in `kept` how many bytes `line` holds before its "\n" or terminator. A
// NUL byte in the line is kept like any other, so `kept` can pass the first
// NUL, where the line scan stops.
const char* read_crontab_line(LineReader* reader, std::array<char, CRONTAB_LINE_SIZE>& line, int& dropped, int& kept);
