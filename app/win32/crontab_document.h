#pragma once
// The crontab file as the main window holds it: the one load that replaces
// the table's rows and keeps the file's path, and the program's own folder,
// against which crontab paths and the entries' relative paths resolve.
// Start-up, File, Open and the runs of entries share these.
#include <windows.h>

#include <array>

#include "app/crontab_path.h"

struct MainWindowState;

// locate_crontab with this program's module path; with a module path that is
// unknown or does not fit a path buffer, as locate_crontab answers an empty one.
CrontabLocation locate_program_crontab(const char* argument);

// Replaces the table's rows with the entries of the file at path and keeps
// path in the window's record (what the file dialogs propose). The whole file
// is read before anything changes: one that cannot be opened (missing, a
// folder, refused, held by another program) or read to its end (a read error
// halfway) leaves the rows, marks, current row and kept path as they were. A
// file that reads whole but holds no entry leaves the table empty and its
// path kept. Answers the number of rows loaded, 0 in all these cases, and
// also when path is null or longer than 255 bytes: then nothing is opened and
// nothing changes (a cut path could name another file).
int open_crontab(HWND main_window, const char* path);
// The same for a caller that holds the window's record (not null).
int open_crontab(MainWindowState* state, const char* path);

// Start-up's load: open_crontab, and path kept in the record whether or not
// the file opened and read, so that the first Save proposes the file start-up
// looked for (cron.tab beside the program on a first run, or a new file named
// on the command line). A path open_crontab refuses is not kept either. A
// file that is there but was not read whole is noted as the record's
// unread_file (a missing one is not), and a file read whole, here or by any
// later open_crontab, clears that note.
int open_start_up_crontab(HWND main_window, const char* path);

// Whether `chosen` names the record's unread_file (compared as full paths,
// letter case aside): a Save there must ask before replacing it.
bool is_unread_file(const MainWindowState* state, const char* chosen);

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
