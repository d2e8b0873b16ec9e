#include "schedule/win32/crontab_file.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "schedule/crontab_line.h"
#include "table/table_messages.h"
#include "table/win32/table_calls.h"

int insert_entry(HWND table, int row, const CronEntry& entry)
{
    // A refused insertion made no row: the cells would land in the row that
    // already bears this index. Past the end the table appends, and the cells
    // follow the row to the index it answers.
    row = table_insert_item(table, row, entry.month);  // COL_MONTH
    if (row < 0) return 0;
    table_set_cell(table, row, COL_DAY, entry.day);
    table_set_cell(table, row, COL_HOUR, entry.hour);
    table_set_cell(table, row, COL_MINUTE, entry.minute);
    table_set_cell(table, row, COL_COMMAND, entry.command);
    table_set_cell(table, row, COL_OPTION, entry.option);
    return 1;
}

int read_entry(HWND table, int row, const CronEntryCells& cells)
{
    if (row < 0 || row >= table_row_count(table)) return 0;
    // Slot k (1 to 6) is column k - 1.
    CellText* const slots[COLUMN_COUNT] = {cells.month,  cells.day,     cells.hour,
                                           cells.minute, cells.command, cells.option};
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        if (slots[column] == nullptr) continue;
        (*slots[column])[0] = '\0';  // a cell the table cannot deliver reads as empty
        table_get_cell(table, row, column, slots[column]->data(), CELL_TEXT_SIZE);
    }
    return 1;
}

int write_entry_line(HWND table, int row, HANDLE file)
{
    std::array<CellText, COLUMN_COUNT> cells{};  // empty unless fetched
    int columns = table_column_count(table);
    if (columns > COLUMN_COUNT) columns = COLUMN_COUNT;
    for (int column = 0; column < columns; ++column) {
        table_get_cell(table, row, column, cells[column].data(), CELL_TEXT_SIZE);
    }

    const CronEntry entry{"*",
                          cells[COL_MONTH].data(),
                          cells[COL_DAY].data(),
                          cells[COL_HOUR].data(),
                          cells[COL_MINUTE].data(),
                          cells[COL_COMMAND].data(),
                          cells[COL_OPTION].data()};
    CrontabLineText line;
    const int length = format_crontab_line(entry, line);
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, line.data(), static_cast<DWORD>(length), &written, nullptr);
    return wrote && written == static_cast<DWORD>(length) ? 1 : 0;
}

CrontabEntries::~CrontabEntries()
{
    std::free(lines_);
}

bool CrontabEntries::keep(const char* line)
{
    // A line holds at most 2047 characters and its terminator, so one doubling
    // of at least 4096 bytes always makes room.
    const std::size_t length = std::strlen(line) + 1;
    if (capacity_ - size_ < length) {
        if (capacity_ > SIZE_MAX / 2) return false;
        const std::size_t capacity = capacity_ > 0 ? capacity_ * 2 : 4096;
        char* grown = static_cast<char*>(std::realloc(lines_, capacity));
        if (grown == nullptr) return false;
        lines_ = grown;
        capacity_ = capacity;
    }
    std::memcpy(lines_ + size_, line, length);
    size_ += length;
    return true;
}

bool CrontabEntries::read_whole(OwnedFileStream file)
{
    size_ = 0;
    if (!file) return false;
    // The reader owns the stream from here on; the stream lives until the
    // reader closes, so its failure flag can be read after the last line.
    FileStream* stream = file.release();
    OwnedLineReader reader(&stream->head, READER_MODE_READ);
    if (!reader) {
        return false;
    }
    bool kept = true;
    std::array<char, CRONTAB_LINE_SIZE> line;
    CrontabFields fields;
    // The scan stops at a NUL byte, so the text up to the first one is all
    // that append_to needs to scan the same fields again.
    while (const char* text = read_crontab_line(reader.get(), line)) {
        if (scan_crontab_line(text, fields) < 6) continue;
        if (!keep(text)) {
            kept = false;
            break;
        }
    }
    // A failed read ends the stream as its end would: only the flag tells them apart.
    const bool whole = kept && stream->failed == 0;
    reader.close();
    if (!whole) size_ = 0;
    return whole;
}

int CrontabEntries::append_to(HWND table) const
{
    int row = table_row_count(table);
    CrontabFields fields;
    for (std::size_t at = 0; at < size_; at += std::strlen(lines_ + at) + 1) {
        scan_crontab_line(lines_ + at, fields);
        if (insert_entry(table, row, entry_from_fields(fields)) != 0) ++row;
    }
    return row;
}

int load_crontab(HWND table, const char* path)
{
    CrontabEntries entries;
    if (!entries.read_whole(OwnedFileStream(stream_open_file(path, 0, 0)))) return -1;
    SendMessageA(table, TBLM_DELETEALLITEMS, 0, 0);
    SendMessageA(table, WM_SETREDRAW, FALSE, 0);
    const int loaded = entries.append_to(table);
    SendMessageA(table, WM_SETREDRAW, TRUE, 0);
    return loaded;
}

int add_default_entry(HWND table)
{
    return insert_entry(table, table_current_row(table), default_entry);
}
