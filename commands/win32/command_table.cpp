#include "commands/win32/command_table.h"

#include <shellapi.h>

#include <cstddef>

#include "commands/command_ids.h"
#include "commands/command_names.h"
#include "commands/system_option.h"
#include "commands/win32/wallpaper.h"
#include "table/schedule_columns.h"
#include "table/win32/table_calls.h"

constexpr std::array<CommandEntry, 4> command_table = {{
    {IDM_CMD_NOACTION, command_names[0], NoAction},
    {IDM_CMD_SYSTEM, command_names[1], System},
    {IDM_CMD_SETWP, command_names[2], SetWP},
    {0, nullptr, nullptr},
}};

int dispatch_command(HWND table, const char* name, char* option)
{
    if (name == nullptr) return 0;
    for (const CommandEntry* entry = command_table.data(); entry->name != nullptr; ++entry) {
        if (lstrcmpA(entry->name, name) == 0) {
            entry->handler(table, name, option);
            return 1;
        }
    }
    return 0;
}

int set_entry_command(HWND table, int row, int menu_id)
{
    if (row < 0 || row >= table_row_count(table)) return 0;
    const CommandEntry* entry = command_table.data();
    while (entry->name != nullptr && entry->menu_id != menu_id) ++entry;
    if (entry->name == nullptr) return 0;
    return table_set_cell(table, row, COL_COMMAND, entry->name) != 0 ? 1 : 0;
}

int NoAction(HWND, const char*, char*)
{
    return 1;
}

int System(HWND, const char*, char* option)
{
    char empty[1] = "";
    if (option == nullptr) option = empty;
    char* parameters = nullptr;
    const std::size_t length = system_program_length(option);
    if (option[length] != '\0') {
        option[length] = '\0';
        parameters = option + length + 1;
    }
    ShellExecuteA(nullptr, "open", option, parameters, nullptr, SW_SHOW);
    return 1;
}
