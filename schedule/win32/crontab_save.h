#pragma once
// Saving the table's rows to a crontab file so that the file is never left
// cut, emptied or half written: the rows go to a new temporary file in the
// target's folder, and only a complete, flushed file takes the target's place,
// in one rename.
#include <windows.h>

// Writes every row of `table` (write_entry_line, in row order; an empty table
// gives an empty file) to the file `path`, replacing an existing file.
// Answers 1 when `path` now holds exactly those lines. Answers 0 when anything
// failed: the target is read-only, a folder or held by another program; the
// folder takes no new file; a write fell short; the flush or the close failed;
// the rename was refused. Then an existing file at `path` is byte for byte as
// it was, a missing one is still missing, and no temporary file remains.
//
// The new file is a new file: attributes other than read-only, and links to
// the old one, are not carried over.
int save_crontab_file(HWND table, const char* path);
