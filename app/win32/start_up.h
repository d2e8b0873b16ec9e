#pragma once
// Start-up: the main window class, the main window, the command line and the
// first load of the crontab file.
#include <windows.h>

#include <array>

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

// Replaces the table's rows with the entries of the file at path and keeps
// path in the window's record (what the file dialogs propose). The file is
// opened before anything changes: one that cannot be opened (missing, a
// folder, refused, held by another program) leaves the rows and the kept path
// as they were. A file that opens but holds no entry leaves the table empty
// and its path kept. Answers the number of rows loaded, 0 in both cases, and
// also when path is null or longer than 255 bytes: then nothing is opened and
// nothing changes (a cut path could name another file).
int open_crontab(HWND main_window, const char* path);

// Makes the program's own folder (its module path up to the last backslash)
// the current directory, as start-up does before loading, so that relative
// paths keep resolving there. FALSE when the module path is unknown, has no
// folder, or its folder does not fit a 256-byte path.
BOOL enter_program_folder();

// Entries run with the program's folder as the current directory, and the
// file dialogs make the folder they show current: timer ticks reach the due
// pass inside a dialog's modal loop. For its lifetime an object of this kind
// makes the program's folder current; at its end it makes the directory that
// was current before current again (the dialog's folder, say). The earlier
// directory is not restored when it could not be read into MAX_PATH bytes.
class InProgramFolder {
public:
    InProgramFolder();
    ~InProgramFolder();
    InProgramFolder(const InProgramFolder&) = delete;
    InProgramFolder& operator=(const InProgramFolder&) = delete;

private:
    std::array<char, MAX_PATH> previous_;
    bool restore_;
};
