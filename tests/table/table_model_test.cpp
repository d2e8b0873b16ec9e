#include "table/table_model.h"

#include <climits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/table_fakes.h"

namespace {

using namespace table_fakes;
using Ints = std::vector<int>;

TEST(TableRowRules, insertion_moves_the_current_row_only_for_an_index_strictly_below_it)
{
    // Five rows, row 2 current: index, result, current row after, its label.
    const std::tuple<int, int, int, const char*> cases[] = {
        {2, 2, 2, "new"}, {1, 1, 3, "r2"},  {0, 0, 3, "r2"},   {3, 3, 2, "r2"},
        {5, 5, 2, "r2"},  {99, 5, 2, "r2"}, {-1, -1, 2, "r2"},
    };
    for (const auto& [index, result, current, label] : cases) {
        FakeTable table(5);
        TableModel model{.current_row = 2};
        const int got = table_insert_row(model, table, index, "new");
        EXPECT_EQ(std::tuple(got, model.current_row, table.rows[model.current_row].label, table.row_count()),
                  std::tuple(result, current, std::string(label), result < 0 ? 5 : 6))
            << index;
    }
}

TEST(TableRowRules, deletion_moves_the_current_row_up_for_rows_above_it_and_for_the_last_row)
{
    const std::tuple<int, int, int, bool, int> cases[] = {
        {5, 1, 4, true, 0},  {5, 1, 1, true, 1},     {5, 1, 0, true, 0},  {5, 1, 2, true, 1},
        {5, 4, 4, true, 3},  {5, 0, 4, true, 0},     {1, 0, 0, true, 0},  {5, 1, -1, false, 1},
        {5, 1, 5, false, 1}, {5, 1, 1000, false, 1}, {0, 0, 0, false, 0},
    };
    for (const auto& [rows, current, deleted, done, after] : cases) {
        FakeTable table(rows);
        TableModel model{.current_row = current};
        SCOPED_TRACE(testing::Message() << rows << " rows, current " << current << ", delete " << deleted);
        const bool deleted_now = table_delete_row(model, table, deleted) != 0;
        EXPECT_EQ(std::tuple(deleted_now, model.current_row, table.row_count()),
                  std::tuple(done, after, rows - (done ? 1 : 0)));
    }
}

TEST(TableMarkRules, a_mark_changes_only_its_bit_unless_vetoed_and_stores_what_the_listener_leaves)
{
    FakeTable table(3);
    table.rows[1].param = 0x1234;
    EXPECT_EQ(table_set_mark(table, table, 1, 1), 1);
    EXPECT_EQ(table_get_mark(table, 1), 1);
    EXPECT_EQ(table_toggle_mark(table, table, 1), 1);
    EXPECT_EQ(table.rows[1].param, 0x1234u);
    table.veto = {1};
    table.extra_bits = 0x4;
    EXPECT_EQ(table_set_mark(table, table, 1, 1) + table_toggle_mark(table, table, 1), 0);
    EXPECT_EQ(table_set_mark(table, table, 2, 1), 1);
    EXPECT_EQ(table.rows[2].param, ROW_MARK | 0x4);
    EXPECT_EQ(table.log, (Log{"ask r1 11234", "write r1", "ask r1 1234", "write r1", "ask r1 11234", "ask r1 11234",
                              "ask r2 10000", "write r2"}));

    // Rows outside the table read unmarked and are never asked about or written.
    for (int row : {-1, 3, 1000, INT_MAX, INT_MIN}) {
        EXPECT_EQ(
            table_get_mark(table, row) | table_set_mark(table, table, row, 1) | table_toggle_mark(table, table, row), 0)
            << row;
    }
    EXPECT_EQ(table.log.size(), 8u);
}

TEST(TableMarkRules, set_all_and_invert_count_rows_written_not_marks_changed)
{
    FakeTable table(4);
    table.rows[3].param = 0x8;
    table.veto = {2};
    EXPECT_EQ(table_set_all_marks(table, table, 1), 3);
    EXPECT_EQ(table_set_all_marks(table, table, 1), 3);  // marked rows are written again
    EXPECT_EQ(table.log.size(), 14u);                    // 8 questions, 6 writes
    EXPECT_EQ(table.marked(), (Ints{0, 1, 3}));
    EXPECT_EQ(table_invert_marks(table, table), 3);
    EXPECT_EQ(table.marked(), Ints{});
    EXPECT_EQ(table.rows[3].param, 0x8u);
    table.veto.clear();
    EXPECT_EQ(table_invert_marks(table, table), 4);
    EXPECT_EQ(table.marked(), (Ints{0, 1, 2, 3}));
}

TEST(TableMarkRules, next_marked_looks_after_a_row_and_delete_marked_goes_from_the_last_row_down_with_the_view_hidden)
{
    FakeTable table(5);
    table.rows[1].param = table.rows[3].param = ROW_MARK;
    for (auto [after, next] : {std::pair{-7, 1}, {-1, 1}, {0, 1}, {1, 3}, {3, -1}, {5, -1}, {INT_MAX, -1}}) {
        EXPECT_EQ(table_get_next_marked(table, after), next) << after;
    }
    TableModel model{.current_row = 4};
    EXPECT_EQ(table_delete_marked(model, table, table), 2);
    EXPECT_EQ(table_delete_marked(model, table, table), 0);
    EXPECT_EQ(table.log, (Log{"hide", "delete r3", "delete r1", "show", "hide", "show"}));
    EXPECT_EQ(table.rows.at(model.current_row).label, "r4");
    for (auto& row : table.rows) row.param = ROW_MARK;
    EXPECT_EQ(table_delete_marked(model, table, table), 3);
    EXPECT_EQ(model.current_row, 0);
}

// Five rows 16 high from y = 24, row 1 first visible, columns 50, 60, 70 wide; above y = 24 (the header) no row.
TEST(TableGeometry, hit_test_puts_right_edges_in_their_column_and_misses_outside_the_cells)
{
    FakeTable table(5, {50, 60, 70});
    table.top_row = 1;
    const TableModel model{.column_count = 3};
    const std::tuple<int, int, int, int> cases[] = {
        {10, 24, 1, 0},  {10, 39, 1, 0},   {10, 40, 2, 0},   {50, 30, 1, 0},  {51, 30, 1, 1},
        {180, 30, 1, 2}, {181, 30, -1, 0}, {-20, 30, 1, 0},  {10, 23, -1, 0}, {10, 8, -1, 0},
        {10, 87, 4, 0},  {10, 88, -1, 0},  {10, -40, -1, 0},
    };
    for (const auto& [x, y, row, column] : cases) {
        int hit_column = -9;
        EXPECT_EQ(table_hit_test(model, table, table, TablePoint{x, y}, &hit_column), row) << x << "," << y;
        EXPECT_EQ(hit_column, row < 0 ? -9 : column) << x << "," << y;
    }
    table.row_height = 0;
    EXPECT_EQ(table_hit_test(model, table, table, TablePoint{1, 30}, nullptr), -1);
    FakeTable empty;
    EXPECT_EQ(table_hit_test(model, empty, table, TablePoint{1, 30}, nullptr), -1);
}

TEST(TableGeometry, the_last_column_fills_the_client_width_left_over_or_stays)
{
    const std::tuple<Ints, int, Ints> cases[] = {
        {{32, 32, 32, 32, 128, 128}, 500, {32, 32, 32, 32, 128, 244}},
        {{32, 32, 32, 32, 128, 128}, 200, {32, 32, 32, 32, 128, 128}},
        {{32, 32, 32, 32, 128, 300}, 300, {32, 32, 32, 32, 128, 44}},
        {{80}, 300, {300}},
        {Ints{}, 300, Ints{}},
    };
    for (const auto& [widths, client, expected] : cases) {
        FakeTable table(0, widths, client);
        table_fit_last_column(TableModel{.column_count = static_cast<int>(widths.size())}, table);
        EXPECT_EQ(table.widths, expected) << client;
        EXPECT_EQ(table.log.size(), widths == expected ? 0u : 1u) << client;
    }
}

}  // namespace
