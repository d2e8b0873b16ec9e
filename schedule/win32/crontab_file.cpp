#include "schedule/win32/crontab_file.h"

#include <commctrl.h>

#include <array>

#include "schedule/crontab_line.h"
#include "table/table_messages.h"

namespace {

int send_table(HWND table, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return static_cast<int>(SendMessageA(table, message, wparam, lparam));
}

int row_count(HWND table)
{
    return send_table(table, TBLM_GETITEMCOUNT);
}

// The table never writes through pszText when it stores a text, so handing
// it a constant is sound; LVITEMA only lacks the const. Answers the message's result.
int set_cell(HWND table, UINT message, int row, int column, const char* text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text != nullptr ? text : "");
    return send_table(table, message, 0, reinterpret_cast<LPARAM>(&item));
}

// Fetches one cell into `cell`. A list view may answer by pointing pszText at
// its own copy instead of filling the buffer; that text is copied in,
// bounded. A failed fetch leaves the cell empty.
void get_cell(HWND table, int row, int column, CellText& cell)
{
    cell[0] = '\0';
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = cell.data();
    item.cchTextMax = CELL_TEXT_SIZE;
    send_table(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    if (item.pszText != nullptr && item.pszText != cell.data()) lstrcpynA(cell.data(), item.pszText, CELL_TEXT_SIZE);
    cell.back() = '\0';
}

}  // namespace

int insert_entry(HWND table, int row, const CronEntry& entry)
{
    // A refused insertion made no row: the cells would land in the row that
    // already bears this index. Past the end the table appends, and the cells
    // follow the row to the index it answers.
    row = set_cell(table, TBLM_INSERTITEM, row, COL_MONTH, entry.month);
    if (row < 0) return 0;
    set_cell(table, TBLM_SETITEM, row, COL_DAY, entry.day);
    set_cell(table, TBLM_SETITEM, row, COL_HOUR, entry.hour);
    set_cell(table, TBLM_SETITEM, row, COL_MINUTE, entry.minute);
    set_cell(table, TBLM_SETITEM, row, COL_COMMAND, entry.command);
    set_cell(table, TBLM_SETITEM, row, COL_OPTION, entry.option);
    return 1;
}

int read_entry(HWND table, int row, const CronEntryCells& cells)
{
    if (row < 0 || row >= row_count(table)) return 0;
    // Slot k (1 to 6) is column k - 1.
    CellText* const slots[COLUMN_COUNT] = {cells.month,  cells.day,     cells.hour,
                                           cells.minute, cells.command, cells.option};
    for (int column = 0; column < COLUMN_COUNT; ++column)
        if (slots[column] != nullptr) get_cell(table, row, column, *slots[column]);
    return 1;
}

int write_entry_line(HWND table, int row, HANDLE file)
{
    std::array<CellText, COLUMN_COUNT> cells{};
    int columns = send_table(table, TBLM_GETCOLUMNCOUNT);
    if (columns > COLUMN_COUNT) columns = COLUMN_COUNT;
    for (int column = 0; column < columns; ++column) get_cell(table, row, column, cells[column]);

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

int save_crontab(HWND table, HANDLE file)
{
    const int count = row_count(table);
    for (int row = 0; row < count; ++row) write_entry_line(table, row, file);
    return count;
}

int load_crontab(HWND table, const char* path)
{
    FileStream* stream = stream_open_file(path, 0, 0);
    if (stream == nullptr) return 0;
    return load_crontab_stream(table, stream);
}

int load_crontab_stream(HWND table, FileStream* stream)
{
    LineReader* reader = reader_open(&stream->head, READER_MODE_READ);
    if (reader == nullptr) {
        stream->head.ops->close(&stream->head);
        return 0;
    }

    int row = row_count(table);
    std::array<char, CRONTAB_LINE_SIZE> line;
    CrontabFields fields;
    while (const char* text = read_crontab_line(reader, line)) {
        if (scan_crontab_line(text, fields) < 6) continue;
        if (insert_entry(table, row, entry_from_fields(fields)) != 0) ++row;
    }
    reader_close(reader);
    return row;
}

int add_default_entry(HWND table)
{
    return insert_entry(table, send_table(table, TBLM_GETCURSEL), default_entry);
}
