#pragma once
// The table control's rules, free of any window system: the current row, the
// row marks, hit testing and the fit of the last column. They work over two
// small interfaces, a row store and a view, which the Win32 binding implements
// over a list view and the tests implement in memory.

#include "table/table_messages.h"

struct TablePoint {
    int x;
    int y;
};

// Edges in view client pixels; right and bottom are exclusive.
struct TableRect {
    int left;
    int top;
    int right;
    int bottom;
};

// A cell's rectangle as position and size, in view client pixels.
struct CellRect {
    int x;
    int y;
    int width;
    int height;
};

// Where the rows live. Rows are addressed 0 .. row_count() - 1; every operation
// given a row outside that range fails without touching anything.
struct RowStore {
    virtual int row_count() = 0;
    // Inserts a row with `text` (may be null) in column 0 before `index`; an index
    // at or past the end appends. Answers the new row's index or -1.
    virtual int insert_row(int index, const char* text) = 0;
    // Nonzero on success.
    virtual int set_cell_text(int row, int column, const char* text) = 0;
    // Copies at most size - 1 bytes and a terminator into buffer; nonzero on success.
    virtual int get_cell_text(int row, int column, char* buffer, int size) = 0;
    // The row's 32-bit parameter word; nonzero on success.
    virtual int get_param(int row, unsigned* param) = 0;
    // Stores the parameter word; answers the store's result (nonzero on success).
    virtual int set_param(int row, unsigned param) = 0;
    virtual int delete_row(int row) = 0;
    virtual int delete_all_rows() = 0;

protected:
    ~RowStore() = default;
};

// The geometry and drawing of the rows, in view client pixels.
struct TableView {
    virtual int first_visible_row() = 0;
    // Top-left corner of the row's item; false when the row does not exist.
    virtual bool row_position(int row, TablePoint* out) = 0;
    // The row's label rectangle (column 0's text area, full row height).
    virtual bool row_label_rect(int row, TableRect* out) = 0;
    virtual int column_width(int column) = 0;
    virtual void set_column_width(int column, int width) = 0;
    // Right edge of the client area (excludes a shown vertical scroll bar).
    virtual int client_width() = 0;
    // Scrolls so that at least part of the row is visible.
    virtual void ensure_visible(int row) = 0;
    // Marks a rectangle for repainting, without erasing.
    virtual void invalidate(const TableRect& rect) = 0;
    // Repaints whatever is invalid, at once.
    virtual void update_now() = 0;
    // Hides or shows the whole view (used around bulk deletions).
    virtual void show_rows(bool shown) = 0;

protected:
    ~TableView() = default;
};

// Asked before each write of a row's parameter word by a mark operation. It may
// rewrite *param; a nonzero answer vetoes the write of this row.
struct MarkListener {
    virtual int mark_changing(int row, unsigned* param) = 0;

protected:
    ~MarkListener() = default;
};

// The table's own state next to the rows. current_row is never negative: 0 on an
// empty table, otherwise within 0 .. row count - 1. edit_row is -1 while no cell
// is being edited.
struct TableModel {
    int column_count = 0;
    int current_row = 0;
    int edit_row = -1;
    int edit_column = 0;
};

// Marks. A row outside the table reads as unmarked; writing it stores nothing,
// asks nobody and answers 0.
int table_get_mark(RowStore& rows, int row);
// Answers 0 when vetoed, else the store's result.
int table_set_mark(RowStore& rows, MarkListener& listener, int row, int on);
int table_toggle_mark(RowStore& rows, MarkListener& listener, int row);
// Every row is asked and, unless vetoed, written, whatever its mark was. Both
// answer the number of rows written, not the number of marks that changed.
int table_set_all_marks(RowStore& rows, MarkListener& listener, int on);
int table_invert_marks(RowStore& rows, MarkListener& listener);
// First marked row after `after` (-1 searches from row 0), or -1.
int table_get_next_marked(RowStore& rows, int after);
// Deletes every marked row from the last one down, with the view hidden
// meanwhile, moving the current row by the deletion rule. Answers the count.
int table_delete_marked(TableModel& model, RowStore& rows, TableView& view);

// The current row after inserting at `index` (the index the row landed at):
// only an index strictly below the current row moves it down.
int current_row_after_insertion(int current_row, int index);
// The current row after deleting row `deleted` of `row_count` rows: it moves up
// when a row above it or the last row of the table goes, never below 0.
int current_row_after_deletion(int current_row, int deleted, int row_count);

// Inserts a row (a negative index inserts nothing) and applies the insertion
// rule. Answers the new row's index or -1.
int table_insert_row(TableModel& model, RowStore& rows, int index, const char* text);
// Deletes a row that exists and applies the deletion rule. Nonzero on success.
int table_delete_row(TableModel& model, RowStore& rows, int row);

// Geometry. table_hit_test answers the row under p and writes its column to
// *column (if column is not null), or answers -1 when p hits no cell (above
// the first visible row's top edge, on the header, included).
int table_hit_test(const TableModel& model, RowStore& rows, TableView& view, TablePoint p, int* column);
// The band of the row from the left of column 0's label to the client's right
// edge; false when the row does not exist.
bool table_row_strip(RowStore& rows, TableView& view, int row, TableRect* out);
// The cell's rectangle; false when the cell does not exist.
bool table_cell_rect(const TableModel& model, RowStore& rows, TableView& view, int row, int column, CellRect* out);
// Makes `row` current: scrolls it into view and repaints the old and new rows.
// False (nothing changes) when the row does not exist; true and nothing else
// when it already is current.
bool table_set_current_row(TableModel& model, RowStore& rows, TableView& view, int row);
// Makes the last column fill the client width left of it (wider or narrower);
// nothing changes when the other columns already fill it.
void table_fit_last_column(const TableModel& model, TableView& view);
