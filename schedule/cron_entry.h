#pragma once
// One schedule entry as seven text references. The record owns nothing: the
// texts are constants or buffers of whoever builds it, for one operation.
//
// Slot k (1 to 6) corresponds to table column k - 1; the weekday (slot 0) has
// no column: it is dropped when a file is loaded, saved as "*" and matched as "*".
#include "table/schedule_columns.h"

struct CronEntry {
    const char* weekday;  // slot 0, 5th field of a crontab line
    const char* month;    // slot 1, COL_MONTH, 4th field
    const char* day;      // slot 2, COL_DAY, 3rd field
    const char* hour;     // slot 3, COL_HOUR, 2nd field
    const char* minute;   // slot 4, COL_MINUTE, 1st field
    const char* command;  // slot 5, COL_COMMAND, 6th field
    const char* option;   // slot 6, COL_OPTION, rest of the line
};

// The row that Add item inserts. Month "0" never matches a clock, so the row
// stays inert until its month is edited.
inline constexpr CronEntry default_entry = {"*", "0", "*", "*", "0", "NoAction", ""};
