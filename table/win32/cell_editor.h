#pragma once
// The in-place cell editor of a table: the hidden EDIT child laid over a cell.

#include "table/win32/table_state.h"

// Opens the editor over the cell, after ending any open edit and asking the
// parent with TBLN_BEGINEDIT. Answers 1 when opened, 0 when the cell (or the
// editor) does not exist, -1 when the parent refused.
int table_begin_edit(TableState* state, int row, int column);

// Ends an open edit: hides the editor and offers its text (at most 255 bytes,
// cut between code page 932 characters) to the parent with TBLN_ENDEDIT; a
// nonzero answer stores the text as the parent left it. The edit is closed
// before the editor is hidden, so each edit is offered once even when hiding
// it moves the focus. Answers 1.
int table_end_edit(TableState* state);
