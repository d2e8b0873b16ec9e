#pragma once
// Running the schedule: the pass over every row of a table window at one clock
// time, and running one row. Both read the table afresh through read_entry;
// nothing is cached between calls. GUI thread only.
#include <windows.h>

// Walks rows 0, 1, 2 ... of `table`, asking the row count afresh before each
// row, and runs every row whose month, day, hour and minute cells admit `time`
// (the weekday pattern is always "*"). Rows run in table order, each to its
// end before the next row's cells are read, so rows a command adds or removes
// are seen by the rows still to come. A due row naming no built-in command
// does nothing and is not reported. `time` is local time or UTC, as the caller
// chooses. Answers 0.
int run_due_entries(HWND table, const SYSTEMTIME& time);

// Runs row `row`: reads its command and option cells into buffers of its own
// and hands them to dispatch_command, so a command that changes its option
// text changes only that copy, never the cell. Answers 0 when the row does not
// exist or its command cell names no built-in command, 1 when a command ran
// (whatever the command itself answered).
int run_entry(HWND table, int row);
