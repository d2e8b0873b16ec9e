#include "schedule/win32/due_pass.h"

#include "commands/win32/command_table.h"
#include "schedule/crontab_line.h"
#include "schedule/win32/clock.h"
#include "schedule/win32/crontab_file.h"

int run_due_entries(HWND table, const SYSTEMTIME& time)
{
    CellText month, day, hour, minute;
    const CronEntryCells cells{&month, &day, &hour, &minute, nullptr, nullptr};
    const CronEntry entry{"*", month.data(), day.data(), hour.data(), minute.data(), nullptr, nullptr};
    for (int row = 0; read_entry(table, row, cells) != 0; ++row) {
        if (entry_is_due(time, entry) != 0) run_entry(table, row);
    }
    return 0;
}

int run_entry(HWND table, int row)
{
    CellText command, option;
    if (read_entry(table, row, {nullptr, nullptr, nullptr, nullptr, &command, &option}) == 0) return 0;
    return dispatch_command(table, command.data(), option.data());
}
