#pragma once
// Start-up: the main window class, the main window, the command line and the
// first load of the crontab file.
#include <windows.h>

// The main window class's atom, 0 until register_main_class succeeds.
extern int main_class_atom;

// Registers the "TaveCron" class once per process; answers its atom, 0 on failure.
int register_main_class(HINSTANCE instance);

// Creates the main window hidden, reads command_text ("tavecron [-h]
// [crontab-file]"), makes the program's directory the current directory,
// loads the crontab file and shows the window with show_command. Answers the
// window, or null when the class or the window cannot be made (a second
// instance ends here, without a message).
HWND create_main_window(HINSTANCE instance, const char* command_text, int show_command);
