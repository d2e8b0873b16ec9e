#include "table/table_model.h"

#include <climits>

#include <gtest/gtest.h>

#include "support/table_fakes.h"

namespace {

using table_fakes::FakeMarkListener;
using table_fakes::FakeRowStore;
using table_fakes::FakeView;

TEST(TableRowRules, insertion_moves_the_current_row_only_for_an_index_strictly_below_it)
{
    // Five rows, row 2 current: {index, result, current row after, its label}.
    const struct { int index, result, current; const char* label; } cases[] = {
        {2, 2, 2, "new"}, {1, 1, 3, "r2"}, {0, 0, 3, "r2"}, {3, 3, 2, "r2"},
        {5, 5, 2, "r2"},  {99, 5, 2, "r2"}, {-1, -1, 2, "r2"},
    };
    for (const auto& c : cases) {
        FakeRowStore rows(5);
        TableModel model;
        model.current_row = 2;
        EXPECT_EQ(table_insert_row(model, rows, c.index, "new"), c.result) << c.index;
        EXPECT_EQ(model.current_row, c.current) << c.index;
        EXPECT_EQ(rows.rows[model.current_row].label, c.label) << c.index;
        EXPECT_EQ(rows.row_count(), c.result < 0 ? 5 : 6) << c.index;
    }
}

TEST(TableRowRules, deletion_moves_the_current_row_up_for_rows_above_it_and_for_the_last_row)
{
    // {rows, current, deleted, done, current after}
    const struct { int rows, current, deleted; bool done; int after; } cases[] = {
        {5, 1, 4, true, 0}, {5, 1, 1, true, 1}, {5, 1, 0, true, 0}, {5, 1, 2, true, 1},
        {5, 4, 4, true, 3}, {5, 0, 4, true, 0}, {1, 0, 0, true, 0}, {5, 1, -1, false, 1},
        {5, 1, 5, false, 1}, {5, 1, 1000, false, 1}, {0, 0, 0, false, 0},
    };
    for (const auto& c : cases) {
        FakeRowStore rows(c.rows);
        TableModel model;
        model.current_row = c.current;
        SCOPED_TRACE(testing::Message() << c.rows << " rows, current " << c.current << ", delete " << c.deleted);
        EXPECT_EQ(table_delete_row(model, rows, c.deleted) != 0, c.done);
        EXPECT_EQ(model.current_row, c.after);
        EXPECT_EQ(rows.row_count(), c.rows - (c.done ? 1 : 0));
    }
}

TEST(TableMarkRules, a_mark_changes_only_its_bit_unless_vetoed_and_stores_what_the_listener_leaves)
{
    FakeRowStore rows(3);
    rows.rows[1].param = 0x1234;
    FakeMarkListener listener;
    EXPECT_EQ(table_set_mark(rows, listener, 1, 1), 1);
    EXPECT_EQ(table_get_mark(rows, 1), 1);
    EXPECT_EQ(table_toggle_mark(rows, listener, 1), 1);
    EXPECT_EQ(rows.rows[1].param, 0x1234u);
    EXPECT_EQ(listener.asked, (std::vector<std::pair<int, unsigned>>{{1, 0x11234}, {1, 0x1234}}));

    listener.veto = {1};
    EXPECT_EQ(table_set_mark(rows, listener, 1, 1), 0);
    EXPECT_EQ(table_toggle_mark(rows, listener, 1), 0);
    EXPECT_EQ(rows.rows[1].param, 0x1234u);

    listener.extra_bits = 0x4;
    EXPECT_EQ(table_set_mark(rows, listener, 2, 1), 1);
    EXPECT_EQ(rows.rows[2].param, ROW_MARK | 0x4);

    // Rows outside the table read unmarked and are never asked about or written.
    listener.asked.clear();
    const int writes = rows.writes;
    for (int row : {-1, 3, 1000, INT_MAX, INT_MIN}) {
        EXPECT_EQ(table_get_mark(rows, row), 0) << row;
        EXPECT_EQ(table_set_mark(rows, listener, row, 1), 0) << row;
        EXPECT_EQ(table_toggle_mark(rows, listener, row), 0) << row;
    }
    EXPECT_TRUE(listener.asked.empty());
    EXPECT_EQ(rows.writes, writes);
}

TEST(TableMarkRules, set_all_and_invert_count_rows_written_not_marks_changed)
{
    FakeRowStore rows(6);
    FakeMarkListener listener;
    listener.veto = {2};
    EXPECT_EQ(table_set_all_marks(rows, listener, 1), 5);
    EXPECT_EQ(rows.marked(), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(table_set_all_marks(rows, listener, 1), 5);  // already marked rows count again
    EXPECT_EQ(listener.asked.size(), 12u);

    listener.veto.clear();
    rows.rows[4].param |= 0x8;
    EXPECT_EQ(table_invert_marks(rows, listener), 6);
    EXPECT_EQ(rows.marked(), std::vector<int>{2});
    EXPECT_EQ(rows.rows[4].param, 0x8u);
    EXPECT_EQ(table_invert_marks(rows, listener), 6);
    EXPECT_EQ(rows.marked(), (std::vector<int>{0, 1, 3, 4, 5}));

    listener.veto = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(table_set_all_marks(rows, listener, 0), 0);
    EXPECT_EQ(table_invert_marks(rows, listener), 0);
    EXPECT_EQ(rows.marked().size(), 5u);
}

TEST(TableMarkRules, delete_marked_works_from_the_last_row_down_and_moves_the_current_row)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    rows.rows[1].param = rows.rows[3].param = ROW_MARK;
    TableModel model;
    model.current_row = 4;
    EXPECT_EQ(table_delete_marked(model, rows, view), 2);
    EXPECT_EQ(rows.deleted, (std::vector<std::string>{"r3", "r1"}));
    EXPECT_EQ(model.current_row, 2);
    EXPECT_EQ(rows.rows[2].label, "r4");
    EXPECT_EQ(table_delete_marked(model, rows, view), 0);
    EXPECT_EQ(view.shows, (std::vector<bool>{false, true, false, true}));  // also with no marks

    for (auto& row : rows.rows)
        row.param = ROW_MARK;
    EXPECT_EQ(table_delete_marked(model, rows, view), 3);
    EXPECT_EQ(model.current_row, 0);
}

TEST(TableMarkRules, next_marked_searches_after_the_given_row_in_ascending_order)
{
    FakeRowStore rows(6);
    rows.rows[1].param = rows.rows[4].param = ROW_MARK;
    const std::pair<int, int> cases[] = {{-1, 1}, {0, 1}, {1, 4}, {4, -1}, {6, -1}, {INT_MAX, -1}, {-7, 1}};
    for (auto [after, expected] : cases)
        EXPECT_EQ(table_get_next_marked(rows, after), expected) << after;
}

// Five rows 16 high from y = 24, row 1 first visible, columns 50, 60, 70 wide.
TEST(TableGeometry, hit_test_puts_right_edges_in_their_column_and_misses_outside_the_cells)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    view.widths = {50, 60, 70};
    view.top_row = 1;
    TableModel model;
    model.column_count = 3;
    const struct { int x, y, row, column; } cases[] = {
        {10, 24, 1, 0}, {10, 39, 1, 0}, {10, 40, 2, 0}, {50, 30, 1, 0}, {51, 30, 1, 1},
        {180, 30, 1, 2}, {181, 30, -1, 0}, {-20, 30, 1, 0}, {10, 10, 1, 0}, {10, 8, 0, 0},
        {10, 87, 4, 0}, {10, 88, -1, 0}, {10, -40, -1, 0},
    };
    for (const auto& c : cases) {
        int column = -9;
        EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{c.x, c.y}, &column), c.row) << c.x << "," << c.y;
        EXPECT_EQ(column, c.row < 0 ? -9 : c.column) << c.x << "," << c.y;
    }
    view.row_height = 0;
    EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{1, 30}, nullptr), -1);
    FakeRowStore empty;
    EXPECT_EQ(table_hit_test(model, empty, view, TablePoint{1, 30}, nullptr), -1);
}

