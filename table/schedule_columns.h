#pragma once
// The columns of a schedule row in the table, by index: the iSubItem of every
// cell that travels in the table's messages. The table itself only counts
// columns; these names are for everyone that reads or writes the cells of a
// schedule row (the crontab loader and saver, the due pass, the command table,
// the main window). The weekday has no column.

constexpr int COL_MONTH = 0;
constexpr int COL_DAY = 1;
constexpr int COL_HOUR = 2;
constexpr int COL_MINUTE = 3;
constexpr int COL_COMMAND = 4;
constexpr int COL_OPTION = 5;
constexpr int COLUMN_COUNT = 6;
