#include "table/table_navigation.h"

#include <string>

#include <gtest/gtest.h>

#include "table/cell_text.h"

namespace {

using Action = EditorKeyAction;
constexpr unsigned KEY_A = 'A', KEY_HOME = 36, KEY_END = 35, KEY_PAGE_UP = 33, KEY_PAGE_DOWN = 34;

TEST(TableEditorKeys, navigation_keys_move_to_existing_cells_and_hand_every_other_key_to_the_editor)
{
    constexpr Action pass = Action::pass_on, end = Action::end_edit, move = Action::move_edit;
    // Six columns and five rows unless a case says otherwise.
    const struct { int row, column; unsigned key; bool shift; int columns, rows; Action action; int to_row, to_column; } cases[] = {
        {2, 5, KEY_TAB, false, 6, 5, move, 3, 0},       {2, 3, KEY_TAB, false, 6, 5, move, 2, 4},
        {4, 5, KEY_TAB, false, 6, 5, pass, 0, 0},       {2, 5, KEY_RIGHT, true, 6, 5, move, 3, 0},
        {4, 5, KEY_RIGHT, true, 6, 5, pass, 0, 0},      {2, 1, KEY_RIGHT, true, 6, 5, move, 2, 2},
        {1, 0, KEY_TAB, true, 6, 5, move, 0, 5},        {1, 0, KEY_LEFT, true, 6, 5, move, 0, 5},
        {0, 0, KEY_TAB, true, 6, 5, pass, 0, 0},        {0, 0, KEY_LEFT, true, 6, 5, pass, 0, 0},
        {2, 3, KEY_TAB, true, 6, 5, move, 2, 2},        {0, 4, KEY_LEFT, true, 6, 5, move, 0, 3},
        {0, 3, KEY_UP, false, 6, 5, pass, 0, 0},        {0, 3, KEY_UP, true, 6, 5, pass, 0, 0},
        {0, 3, KEY_DOWN, false, 6, 5, move, 1, 3},      {0, 3, KEY_DOWN, true, 6, 5, move, 1, 3},
        {4, 3, KEY_DOWN, false, 6, 5, pass, 0, 0},      {4, 3, KEY_UP, true, 6, 5, move, 3, 3},
        {2, 2, KEY_ENTER, false, 6, 5, end, 0, 0},      {2, 2, KEY_ESC, false, 6, 5, end, 0, 0},
        {2, 2, KEY_ENTER, true, 6, 5, pass, 0, 0},      {2, 2, KEY_ESC, true, 6, 5, pass, 0, 0},
        {2, 2, KEY_LEFT, false, 6, 5, pass, 0, 0},      {2, 2, KEY_RIGHT, false, 6, 5, pass, 0, 0},
        {2, 2, KEY_SPACE, false, 6, 5, pass, 0, 0},     {2, 2, KEY_A, true, 6, 5, pass, 0, 0},
        {2, 2, KEY_HOME, false, 6, 5, pass, 0, 0},      {2, 2, KEY_SHIFT, true, 6, 5, pass, 0, 0},
        {1, 0, KEY_TAB, false, 1, 5, move, 2, 0},       {1, 0, KEY_TAB, true, 1, 5, move, 0, 0},
        {0, 5, KEY_TAB, false, 6, 1, pass, 0, 0},       {0, 0, KEY_TAB, true, 6, 1, pass, 0, 0},
        {0, 0, KEY_DOWN, false, 6, 0, pass, 0, 0},      {-1, 0, KEY_DOWN, false, 6, 5, pass, 0, 0},
        {-1, 0, KEY_ENTER, false, 6, 5, pass, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.row << "," << c.column << ") key " << c.key << " shift "
                                        << c.shift << ", " << c.columns << " columns, " << c.rows << " rows");
        const EditorKeyPlan plan = editor_key_plan(c.row, c.column, c.key, c.shift, c.columns, c.rows);
        ASSERT_EQ(plan.action, c.action);
        if (c.action == move) {
            EXPECT_EQ(std::pair(plan.row, plan.column), std::pair(c.to_row, c.to_column));
        }
    }
}

TEST(TableListKeys, list_keys_open_run_mark_and_move_only_within_the_table_and_never_with_shift)
{
    // Five rows unless a case says otherwise.
    const struct { int current; unsigned key; bool shift; int rows; bool editing; ListKeyPlan plan; } cases[] = {
        {2, KEY_TAB, false, 5, false, {true, false, -1, -1}},   {2, KEY_TAB, false, 5, true, {}},
        {0, KEY_TAB, false, 0, false, {}},                      {2, KEY_TAB, true, 5, false, {}},
        {2, KEY_ENTER, false, 5, false, {false, true, -1, -1}}, {0, KEY_ENTER, false, 0, false, {false, true, -1, -1}},
        {2, KEY_ENTER, true, 5, false, {}},
        {1, KEY_SPACE, false, 5, false, {false, false, 1, 2}},  {4, KEY_SPACE, false, 5, false, {false, false, 4, -1}},
        {0, KEY_SPACE, false, 0, false, {}},                    {1, KEY_SPACE, true, 5, false, {}},
        {2, KEY_UP, false, 5, false, {false, false, -1, 1}},    {0, KEY_UP, false, 5, false, {}},
        {2, KEY_DOWN, false, 5, false, {false, false, -1, 3}},  {4, KEY_DOWN, false, 5, false, {}},
        {2, KEY_UP, true, 5, false, {}},                        {2, KEY_DOWN, true, 5, false, {}},
        {2, KEY_HOME, false, 5, false, {}},                     {2, KEY_END, false, 5, false, {}},
        {2, KEY_PAGE_UP, false, 5, false, {}},                  {2, KEY_PAGE_DOWN, false, 5, false, {}},
        {2, KEY_LEFT, false, 5, false, {}},                     {2, KEY_RIGHT, false, 5, false, {}},
        {2, KEY_ESC, false, 5, false, {}},                      {2, KEY_A, false, 5, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "current " << c.current << " key " << c.key << " shift " << c.shift << ", "
                                        << c.rows << " rows, editing " << c.editing);
        const ListKeyPlan plan = list_key_plan(c.current, c.key, c.shift, c.rows, c.editing);
        EXPECT_EQ(plan.open_edit, c.plan.open_edit);
        EXPECT_EQ(plan.send_return, c.plan.send_return);
        EXPECT_EQ(plan.toggle_row, c.plan.toggle_row);
        EXPECT_EQ(plan.new_current_row, c.plan.new_current_row);
    }
}

TEST(TableCellText, a_long_text_is_cut_to_the_buffer_between_code_page_932_characters)
{
    const std::string x254(254, 'x');
    std::string pairs_after_x = "x", pairs = "";
    for (int i = 0; i < 150; ++i)
        pairs_after_x += "\x81\x81", pairs += "\x81\x81";  // trail bytes that look like lead bytes
    const struct { std::string text; std::size_t size, kept; } cases[] = {
        {"abc", 256, 3},
        {std::string(300, 'x'), 256, 255},
        {std::string(255, 'x'), 256, 255},
        {x254 + "\x82\xa0" "yy", 256, 254},       // a character at bytes 254-255 moves out whole
        {x254.substr(1) + "\x82\xa0" "yy", 256, 255},
        {x254 + "\xb1" "yy", 256, 255},           // half-width katakana is one byte
        {x254 + "\x82", 256, 255},                // a text that fits is kept whole
        {pairs_after_x, 256, 255},
        {pairs, 256, 254},
        {"\x82\xa0", 2, 0},
        {"ab", 1, 0},
        {"ab", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cell_text_keep_length(c.text, c.size), c.kept) << c.text.size() << " bytes into " << c.size;
}

}  // namespace
