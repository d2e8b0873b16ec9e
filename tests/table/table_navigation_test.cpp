#include "table/table_navigation.h"

#include <string>

#include <gtest/gtest.h>

#include "table/cell_text.h"

namespace {

constexpr auto pass = EditorKeyAction::pass_on, end = EditorKeyAction::end_edit, move = EditorKeyAction::move_edit;
constexpr unsigned TAB = KEY_TAB, LEFT = KEY_LEFT, RIGHT = KEY_RIGHT, UP = KEY_UP, DOWN = KEY_DOWN, A = 'A', HOME = 36,
                   END = 35, PAGE_UP = 33, PAGE_DOWN = 34;

TEST(TableKeys, editor_keys_move_only_to_existing_cells_and_hand_every_other_key_to_the_editor)
{
    const struct {
        int row, column;
        unsigned key;
        bool shift;
        EditorKeyAction action;
        int to_row = 0, to_column = 0;
        int columns = 6, rows = 5;
    } cases[] = {
        {2, 5, TAB, false, move, 3, 0},
        {2, 3, TAB, false, move, 2, 4},
        {4, 5, TAB, false, pass},
        {2, 5, RIGHT, true, move, 3, 0},
        {4, 5, RIGHT, true, pass},
        {1, 0, TAB, true, move, 0, 5},
        {1, 0, LEFT, true, move, 0, 5},
        {0, 0, TAB, true, pass},
        {0, 0, LEFT, true, pass},
        {2, 3, TAB, true, move, 2, 2},
        {0, 3, UP, false, pass},
        {0, 3, UP, true, pass},
        {0, 3, DOWN, false, move, 1, 3},
        {0, 3, DOWN, true, move, 1, 3},
        {4, 3, DOWN, false, pass},
        {2, 2, KEY_ENTER, false, end},
        {2, 2, KEY_ESC, false, end},
        {2, 2, KEY_ENTER, true, pass},
        {2, 2, KEY_ESC, true, pass},
        {2, 2, LEFT, false, pass},
        {2, 2, RIGHT, false, pass},
        {2, 2, KEY_SPACE, false, pass},
        {2, 2, A, true, pass},
        {-1, 0, DOWN, false, pass},
        {1, 0, TAB, false, move, 2, 0, 1},
        {1, 0, TAB, true, move, 0, 0, 1},
        {0, 5, TAB, false, pass, 0, 0, 6, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.row << "," << c.column << ") key " << c.key << " shift " << c.shift
                                        << ", " << c.columns << " columns, " << c.rows << " rows");
        const EditorKeyPlan plan = editor_key_plan(c.row, c.column, c.key, c.shift, c.columns, c.rows);
        EXPECT_EQ(plan.action, c.action);
        if (c.action == move) {
            EXPECT_EQ(std::pair(plan.row, plan.column), std::pair(c.to_row, c.to_column));
        }
    }
}

TEST(TableKeys, list_keys_open_run_mark_and_move_only_within_the_table_and_never_with_shift)
{
    const ListKeyPlan none{}, open{true}, run{false, true};
    const struct {
        int current;
        unsigned key;
        bool shift;
        ListKeyPlan plan;
        int rows = 5;
        bool editing = false;
    } cases[] = {
        {2, TAB, false, open},
        {2, TAB, false, none, 5, true},
        {0, TAB, false, none, 0},
        {2, KEY_ENTER, false, run},
        {0, KEY_ENTER, false, run, 0},
        {2, KEY_ENTER, true, none},
        {1, KEY_SPACE, false, {false, false, 1, 2}},
        {4, KEY_SPACE, false, {false, false, 4, -1}},
        {0, KEY_SPACE, false, none, 0},
        {1, KEY_SPACE, true, none},
        {2, UP, false, {false, false, -1, 1}},
        {0, UP, false, none},
        {2, DOWN, false, {false, false, -1, 3}},
        {4, DOWN, false, none},
        {2, UP, true, none},
        {2, HOME, false, none},
        {2, END, false, none},
        {2, PAGE_UP, false, none},
        {2, PAGE_DOWN, false, none},
        {2, LEFT, false, none},
        {2, RIGHT, false, none},
        {2, KEY_ESC, false, none},
        {2, A, false, none},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(list_key_plan(c.current, c.key, c.shift, c.rows, c.editing) == c.plan)
            << "current " << c.current << " key " << c.key << " shift " << c.shift << ", " << c.rows
            << " rows, editing " << c.editing;
}

TEST(TableCellText, a_long_text_is_cut_to_the_buffer_between_code_page_932_characters)
{
    const std::string x254(254, 'x'), a = "\x82\xa0";
    std::string pairs;  // trail bytes that look like lead bytes
    for (int i = 0; i < 150; ++i) pairs += "\x81\x81";
    const struct {
        std::string text;
        std::size_t size, kept;
    } cases[] = {
        {"abc", 256, 3},
        {std::string(300, 'x'), 256, 255},
        {x254 + a + "y", 256, 254},
        {"x" + x254 + a, 257, 255},
        {x254.substr(1) + a + "y", 256, 255},
        {x254 + "\xb1y", 256, 255},
        {x254 + "\x82", 256, 255},
        {"x" + pairs, 256, 255},
        {pairs, 256, 254},
        {a, 2, 0},
        {"ab", 1, 0},
        {"ab", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cell_text_keep_length(c.text, c.size), c.kept) << c.text.size() << " bytes into " << c.size;
}

}  // namespace
