#include "table/table_navigation.h"

namespace {

bool row_exists(int row, int row_count)
{
    return row >= 0 && row < row_count;
}

}  // namespace

EditorKeyPlan editor_key_plan(int row, int column, unsigned key, bool shift, int column_count, int row_count)
{
    const EditorKeyPlan pass{EditorKeyAction::PASS_ON, row, column};
    if (row < 0 || column_count <= 0) return pass;
    int target_row = row;
    int target_column = column;
    const bool next = (key == KEY_TAB && !shift) || (key == KEY_RIGHT && shift);
    const bool previous = (key == KEY_TAB && shift) || (key == KEY_LEFT && shift);
    if (next) {
        if (column + 1 < column_count) {
            target_column = column + 1;
        } else {
            target_row = row + 1;
            target_column = 0;
        }
    } else if (previous) {
        if (column - 1 >= 0) {
            target_column = column - 1;
        } else {
            target_row = row - 1;
            target_column = column_count - 1;
        }
    } else if (key == KEY_UP) {
        target_row = row - 1;
    } else if (key == KEY_DOWN) {
        target_row = row + 1;
    } else if ((key == KEY_ENTER || key == KEY_ESC) && !shift) {
        return {EditorKeyAction::END_EDIT, row, column};
    } else {
        return pass;
    }
    if (!row_exists(target_row, row_count)) return pass;
    return {EditorKeyAction::MOVE_EDIT, target_row, target_column};
}

ListKeyPlan list_key_plan(int current_row, unsigned key, bool shift, int row_count, bool editing)
{
    ListKeyPlan plan;
    if (shift) return plan;
    const bool current_exists = row_exists(current_row, row_count);
    switch (key) {
    case KEY_TAB:
        plan.open_edit = current_exists && !editing;
        break;
    case KEY_ENTER:
        plan.send_return = true;
        break;
    case KEY_SPACE:
        if (current_exists) {
            plan.toggle_row = current_row;
            if (row_exists(current_row + 1, row_count)) plan.new_current_row = current_row + 1;
        }
        break;
    case KEY_UP:
    case KEY_DOWN: {
        const int target = current_row + (key == KEY_UP ? -1 : 1);
        if (row_exists(target, row_count)) plan.new_current_row = target;
        break;
    }
    default:
        break;
    }
    return plan;
}
