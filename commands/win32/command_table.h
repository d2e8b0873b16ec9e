#pragma once
// The built-in commands: a constant table of (menu id, name, handler), the
// lookup that runs a command by name, and the one that writes a command's name
// into a table row by menu id. GUI thread only.
#include <windows.h>

#include <array>

// A command: `table` is the table window, `name` the command name as the
// caller holds it, `option` the option text in a zero-terminated buffer the
// caller owns and the command may change. The result is not looked at.
using CommandHandler = int (*)(HWND table, const char* name, char* option);

struct CommandEntry {
    int menu_id;       // IDM_CMD_* that assigns the command to a row
    const char* name;  // exactly as a command cell holds it; null ends the table
    CommandHandler handler;
};

// NoAction, System and SetWP, then a row with a null name (menu id 0, null
// handler). Lookups walk it up to that row.
extern const std::array<CommandEntry, 4> command_table;

// Runs the command whose name equals `name` exactly (lstrcmpA, case-sensitive)
// with (table, name, option). Answers 1 when one was found and run, whatever
// it answered; 0 when no command bears the name (or `name` is null).
int dispatch_command(HWND table, const char* name, char* option);

// Writes the name of the command with `menu_id` into the command cell of row
// `row`; the other cells keep their texts. Answers 1 when written, 0 when the
// row is negative or not below the row count, no command has that id, or the
// table refused the cell.
int set_entry_command(HWND table, int row, int menu_id);

// "NoAction": does nothing. Answers 1.
int NoAction(HWND table, const char* name, char* option);

// "System": starts a program or opens a document through the shell. The
// option is cut at its first space (0x20; tabs and quotes mean nothing): the
// text before is the file, the text after (possibly empty) the parameters; with
// no space the whole option is the file and there are no parameters (null).
// Calls ShellExecuteA(NULL, "open", file, parameters, NULL, SW_SHOW), so the
// process's current directory applies. The caller's option buffer keeps the
// cut. Failures are not reported. Answers 1.
int System(HWND table, const char* name, char* option);
