#include "table/table_model.h"

namespace {

bool row_exists(RowStore& rows, int row)
{
    return row >= 0 && row < rows.row_count();
}

// Reads the row's parameter, lets `change` compute the new word, asks the
// listener and stores it. Answers 0 when the row is missing or vetoed, else
// the store's result.
template <typename Change>
int write_mark(RowStore& rows, MarkListener& listener, int row, Change change)
{
    unsigned param = 0;
    if (!row_exists(rows, row) || !rows.get_param(row, &param)) return 0;
    param = change(param);
    if (listener.mark_changing(row, &param) != 0) return 0;
    return rows.set_param(row, param);
}

unsigned with_mark(unsigned param, int on)
{
    return on ? (param | ROW_MARK) : (param & ~ROW_MARK);
}

}  // namespace

int table_get_mark(RowStore& rows, int row)
{
    unsigned param = 0;
    if (!row_exists(rows, row) || !rows.get_param(row, &param)) return 0;
    return (param & ROW_MARK) ? 1 : 0;
}

int table_set_mark(RowStore& rows, MarkListener& listener, int row, int on)
{
    return write_mark(rows, listener, row, [on](unsigned p) { return with_mark(p, on); });
}

int table_toggle_mark(RowStore& rows, MarkListener& listener, int row)
{
    if (!row_exists(rows, row)) return 0;
    return table_set_mark(rows, listener, row, !table_get_mark(rows, row));
}

int table_set_all_marks(RowStore& rows, MarkListener& listener, int on)
{
    const int count = rows.row_count();
    int written = 0;
    for (int row = 0; row < count; ++row) {
        if (write_mark(rows, listener, row, [on](unsigned p) { return with_mark(p, on); })) ++written;
    }
    return written;
}

int table_invert_marks(RowStore& rows, MarkListener& listener)
{
    const int count = rows.row_count();
    int written = 0;
    for (int row = 0; row < count; ++row) {
        if (write_mark(rows, listener, row, [](unsigned p) { return p ^ ROW_MARK; })) ++written;
    }
    return written;
}

int table_get_next_marked(RowStore& rows, int after)
{
    const int count = rows.row_count();
    const int first = after < 0 ? 0 : (after >= count ? count : after + 1);
    for (int row = first; row < count; ++row) {
        if (table_get_mark(rows, row)) return row;
    }
    return -1;
}

int current_row_after_insertion(int current_row, int index)
{
    return index < current_row ? current_row + 1 : current_row;
}

int current_row_after_deletion(int current_row, int deleted, int row_count)
{
    if ((deleted < current_row || deleted == row_count - 1) && current_row > 0) return current_row - 1;
    return current_row;
}

int table_insert_row(TableModel& model, RowStore& rows, int index, const char* text)
{
    if (index < 0) return -1;
    const int row = rows.insert_row(index, text);
    if (row >= 0) model.current_row = current_row_after_insertion(model.current_row, row);
    return row;
}

int table_delete_row(TableModel& model, RowStore& rows, int row)
{
    const int count = rows.row_count();
    if (row < 0 || row >= count) return 0;
    const int before = model.current_row;
    model.current_row = current_row_after_deletion(before, row, count);
    const int result = rows.delete_row(row);
    if (!result) model.current_row = before;
    return result;
}

int table_delete_marked(TableModel& model, RowStore& rows, TableView& view)
{
    view.show_rows(false);
    int deleted = 0;
    for (int row = rows.row_count() - 1; row >= 0; --row) {
        if (table_get_mark(rows, row) && table_delete_row(model, rows, row)) ++deleted;
    }
    view.show_rows(true);
    return deleted;
}
