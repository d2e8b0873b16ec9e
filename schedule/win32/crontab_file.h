#pragma once
// Moving schedule entries between CronEntry records, the rows of a table
// window (WC_TAVETABLE) and crontab files. The table is the only store: none
// of these operations keeps a copy beyond a load, which holds the file's entry
// lines until they are in the rows. All of them talk to the table only through
// its TBLM_* messages, with LVITEMA records (mask LVIF_TEXT, iItem the row,
// iSubItem the column), and run on the table's thread.
#include <windows.h>

#include <cstddef>

#include "schedule/cron_entry.h"
#include "schedule/crontab_line.h"
#include "schedule/win32/file_stream.h"

// The writable target of read_entry: CronEntry's slots 1 to 6 (month to
// option) in the same order, each null (that cell is not fetched) or a cell
// buffer of the caller's. The weekday, slot 0, has no cell and no place here.
struct CronEntryCells {
    CellText* month;    // COL_MONTH
    CellText* day;      // COL_DAY
    CellText* hour;     // COL_HOUR
    CellText* minute;   // COL_MINUTE
    CellText* command;  // COL_COMMAND
    CellText* option;   // COL_OPTION
};

// Inserts `entry` as row `row` (0 to the row count): TBLM_INSERTITEM with the
// month, then TBLM_SETITEM for columns 1 to 5 (day, hour, minute, command,
// option) at the index the table answers (the same one, short of a row past
// the end, which the table appends). The weekday slot is not used; null slots
// are written as empty cells. Inserting at or above the current row keeps the
// current row index, which then designates the new row or the same old row
// (the table's own rule). Answers 1; 0 when the table refused the row, and
// then no cell is written.
int insert_entry(HWND table, int row, const CronEntry& entry);

// Reads the cells of row `row` whose slots in `cells` are not null, in slot
// order. A fetched cell holds at most 255 bytes and its terminator; a cell the
// table cannot deliver reads as empty. Answers 0, touching no buffer, when
// `row` is negative or not below the row count (asked afresh each call);
// otherwise 1.
int read_entry(HWND table, int row, const CronEntryCells& cells);

// Writes row `row` to `file` (an open handle with write access) as one
// crontab line ending in CR LF: "minute hour day month * command option".
// Fetches the cells of the table's columns (at most six; missing columns read
// as empty). An empty time or command cell is written as "-" so that the line
// keeps its six words; see format_crontab_line. Answers 1 when the whole line
// was written, 0 when WriteFile failed or wrote fewer bytes.
int write_entry_line(HWND table, int row, HANDLE file);

// The entry lines of a crontab file, read to the file's end before any row
// changes: a file that cannot be read whole (a share that drops, a bad
// sector) then costs no rows, and never loads as a shorter schedule that the
// next Save would write over the whole file.
class CrontabEntries {
public:
    CrontabEntries() = default;
    ~CrontabEntries();
    CrontabEntries(const CrontabEntries&) = delete;
    CrontabEntries& operator=(const CrontabEntries&) = delete;

    // Reads every line of `stream` (stream_open_file) with read_crontab_line,
    // keeps those of six words or more, and closes the stream. False, keeping
    // nothing, when there is no stream, a ReadFile failed or memory ran out.
    bool read_whole(OwnedFileStream stream);

    // Inserts the entries kept after the table's rows, in file order: the
    // weekday dropped, fields cut as scan_crontab_line cuts them. Answers the
    // row count before plus the entries added (a row the table refuses is not
    // counted).
    int append_to(HWND table) const;

private:
    bool keep(const char* line);

    char* lines_ = nullptr;  // malloc'ed: the kept lines one after the other, each NUL-terminated
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The program's one loader, for File, Open and start-up alike: reads the
// crontab file `path` whole (CrontabEntries), and only then replaces the
// table's rows with its entries, in file order, with redraw off for the
// inserts (otherwise the list view redoes its layout and scroll bars for
// every row, which made a 10,000-line file take seconds; turning redraw back
// on repaints the table with its scroll bars). Lines with fewer than six words
// are skipped; a line longer than 2047 characters counts with its first 2047
// only (its rest is dropped, never read as further lines). Answers the rows
// loaded (0 for a file without an entry, which empties the table); -1, the
// table untouched, when the file cannot be opened (missing, a directory,
// refused) or read to its end, or memory runs out.
int load_crontab(HWND table, const char* path);

// Inserts default_entry at the current row (TBLM_GETCURSEL): the new row takes
// that index and is then the current row; the rows from there on move down.
// Answers as insert_entry.
int add_default_entry(HWND table);
