#include "table/table_navigation.h"

#include <tuple>

#include <gtest/gtest.h>

namespace {

constexpr auto pass = EditorKeyAction::PASS_ON, end = EditorKeyAction::END_EDIT, move = EditorKeyAction::MOVE_EDIT;
constexpr unsigned TAB = KEY_TAB, ENTER = KEY_ENTER, ESC = KEY_ESC, SPACE = KEY_SPACE, LEFT = KEY_LEFT,
                   RIGHT = KEY_RIGHT, UP = KEY_UP, DOWN = KEY_DOWN, A = 'A', HOME = 36, END = 35, PG_UP = 33,
                   PG_DOWN = 34;

TEST(TableKeys, editor_keys_move_only_to_existing_cells_and_hand_every_other_key_to_the_editor)
{
    const std::tuple<int, int, unsigned, bool, EditorKeyAction, int, int, int, int> cases[] = {
        {2, 5, TAB, 0, move, 3, 0, 6, 5},   {2, 3, TAB, 0, move, 2, 4, 6, 5},   {4, 5, TAB, 0, pass, 0, 0, 6, 5},
        {2, 5, RIGHT, 1, move, 3, 0, 6, 5}, {4, 5, RIGHT, 1, pass, 0, 0, 6, 5}, {1, 0, TAB, 1, move, 0, 5, 6, 5},
        {1, 0, LEFT, 1, move, 0, 5, 6, 5},  {0, 0, TAB, 1, pass, 0, 0, 6, 5},   {2, 3, TAB, 1, move, 2, 2, 6, 5},
        {2, 3, UP, 1, move, 1, 3, 6, 5},    {0, 3, DOWN, 0, move, 1, 3, 6, 5},  {4, 3, DOWN, 0, pass, 0, 0, 6, 5},
        {2, 2, ENTER, 0, end, 0, 0, 6, 5},  {2, 2, ESC, 0, end, 0, 0, 6, 5},    {2, 2, ENTER, 1, pass, 0, 0, 6, 5},
        {2, 2, ESC, 1, pass, 0, 0, 6, 5},   {2, 2, LEFT, 0, pass, 0, 0, 6, 5},  {2, 2, RIGHT, 0, pass, 0, 0, 6, 5},
        {2, 2, SPACE, 0, pass, 0, 0, 6, 5}, {2, 2, A, 1, pass, 0, 0, 6, 5},     {-1, 0, DOWN, 0, pass, 0, 0, 6, 5},
        {1, 0, TAB, 0, move, 2, 0, 1, 5},   {1, 0, TAB, 1, move, 0, 0, 1, 5},   {0, 5, TAB, 0, pass, 0, 0, 6, 1},
    };
    for (const auto& [row, column, key, shift, action, to_row, to_column, columns, rows] : cases) {
        SCOPED_TRACE(testing::Message() << "(" << row << "," << column << ") key " << key << " shift " << shift << ", "
                                        << columns << " columns, " << rows << " rows");
        const EditorKeyPlan plan = editor_key_plan(row, column, key, shift, columns, rows);
        EXPECT_EQ(plan.action, action);
        if (action == move) {
            EXPECT_EQ(std::pair(plan.row, plan.column), std::pair(to_row, to_column));
        }
    }
}

TEST(TableKeys, list_keys_open_run_mark_and_move_only_within_the_table_and_never_with_shift)
{
    const ListKeyPlan none{}, open{true}, run{false, true}, mark_1{false, false, 1, 2}, mark_4{false, false, 4, -1},
        up{false, false, -1, 1}, down{false, false, -1, 3};
    const std::tuple<int, unsigned, bool, ListKeyPlan, int, bool> cases[] = {
        {2, TAB, 0, open, 5, 0},   {2, TAB, 0, none, 5, 1},   {0, TAB, 0, none, 0, 0},     {2, ENTER, 0, run, 5, 0},
        {0, ENTER, 0, run, 0, 0},  {2, ENTER, 1, none, 5, 0}, {1, SPACE, 0, mark_1, 5, 0}, {4, SPACE, 0, mark_4, 5, 0},
        {0, SPACE, 0, none, 0, 0}, {1, SPACE, 1, none, 5, 0}, {2, UP, 0, up, 5, 0},        {0, UP, 0, none, 5, 0},
        {2, DOWN, 0, down, 5, 0},  {4, DOWN, 0, none, 5, 0},  {2, UP, 1, none, 5, 0},      {2, HOME, 0, none, 5, 0},
        {2, END, 0, none, 5, 0},   {2, PG_UP, 0, none, 5, 0}, {2, PG_DOWN, 0, none, 5, 0}, {2, LEFT, 0, none, 5, 0},
        {2, RIGHT, 0, none, 5, 0}, {2, ESC, 0, none, 5, 0},   {2, A, 0, none, 5, 0},
    };
    for (const auto& [current, key, shift, plan, rows, editing] : cases)
        EXPECT_TRUE(list_key_plan(current, key, shift, rows, editing) == plan)
            << "current " << current << " key " << key << " shift " << shift << ", " << rows << " rows, editing "
            << editing;
}

}  // namespace
