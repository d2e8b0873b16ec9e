#pragma once
// In-memory row store, view and mark listener for testing the table's rules.
// Rows are labelled "r0", "r1", ... at creation so that moves can be followed.

#include <cstdio>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "table/table_model.h"

namespace table_fakes {

struct FakeRow {
    std::vector<std::string> cells;
    unsigned param = 0;
};

class FakeRowStore : public RowStore {
public:
    explicit FakeRowStore(int count = 0)
    {
        for (int i = 0; i < count; ++i) {
            char label[16];
            snprintf(label, sizeof label, "r%d", i);
            rows.push_back(FakeRow{{label}, 0});
        }
    }
    int row_count() override { return static_cast<int>(rows.size()); }
    int insert_row(int index, const char* text) override
    {
        if (index < 0)
            return -1;
        if (index > row_count())
            index = row_count();
        rows.insert(rows.begin() + index, FakeRow{{text ? text : ""}, 0});
        return index;
    }
    int set_cell_text(int row, int column, const char* text) override
    {
        if (!has(row) || column < 0)
            return 0;
        auto& cells = rows[row].cells;
        if (cells.size() <= static_cast<size_t>(column))
            cells.resize(column + 1);
        cells[column] = text;
        return 1;
    }
    int get_cell_text(int row, int column, char* buffer, int size) override
    {
        if (!has(row) || column < 0 || static_cast<size_t>(column) >= rows[row].cells.size())
            return 0;
        snprintf(buffer, size, "%s", rows[row].cells[column].c_str());
        return 1;
    }
    int get_param(int row, unsigned* param) override
    {
        if (!has(row))
            return 0;
        *param = rows[row].param;
        return 1;
    }
    int set_param(int row, unsigned param) override
    {
        if (!has(row))
            return 0;
        rows[row].param = param;
        ++writes;
        return 1;
    }
    int delete_row(int row) override
    {
        if (!has(row))
            return 0;
        deleted.push_back(rows[row].cells[0]);
        rows.erase(rows.begin() + row);
        return 1;
    }
    int delete_all_rows() override
    {
        rows.clear();
        return 1;
    }
    void mark(std::initializer_list<int> which)
    {
        for (int r : which)
            rows[r].param |= ROW_MARK;
    }
    std::vector<int> marked() const
    {
        std::vector<int> out;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].param & ROW_MARK)
                out.push_back(static_cast<int>(i));
        return out;
    }
    std::string label(int row) const { return rows[row].cells[0]; }

    std::vector<FakeRow> rows;
    std::vector<std::string> deleted;  // labels, in deletion order
    int writes = 0;

private:
    bool has(int row) const { return row >= 0 && row < static_cast<int>(rows.size()); }
};

// Rows of equal height stacked from `top_y`, scrolled so that `top_row` is the
// first visible row; the label starts `label_inset` pixels right of the row.
class FakeView : public TableView {
public:
    explicit FakeView(RowStore& rows) : rows_(rows) {}
    int first_visible_row() override { return top_row; }
    bool row_position(int row, TablePoint* out) override
    {
        if (row < 0 || row >= rows_.row_count())
            return false;
        *out = TablePoint{left_x, top_y + (row - top_row) * row_height};
        return true;
    }
    bool row_label_rect(int row, TableRect* out) override
    {
        TablePoint p{};
        if (!row_position(row, &p))
            return false;
        const int width0 = widths.empty() ? 0 : widths[0];
        *out = TableRect{p.x + label_inset, p.y, p.x + width0, p.y + row_height};
        return true;
    }
    int column_width(int column) override
    {
        return column >= 0 && column < static_cast<int>(widths.size()) ? widths[column] : 0;
    }
    void set_column_width(int column, int width) override
    {
        width_changes.push_back({column, width});
        widths.at(column) = width;
    }
    int client_width() override { return client; }
    void ensure_visible(int row) override { scrolled_to.push_back(row); }
    void invalidate(const TableRect& rect) override { invalidated.push_back(rect); }
    void update_now() override { ++updates; }
    void show_rows(bool shown) override { shows.push_back(shown); }

    int top_row = 0;
    int top_y = 24;
    int left_x = 0;
    int row_height = 16;
    int label_inset = 2;
    int client = 400;
    std::vector<int> widths;
    std::vector<std::pair<int, int>> width_changes;
    std::vector<int> scrolled_to;
    std::vector<TableRect> invalidated;
    std::vector<bool> shows;
    int updates = 0;

private:
    RowStore& rows_;
};

// Records every question; vetoes the rows in `veto`; may add bits to the word.
class FakeMarkListener : public MarkListener {
public:
    int mark_changing(int row, unsigned* param) override
    {
        asked.push_back({row, *param});
        *param |= extra_bits;
        return veto.count(row) ? 1 : 0;
    }
    std::set<int> veto;
    unsigned extra_bits = 0;
    std::vector<std::pair<int, unsigned>> asked;
};

}  // namespace table_fakes
