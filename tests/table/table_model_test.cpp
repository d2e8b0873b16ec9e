#include "table/table_model.h"

#include <climits>

#include <gtest/gtest.h>

#include "support/table_fakes.h"

namespace {

using table_fakes::FakeMarkListener;
using table_fakes::FakeRowStore;
using table_fakes::FakeView;

struct InsertCase {
    int index;
    int expected_result;
    int expected_current;
    const char* current_label;
};

TEST(TableRowRules, insertion_moves_the_current_row_only_for_an_index_strictly_below_it)
{
    // Five rows, row 2 current.
    const InsertCase cases[] = {
        {2, 2, 2, "new"},   // the new row takes the current index
        {1, 1, 3, "r2"},
        {0, 0, 3, "r2"},
        {3, 3, 2, "r2"},
        {5, 5, 2, "r2"},    // append
        {99, 5, 2, "r2"},   // far beyond the end appends too
        {-1, -1, 2, "r2"},  // refused, nothing inserted
    };
    for (const auto& c : cases) {
        FakeRowStore rows(5);
        TableModel model;
        model.current_row = 2;
        EXPECT_EQ(table_insert_row(model, rows, c.index, "new"), c.expected_result) << c.index;
        EXPECT_EQ(model.current_row, c.expected_current) << c.index;
        EXPECT_EQ(rows.label(model.current_row), c.current_label) << c.index;
        EXPECT_EQ(rows.row_count(), c.expected_result < 0 ? 5 : 6) << c.index;
    }
}

struct DeleteCase {
    int rows;
    int current;
    int deleted;
    int expected_result;
    int expected_current;
};

TEST(TableRowRules, deletion_moves_the_current_row_up_for_rows_above_it_and_for_the_last_row)
{
    const DeleteCase cases[] = {
        {5, 1, 4, 1, 0},  // the last row goes, although it is not current
        {5, 1, 1, 1, 1},  // the current row goes; its successor takes the index
        {5, 1, 0, 1, 0},
        {5, 1, 2, 1, 1},
        {5, 4, 4, 1, 3},  // the current row is the last
        {5, 0, 4, 1, 0},  // never below 0
        {1, 0, 0, 1, 0},  // the only row
        {5, 1, -1, 0, 1},
        {5, 1, 5, 0, 1},
        {5, 1, 1000, 0, 1},
        {0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        FakeRowStore rows(c.rows);
        TableModel model;
        model.current_row = c.current;
        SCOPED_TRACE(testing::Message() << c.rows << " rows, current " << c.current << ", delete "
                                        << c.deleted);
        EXPECT_EQ(table_delete_row(model, rows, c.deleted) != 0, c.expected_result != 0);
        EXPECT_EQ(model.current_row, c.expected_current);
        EXPECT_EQ(rows.row_count(), c.rows - (c.expected_result ? 1 : 0));
    }
}

TEST(TableMarkRules, a_mark_changes_only_its_bit_and_a_veto_keeps_the_row_unwritten)
{
    FakeRowStore rows(3);
    rows.rows[1].param = 0x1234;
    FakeMarkListener listener;
    EXPECT_EQ(table_set_mark(rows, listener, 1, 1), 1);
    EXPECT_EQ(rows.rows[1].param, 0x11234u);
    EXPECT_EQ(table_get_mark(rows, 1), 1);
    EXPECT_EQ(table_toggle_mark(rows, listener, 1), 1);
    EXPECT_EQ(rows.rows[1].param, 0x1234u);
    ASSERT_EQ(listener.asked.size(), 2u);
    EXPECT_EQ(listener.asked[0], std::make_pair(1, 0x11234u));  // the word about to be stored
    EXPECT_EQ(listener.asked[1], std::make_pair(1, 0x1234u));

    listener.veto = {1};
    EXPECT_EQ(table_set_mark(rows, listener, 1, 1), 0);
    EXPECT_EQ(table_toggle_mark(rows, listener, 1), 0);
    EXPECT_EQ(rows.rows[1].param, 0x1234u);

    // What the listener leaves is what is stored.
    listener.veto.clear();
    listener.extra_bits = 0x4;
    EXPECT_EQ(table_set_mark(rows, listener, 2, 1), 1);
    EXPECT_EQ(rows.rows[2].param, ROW_MARK | 0x4);
}

TEST(TableMarkRules, rows_outside_the_table_read_unmarked_and_are_never_written_or_asked_about)
{
    FakeRowStore rows(3);
    rows.mark({0, 1, 2});
    FakeMarkListener listener;
    for (int row : {-1, 3, 4, 1000, INT_MAX, INT_MIN}) {
        EXPECT_EQ(table_get_mark(rows, row), 0) << row;
        EXPECT_EQ(table_set_mark(rows, listener, row, 1), 0) << row;
        EXPECT_EQ(table_toggle_mark(rows, listener, row), 0) << row;
    }
    EXPECT_TRUE(listener.asked.empty());
    EXPECT_EQ(rows.writes, 0);
}

TEST(TableMarkRules, set_all_and_invert_count_rows_written_not_marks_changed)
{
    FakeRowStore rows(6);
    FakeMarkListener listener;
    listener.veto = {2};
    EXPECT_EQ(table_set_all_marks(rows, listener, 1), 5);
    EXPECT_EQ(rows.marked(), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(table_set_all_marks(rows, listener, 1), 5);  // already marked rows count again
    EXPECT_EQ(listener.asked.size(), 12u);                 // every row asked, vetoed one too

    listener.veto.clear();
    rows.mark({2});
    rows.rows[4].param |= 0x8;
    const auto before = rows.rows;
    EXPECT_EQ(table_invert_marks(rows, listener), 6);
    EXPECT_TRUE(rows.marked().empty());
    EXPECT_EQ(rows.rows[4].param, 0x8u);
    EXPECT_EQ(table_invert_marks(rows, listener), 6);
    for (size_t i = 0; i < rows.rows.size(); ++i)
        EXPECT_EQ(rows.rows[i].param, before[i].param) << i;

    listener.veto = {0, 1, 2, 3, 4, 5};
    EXPECT_EQ(table_set_all_marks(rows, listener, 0), 0);
    EXPECT_EQ(table_invert_marks(rows, listener), 0);
    EXPECT_EQ(rows.marked().size(), 6u);

    FakeRowStore empty;
    EXPECT_EQ(table_set_all_marks(empty, listener, 1), 0);
}

TEST(TableMarkRules, delete_marked_works_from_the_last_row_down_and_moves_the_current_row)
{
    FakeRowStore rows(5);
    FakeView view(rows);
    rows.mark({1, 3});
    TableModel model;
    model.current_row = 4;
    EXPECT_EQ(table_delete_marked(model, rows, view), 2);
    EXPECT_EQ(rows.deleted, (std::vector<std::string>{"r3", "r1"}));
    EXPECT_EQ(model.current_row, 2);
    EXPECT_EQ(rows.label(2), "r4");
    EXPECT_EQ(view.shows, (std::vector<bool>{false, true}));

    // With nothing marked the view is still hidden and shown once.
    view.shows.clear();
    EXPECT_EQ(table_delete_marked(model, rows, view), 0);
    EXPECT_EQ(view.shows, (std::vector<bool>{false, true}));

    // Deleting every row leaves the current row at 0.
    rows.mark({0, 1, 2});
    EXPECT_EQ(table_delete_marked(model, rows, view), 3);
    EXPECT_EQ(rows.row_count(), 0);
    EXPECT_EQ(model.current_row, 0);
}

TEST(TableMarkRules, next_marked_searches_after_the_given_row_in_ascending_order)
{
    FakeRowStore rows(6);
    rows.mark({1, 4});
    const std::pair<int, int> cases[] = {
        {-1, 1}, {0, 1}, {1, 4}, {3, 4}, {4, -1}, {5, -1}, {6, -1}, {INT_MAX, -1}, {-7, 1},
    };
    for (auto [after, expected] : cases)
        EXPECT_EQ(table_get_next_marked(rows, after), expected) << after;
}

}  // namespace
