#include "table/win32/cell_editor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "base/cp932.h"
#include "table/win32/list_view_store.h"

namespace {

// The editor's text as a cell text: at most 255 bytes, cut between characters.
// It is read with a byte to spare, so the cut sees whether a character
// straddles the buffer's end: cut by the read alone, its lead byte would stay
// alone at the end and spoil the cell.
void read_editor_text(HWND editor, CellText& text)
{
    std::array<char, CELL_TEXT_SIZE + 2> read{};
    const int length = GetWindowTextA(editor, read.data(), static_cast<int>(read.size()));
    const std::size_t valid = length > 0 ? std::min<std::size_t>(length, read.size() - 1) : 0;
    const std::size_t kept = cp932_keep_length(std::string_view(read.data(), valid), text.size());
    std::copy_n(read.data(), kept, text.data());
    text[kept] = '\0';
}

}  // namespace

int table_begin_edit(TableState* state, int row, int column)
{
    if (!state) return 0;
    table_end_edit(state);
    ListViewRows rows(state->list_view);
    if (row >= 0 && row < rows.row_count()) rows.ensure_visible(row);
    CellRect cell{};
    if (!state->edit_window || !table_cell_rect(*state, rows, rows, row, column, &cell)) return 0;

    NMLVDISPINFOA info{};
    info.item.iItem = row;
    info.item.iSubItem = column;
    if (table_notify(state, TBLN_BEGINEDIT, &info.hdr) != 0) return -1;
    // The parent's handler may have changed the rows; open only on a cell that is still there.
    if (!table_cell_rect(*state, rows, rows, row, column, &cell)) return 0;

    CellText text{};
    rows.get_cell_text(row, column, text.data(), static_cast<int>(text.size()));
    SetWindowTextA(state->edit_window, text.data());
    SetWindowPos(state->edit_window, HWND_TOP, cell.x - 2, cell.y - 2, cell.width, cell.height + 4, 0);
    ShowWindow(state->edit_window, SW_SHOW);
    SetFocus(state->edit_window);
    state->edit_row = row;
    state->edit_column = column;
    return 1;
}

int table_end_edit(TableState* state)
{
    if (!state || state->edit_row == -1) return 1;
    const int row = state->edit_row;
    const int column = state->edit_column;
    CellText text{};
    read_editor_text(state->edit_window, text);
    // Closed before hiding: hiding the focused editor moves the focus, and the
    // editor's loss of focus must find no edit left to end.
    state->edit_row = -1;
    ShowWindow(state->edit_window, SW_HIDE);

    NMLVDISPINFOA info{};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.iSubItem = column;
    info.item.pszText = text.data();
    info.item.cchTextMax = static_cast<int>(text.size());
    if (table_notify(state, TBLN_ENDEDIT, &info.hdr) != 0) {
        // The parent may have filled the whole buffer, terminator included: the
        // text is cut as the editor's is, never inside a two-byte character.
        const std::string_view left(text.data(), strnlen(text.data(), text.size()));
        text[cp932_keep_length(left, text.size())] = '\0';
        ListViewRows rows(state->list_view);
        rows.set_cell_text(row, column, text.data());
    }
    return 1;
}
