#include "table/table_model.h"

int table_hit_test(const TableModel& model, RowStore& rows, TableView& view, TablePoint p, int* column)
{
    const int count = rows.row_count();
    if (count <= 0) return -1;
    const int top = view.first_visible_row();
    TablePoint origin{};
    TableRect label{};
    if (!view.row_position(top, &origin) || !view.row_label_rect(top, &label)) return -1;
    const int height = label.bottom - label.top;
    if (height <= 0) return -1;
    // Above the top row's edge lies the list view's header (or nothing): no
    // row there. Division truncating toward zero would put the header's lower
    // part on the top row, and, scrolled, its upper part on the row above.
    const long long below_top = static_cast<long long>(p.y) - origin.y;
    if (below_top < 0) return -1;
    const long long row = top + below_top / height;
    if (row < 0 || row >= count) return -1;
    TablePoint start{};
    if (!view.row_position(static_cast<int>(row), &start)) return -1;
    long long x = start.x;
    for (int c = 0; c < model.column_count; ++c) {
        x += view.column_width(c);
        if (x >= p.x) {
            if (column) *column = c;
            return static_cast<int>(row);
        }
    }
    return -1;
}

bool table_row_strip(RowStore& rows, TableView& view, int row, TableRect* out)
{
    if (row < 0 || row >= rows.row_count()) return false;
    TableRect label{};
    if (!view.row_label_rect(row, &label)) return false;
    label.right = view.client_width();
    *out = label;
    return true;
}

bool table_cell_rect(const TableModel& model, RowStore& rows, TableView& view, int row, int column, CellRect* out)
{
    if (row < 0 || row >= rows.row_count() || column < 0 || column >= model.column_count) return false;
    TablePoint origin{};
    TableRect label{};
    if (!view.row_position(row, &origin) || !view.row_label_rect(row, &label)) return false;
    int x = origin.x;
    for (int c = 0; c < column; ++c) x += view.column_width(c);
    *out = CellRect{x, origin.y, view.column_width(column), label.bottom - label.top};
    return true;
}

bool table_set_current_row(TableModel& model, RowStore& rows, TableView& view, int row)
{
    if (row < 0 || row >= rows.row_count()) return false;
    if (row == model.current_row) return true;
    view.ensure_visible(row);
    TableRect strip{};
    if (table_row_strip(rows, view, model.current_row, &strip)) view.invalidate(strip);
    model.current_row = row;
    if (table_row_strip(rows, view, row, &strip)) view.invalidate(strip);
    view.update_now();
    return true;
}

void table_fit_last_column(const TableModel& model, TableView& view)
{
    // With no column there is nothing to widen.
    if (model.column_count <= 0) return;
    const int last = model.column_count < 2 ? 0 : model.column_count - 1;
    long long left_of_last = 0;
    for (int c = 0; c < model.column_count - 1; ++c) left_of_last += view.column_width(c);
    const int width = view.client_width();
    if (left_of_last < width) view.set_column_width(last, static_cast<int>(width - left_of_last));
}
