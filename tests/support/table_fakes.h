#pragma once
// An in-memory table for the table's rules: a row store that answers mark questions and is its own view, with rows
// labelled "r0", "r1", ... and every question, write, deletion, scroll and repaint logged in order.

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "table/table_model.h"
#include "table/table_painting.h"

namespace table_fakes {

using Log = std::vector<std::string>;

template <typename... Args>
std::string text(const char* format, Args... args)
{
    char out[64];
    std::snprintf(out, sizeof out, format, args...);
    return out;
}

// Rows `row_height` high stacked from (0, 24) with `top_row` first visible; each
// label starts 2 pixels right of its row. Rectangles are logged as "l,t,r,b".
struct FakeTable : RowStore, MarkListener, TableView {
    struct Row {
        std::string label;
        unsigned param = 0;
    };
    explicit FakeTable(int count = 0, std::vector<int> column_widths = {}, int client_width = 400)
        : widths(std::move(column_widths)), client(client_width)
    {
        for (int i = 0; i < count; ++i) rows.push_back({std::string(1, 'r').append(std::to_string(i))});
    }
    bool has(int r) const { return r >= 0 && static_cast<size_t>(r) < rows.size(); }
    int row_count() override { return static_cast<int>(rows.size()); }
    int insert_row(int index, const char* text) override
    {
        index = std::min(index, row_count());
        rows.insert(rows.begin() + index, Row{text});
        return index;
    }
    int set_cell_text(int, int, const char*) override { return 0; }
    int get_cell_text(int, int, char*, int) override { return 0; }
    int get_param(int r, unsigned* p) override { return has(r) ? (*p = rows[r].param, 1) : 0; }
    int set_param(int r, unsigned p) override { return has(r) ? (rows[r].param = p, note("write", r), 1) : 0; }
    int delete_row(int r) override { return has(r) ? (note("delete", r), rows.erase(rows.begin() + r), 1) : 0; }
    int delete_all_rows() override { return rows.clear(), 1; }
    // Logs "ask rN <word in hex>", adds `extra_bits` and vetoes the rows in `veto`.
    int mark_changing(int r, unsigned* param) override
    {
        log.push_back("ask " + rows.at(r).label + text(" %x", *param));
        *param |= extra_bits;
        return veto.count(r) ? 1 : 0;
    }
    void note(const char* what, int r) { log.push_back(what + (" " + rows[r].label)); }
    static std::string rect(const TableRect& r) { return text("%d,%d,%d,%d", r.left, r.top, r.right, r.bottom); }
    std::vector<int> marked() const
    {
        std::vector<int> out;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].param & ROW_MARK) out.push_back(static_cast<int>(i));
        }
        return out;
    }

    int first_visible_row() override { return top_row; }
    bool row_position(int r, TablePoint* out) override
    {
        return has(r) ? (*out = TablePoint{0, 24 + (r - top_row) * row_height}, true) : false;
    }
    bool row_label_rect(int r, TableRect* out) override
    {
        TablePoint p{};
        return row_position(r, &p) ? (*out = TableRect{2, p.y, column_width(0), p.y + row_height}, true) : false;
    }
    int column_width(int c) override { return c >= 0 && c < static_cast<int>(widths.size()) ? widths[c] : 0; }
    void set_column_width(int c, int w) override { widths.at(c) = w, log.push_back("width"); }
    int client_width() override { return client; }
    void ensure_visible(int r) override { log.push_back("scroll " + std::to_string(r)); }
    void invalidate(const TableRect& r) override { log.push_back(rect(r)); }
    void update_now() override { log.push_back("update"); }
    void show_rows(bool shown) override { log.push_back(shown ? "show" : "hide"); }

    std::vector<Row> rows;
    std::set<int> veto;
    unsigned extra_bits = 0;
    Log log;
    std::vector<int> widths;
    int client, top_row = 0, row_height = 16;
};

// Logs a paint's requests in the table's log as "mark:rN", "valid:R", "inval:R", "back:HEX",
// "text:HEX", "paint" and "edge:R"; R is "rN" for row N's whole strip, else "l,t,r,b".
struct FakePainter : TablePainter {
    FakePainter(FakeTable& painted, TableRect area) : table(painted), update(area) {}
    TableRect update_rect() override { return update; }
    int row_marked(int r) override
    {
        log("mark:" + table.rows.at(r).label);
        return (table.rows[r].param & ROW_MARK) != 0;
    }
    void validate(const TableRect& r) override { log("valid:" + name(r)); }
    void invalidate(const TableRect& r) override { log("inval:" + name(r)); }
    void set_text_back_color(unsigned c) override { log(text("back:%x", c)); }
    void set_text_color(unsigned c) override { log(text("text:%x", c)); }
    void paint_invalid() override { log("paint"); }
    void draw_edge(const TableRect& r) override { log("edge:" + name(r)); }

    void log(std::string entry) { table.log.push_back(std::move(entry)); }
    std::string name(const TableRect& r)
    {
        for (int row = 0; row < table.row_count(); ++row) {
            const int top = 24 + (row - table.top_row) * table.row_height;
            if (r.left == 2 && r.right == table.client && r.top == top && r.bottom == top + table.row_height) {
                return table.rows[row].label;
            }
        }
        return FakeTable::rect(r);
    }

    FakeTable& table;
    TableRect update;
};

}  // namespace table_fakes
