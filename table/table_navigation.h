#pragma once
// Where the table's keys lead, as plain rules over the open cell, the current
// row, the Shift state and the table's size. The Win32 binding asks them from
// its two subclass procedures and carries out the answer.

// Virtual key codes the table reacts to (the platform's VK_ values).
constexpr unsigned KEY_TAB = 9;
constexpr unsigned KEY_ENTER = 13;
constexpr unsigned KEY_SHIFT = 16;
constexpr unsigned KEY_ESC = 27;
constexpr unsigned KEY_SPACE = 32;
constexpr unsigned KEY_LEFT = 37;
constexpr unsigned KEY_UP = 38;
constexpr unsigned KEY_RIGHT = 39;
constexpr unsigned KEY_DOWN = 40;

enum class EditorKeyAction {
    PASS_ON,    // the editor's own procedure gets the key; the edit stays open
    END_EDIT,   // the edit ends (its text offered to the parent); key consumed
    MOVE_EDIT,  // the edit ends, (row, column) becomes current and opens; key consumed
};

struct EditorKeyPlan {
    EditorKeyAction action;
    int row;  // the target cell, for MOVE_EDIT only
    int column;
};

// A key-down in the cell editor while (row, column) is open. Tab and Shift+Right
// lead to the next cell, Shift+Tab and Shift+Left to the previous one, wrapping
// to the next or previous row's end; Up and Down (either Shift) to the cell
// above or below. A target row outside 0 .. row_count - 1 moves nothing: the
// key goes on to the editor, it is never wrapped to the other end of the table.
// Enter and Esc without Shift end the edit. With no edit open (row -1) every
// key goes on.
EditorKeyPlan editor_key_plan(int row, int column, unsigned key, bool shift, int column_count, int row_count);

// What a key-down in the list view does, in this order: open an edit on
// (current row, column 0); send NM_RETURN to the parent; toggle the mark of
// toggle_row; make new_current_row current. -1 rows mean nothing to do, and
// only rows that exist are named. Every key is consumed by the table.
struct ListKeyPlan {
    bool open_edit = false;
    bool send_return = false;
    int toggle_row = -1;
    int new_current_row = -1;
    bool operator==(const ListKeyPlan&) const = default;
};

// current_row: the table's current row when the key arrives; editing: whether
// an edit is open. Shift held does nothing; Tab opens an edit on the current
// row when none is open; Enter runs the current row (NM_RETURN); Space toggles
// the current row's mark and moves to the next row; Up and Down move.
ListKeyPlan list_key_plan(int current_row, unsigned key, bool shift, int row_count, bool editing);
