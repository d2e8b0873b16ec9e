#include "table/table_model.h"

#include <gtest/gtest.h>

#include "support/table_fakes.h"

namespace {

using table_fakes::FakeRowStore;
using table_fakes::FakeView;

struct HitCase {
    int x;
    int y;
    int expected_row;
    int expected_column;
};

// Rows 16 high from y = 24, columns 50, 60 and 70 wide from x = 0, 5 rows,
// scrolled so that row 1 is the first visible row.
TEST(TableGeometry, hit_test_finds_row_and_column_with_right_edges_inside_their_column)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    view.widths = {50, 60, 70};
    view.top_row = 1;
    TableModel model;
    model.column_count = 3;
    const HitCase cases[] = {
        {10, 24, 1, 0},   {10, 39, 1, 0}, {10, 40, 2, 0},
        {50, 30, 1, 0},   // exactly on the boundary of columns 0 and 1
        {51, 30, 1, 1},   {110, 30, 1, 1}, {111, 30, 1, 2}, {180, 30, 1, 2},
        {181, 30, -1, 0},  // right of the last column
        {-20, 30, 1, 0},   // left of the row's start
        {10, 10, 1, 0},    // less than a row above the first visible row
        {10, 8, 0, 0},     // a full row above it: the hidden row 0
        {10, 87, 4, 0},    {10, 88, -1, 0},  // below the last row
        {10, -40, -1, 0},
    };
    for (const auto& c : cases) {
        int column = -99;
        EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{c.x, c.y}, &column), c.expected_row)
            << c.x << "," << c.y;
        if (c.expected_row >= 0) {
            EXPECT_EQ(column, c.expected_column) << c.x << "," << c.y;
        }
    }
    // A null column pointer still answers the row.
    EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{60, 30}, nullptr), 1);
}

TEST(TableGeometry, hit_test_answers_no_row_for_an_empty_table_or_no_columns_or_zero_height)
{
    FakeRowStore empty;
    FakeView empty_view(empty);
    empty_view.widths = {50};
    TableModel model;
    model.column_count = 1;
    EXPECT_EQ(table_hit_test(model, empty, empty_view, TablePoint{1, 30}, nullptr), -1);

    FakeRowStore rows(2);
    FakeView view(rows);
    view.widths = {50};
    model.column_count = 0;
    EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{1, 30}, nullptr), -1);
    model.column_count = 1;
    view.row_height = 0;
    EXPECT_EQ(table_hit_test(model, rows, view, TablePoint{1, 30}, nullptr), -1);
}

TEST(TableGeometry, cell_rect_adds_the_widths_left_of_the_column_and_takes_the_label_height)
{
    FakeRowStore rows(3);
    FakeView view(rows);
    view.widths = {50, 60, 70};
    view.left_x = -5;
    TableModel model;
    model.column_count = 3;
    CellRect cell{};
    ASSERT_TRUE(table_cell_rect(model, rows, view, 2, 2, &cell));
    EXPECT_EQ(cell.x, -5 + 50 + 60);
    EXPECT_EQ(cell.y, 24 + 2 * 16);
    EXPECT_EQ(cell.width, 70);
    EXPECT_EQ(cell.height, 16);
    for (auto [r, c] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 3}})
        EXPECT_FALSE(table_cell_rect(model, rows, view, r, c, &cell)) << r << "," << c;
}

TEST(TableGeometry, setting_the_current_row_scrolls_and_repaints_both_strips_once)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    view.widths = {50, 60};
    view.client = 300;
    TableModel model;
    model.current_row = 1;

    EXPECT_TRUE(table_set_current_row(model, rows, view, 3));
    EXPECT_EQ(model.current_row, 3);
    EXPECT_EQ(view.scrolled_to, std::vector<int>{3});
    ASSERT_EQ(view.invalidated.size(), 2u);
    // Strips run from the label's left to the client's right edge.
    EXPECT_EQ(view.invalidated[0].top, 24 + 16);
    EXPECT_EQ(view.invalidated[0].left, 2);
    EXPECT_EQ(view.invalidated[0].right, 300);
    EXPECT_EQ(view.invalidated[1].top, 24 + 3 * 16);
    EXPECT_EQ(view.invalidated[1].bottom, 24 + 4 * 16);
    EXPECT_EQ(view.updates, 1);

    // The current row again, or a row outside the table: nothing happens.
    for (int row : {3, -1, 5, 1000}) {
        EXPECT_EQ(table_set_current_row(model, rows, view, row), row == 3) << row;
        EXPECT_EQ(model.current_row, 3);
    }
    EXPECT_EQ(view.scrolled_to.size(), 1u);
    EXPECT_EQ(view.invalidated.size(), 2u);
    EXPECT_EQ(view.updates, 1);

    FakeRowStore empty;
    FakeView empty_view(empty);
    TableModel empty_model;
    EXPECT_FALSE(table_set_current_row(empty_model, empty, empty_view, 0));
    EXPECT_EQ(empty_model.current_row, 0);
}

TEST(TableGeometry, the_last_column_fills_the_client_width_left_over_or_stays)
{
    struct FitCase {
        std::vector<int> widths;
        int client;
        std::vector<int> expected;
    };
    const FitCase cases[] = {
        {{32, 32, 32, 32, 128, 128}, 500, {32, 32, 32, 32, 128, 244}},
        {{32, 32, 32, 32, 128, 128}, 200, {32, 32, 32, 32, 128, 128}},
        {{32, 32, 32, 32, 128, 300}, 300, {32, 32, 32, 32, 128, 44}},  // narrower too
        {{32, 32, 32, 32, 128, 128}, 256, {32, 32, 32, 32, 128, 128}},
        {{80}, 300, {300}},  // one column: column 0 fills it all
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
        EXPECT_LE(view.width_changes.size(), 1u);
    }
    FakeRowStore rows;
    FakeView view(rows);
    table_fit_last_column(TableModel{}, view);
    EXPECT_TRUE(view.width_changes.empty());
}

}  // namespace
