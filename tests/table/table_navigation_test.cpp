#include "table/table_navigation.h"

#include <span>
#include <utility>

#include <gtest/gtest.h>

namespace {

constexpr auto PASS = EditorKeyAction::PASS_ON, END = EditorKeyAction::END_EDIT, MOVE = EditorKeyAction::MOVE_EDIT;
constexpr unsigned SHIFT = 0x10000;  // added to a key held with Shift
constexpr unsigned TAB = KEY_TAB, ENTER = KEY_ENTER, ESC = KEY_ESC, SPACE = KEY_SPACE, LEFT = KEY_LEFT,
                   RIGHT = KEY_RIGHT, UP = KEY_UP, DOWN = KEY_DOWN, A = 'A', PG_UP = 33;

// The editor open on cell `at` (row, column) of a table `columns` wide and `rows` long gets `key`; `want` is its
// answer.
struct EditorKeyCase {
    std::pair<int, int> at;
    unsigned key;
    struct {
        EditorKeyAction action;
        int row = 0, column = 0;  // the cell a move opens
    } want;
    int columns = 6, rows = 5;
};

TEST(TableKeys, editor_keys_move_only_to_existing_cells_and_hand_every_other_key_to_the_editor)
{
    const EditorKeyCase six_by_five[] = {
        {.at = {2, 5}, .key = TAB, .want = {MOVE, 3, 0}},           {.at = {4, 5}, .key = TAB, .want = {PASS}},
        {.at = {2, 3}, .key = TAB, .want = {MOVE, 2, 4}},           {.at = {4, 3}, .key = DOWN, .want = {PASS}},
        {.at = {2, 5}, .key = SHIFT + RIGHT, .want = {MOVE, 3, 0}}, {.at = {-1, 0}, .key = DOWN, .want = {PASS}},
        {.at = {1, 0}, .key = SHIFT + TAB, .want = {MOVE, 0, 5}},   {.at = {2, 2}, .key = LEFT, .want = {PASS}},
        {.at = {1, 0}, .key = SHIFT + LEFT, .want = {MOVE, 0, 5}},  {.at = {2, 2}, .key = RIGHT, .want = {PASS}},
        {.at = {2, 3}, .key = SHIFT + TAB, .want = {MOVE, 2, 2}},   {.at = {2, 2}, .key = SPACE, .want = {PASS}},
        {.at = {2, 3}, .key = SHIFT + UP, .want = {MOVE, 1, 3}},    {.at = {2, 2}, .key = SHIFT + A, .want = {PASS}},
        {.at = {0, 3}, .key = DOWN, .want = {MOVE, 1, 3}},          {.at = {2, 2}, .key = SHIFT + ESC, .want = {PASS}},
        {.at = {4, 5}, .key = SHIFT + RIGHT, .want = {PASS}},       {.at = {2, 2}, .key = ENTER, .want = {END}},
        {.at = {2, 2}, .key = SHIFT + ENTER, .want = {PASS}},       {.at = {2, 2}, .key = ESC, .want = {END}},
        {.at = {0, 0}, .key = SHIFT + TAB, .want = {PASS}},
    };
    const EditorKeyCase other_sizes[] = {
        {.at = {1, 0}, .key = TAB, .want = {MOVE, 2, 0}, .columns = 1, .rows = 5},
        {.at = {1, 0}, .key = SHIFT + TAB, .want = {MOVE, 0, 0}, .columns = 1, .rows = 5},
        {.at = {0, 5}, .key = TAB, .want = {PASS}, .columns = 6, .rows = 1}};
    for (const auto& cases :
         {std::span<const EditorKeyCase>(six_by_five), std::span<const EditorKeyCase>(other_sizes)}) {
        for (const EditorKeyCase& c : cases) {
            const auto [row, column] = c.at;
            const EditorKeyPlan plan = editor_key_plan(row, column, c.key & ~SHIFT, c.key & SHIFT, c.columns, c.rows);
            const auto target = plan.action == MOVE ? std::pair(plan.row, plan.column) : std::pair(0, 0);
            EXPECT_EQ(std::pair(plan.action, target), std::pair(c.want.action, std::pair(c.want.row, c.want.column)))
                << "(" << row << "," << column << ") key " << std::hex << c.key << std::dec << ", " << c.columns
                << " columns, " << c.rows << " rows";
        }
    }
}

// The list view's `current` row of a table `rows` long gets `key`, with an edit open when `editing`; `want` is
// what it must do.
struct ListKeyCase {
    int current;
    unsigned key;
    ListKeyPlan want;
    int rows = 5;
    bool editing = false;
};

TEST(TableKeys, list_keys_open_run_mark_and_move_only_within_the_table_and_never_with_shift)
{
    const ListKeyPlan none{}, open{true}, run{false, true}, mark_1{false, false, 1, 2}, mark_4{false, false, 4, -1},
        up{false, false, -1, 1}, down{false, false, -1, 3};
    // Any other key plans nothing: PgUp, Left and Right are the codes next to the handled Space, Up and Down.
    const ListKeyCase five_rows[] = {
        {.current = 2, .key = SHIFT + ENTER, .want = none}, {.current = 2, .key = TAB, .want = open},
        {.current = 1, .key = SHIFT + SPACE, .want = none}, {.current = 2, .key = ENTER, .want = run},
        {.current = 2, .key = SHIFT + UP, .want = none},    {.current = 2, .key = UP, .want = up},
        {.current = 1, .key = SPACE, .want = mark_1},       {.current = 0, .key = UP, .want = none},
        {.current = 4, .key = SPACE, .want = mark_4},       {.current = 4, .key = DOWN, .want = none},
        {.current = 2, .key = DOWN, .want = down},          {.current = 2, .key = LEFT, .want = none},
        {.current = 2, .key = PG_UP, .want = none},         {.current = 2, .key = RIGHT, .want = none},
    };
    const ListKeyCase editing_or_empty[] = {{.current = 2, .key = TAB, .want = none, .rows = 5, .editing = true},
                                            {.current = 0, .key = TAB, .want = none, .rows = 0, .editing = false},
                                            {.current = 0, .key = ENTER, .want = run, .rows = 0, .editing = false},
                                            {.current = 0, .key = SPACE, .want = none, .rows = 0, .editing = false}};
    for (const auto& cases :
         {std::span<const ListKeyCase>(five_rows), std::span<const ListKeyCase>(editing_or_empty)}) {
        for (const ListKeyCase& c : cases) {
            EXPECT_TRUE(list_key_plan(c.current, c.key & ~SHIFT, c.key & SHIFT, c.rows, c.editing) == c.want)
                << "current " << c.current << " key " << std::hex << c.key << std::dec << ", " << c.rows
                << " rows, editing " << c.editing;
        }
    }
}

}  // namespace
