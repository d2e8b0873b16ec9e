#pragma once
// In-memory row store, view and mark listener for testing the table's rules.
// Rows are labelled "r0", "r1", ... in column 0 so that moves can be followed.

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "table/table_model.h"

namespace table_fakes {

struct FakeRowStore : RowStore {
    struct Row {
        std::string label;
        unsigned param = 0;
    };
    explicit FakeRowStore(int count = 0)
    {
        for (int i = 0; i < count; ++i) {
            char label[16];
            std::snprintf(label, sizeof label, "r%d", i);
            rows.push_back({label, 0});
        }
    }
    bool has(int r) const { return r >= 0 && r < static_cast<int>(rows.size()); }
    int row_count() override { return static_cast<int>(rows.size()); }
    int insert_row(int index, const char* text) override
    {
        index = std::min(index, row_count());
        rows.insert(rows.begin() + index, Row{text, 0});
        return index;
    }
    int set_cell_text(int, int, const char*) override { return 0; }
    int get_cell_text(int, int, char*, int) override { return 0; }
    int get_param(int r, unsigned* p) override { return has(r) ? (*p = rows[r].param, 1) : 0; }
    int set_param(int r, unsigned p) override { return has(r) ? (rows[r].param = p, ++writes, 1) : 0; }
    int delete_row(int r) override
    {
        if (!has(r))
            return 0;
        deleted.push_back(rows[r].label);
        rows.erase(rows.begin() + r);
        return 1;
    }
    int delete_all_rows() override { return rows.clear(), 1; }
    std::vector<int> marked() const
    {
        std::vector<int> out;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].param & ROW_MARK)
                out.push_back(static_cast<int>(i));
        return out;
    }

    std::vector<Row> rows;
    std::vector<std::string> deleted;  // labels, in deletion order
    int writes = 0;
};

// Rows `row_height` high stacked from y = 24 with `top_row` first visible;
// each label starts 2 pixels right of its row's position.
struct FakeView : TableView {
    explicit FakeView(RowStore& store) : store(store) {}
    int first_visible_row() override { return top_row; }
    bool row_position(int r, TablePoint* out) override
    {
        if (r < 0 || r >= store.row_count())
            return false;
        *out = TablePoint{left_x, 24 + (r - top_row) * row_height};
        return true;
    }
    bool row_label_rect(int r, TableRect* out) override
    {
        TablePoint p{};
        if (!row_position(r, &p))
            return false;
        *out = TableRect{p.x + 2, p.y, p.x + column_width(0), p.y + row_height};
        return true;
    }
    int column_width(int c) override { return c >= 0 && c < static_cast<int>(widths.size()) ? widths[c] : 0; }
    void set_column_width(int c, int w) override { widths.at(c) = w, ++width_changes; }
    int client_width() override { return client; }
    void ensure_visible(int r) override { scrolled_to.push_back(r); }
    void invalidate(const TableRect& rect) override { invalidated.push_back(rect); }
    void update_now() override { ++updates; }
    void show_rows(bool shown) override { shows.push_back(shown); }

    RowStore& store;
    int top_row = 0, left_x = 0, row_height = 16, client = 400;
    std::vector<int> widths;
    int width_changes = 0, updates = 0;
    std::vector<int> scrolled_to;
    std::vector<TableRect> invalidated;
    std::vector<bool> shows;
};

// Records every question (row, word); vetoes the rows in `veto`; adds `extra_bits`.
struct FakeMarkListener : MarkListener {
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