TEST(TableGeometry, setting_the_current_row_scrolls_and_repaints_both_strips_once)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    view.widths = {50};
    view.client = 300;
    TableModel model;
    model.current_row = 1;
    EXPECT_TRUE(table_set_current_row(model, rows, view, 3));
    EXPECT_EQ(model.current_row, 3);
    EXPECT_EQ(view.scrolled_to, std::vector<int>{3});
    ASSERT_EQ(view.invalidated.size(), 2u);
    const TableRect old_strip = view.invalidated[0], new_strip = view.invalidated[1];
    EXPECT_EQ((std::vector<int>{old_strip.left, old_strip.top, old_strip.right, old_strip.bottom}),
              (std::vector<int>{2, 40, 300, 56}));
    EXPECT_EQ(new_strip.top, 72);
    EXPECT_EQ(view.updates, 1);
    for (int row : {3, -1, 5}) {
        EXPECT_EQ(table_set_current_row(model, rows, view, row), row == 3) << row;
        EXPECT_EQ(model.current_row, 3);
    }
    EXPECT_EQ(view.invalidated.size() + view.scrolled_to.size() + view.updates, 4u);
}

TEST(TableGeometry, the_last_column_fills_the_client_width_left_over_or_stays)
{
    const struct { std::vector<int> widths; int client; std::vector<int> expected; } cases[] = {
        {{32, 32, 32, 32, 128, 128}, 500, {32, 32, 32, 32, 128, 244}},
        {{32, 32, 32, 32, 128, 128}, 200, {32, 32, 32, 32, 128, 128}},
        {{32, 32, 32, 32, 128, 300}, 300, {32, 32, 32, 32, 128, 44}},
        {{80}, 300, {300}},
        {{}, 300, {}},
    };
    for (const auto& c : cases) {
        FakeRowStore rows(1);
        FakeView view(rows);
        view.widths = c.widths;
        view.client = c.client;
        TableModel model;
        model.column_count = static_cast<int>(c.widths.size());
        table_fit_last_column(model, view);
        EXPECT_EQ(view.widths, c.expected) << c.client;
        EXPECT_LE(view.width_changes, 1);
    }
}

}  // namespace
