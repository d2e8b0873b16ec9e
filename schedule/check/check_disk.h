#pragma once
// The checker's look at the disk: does a System entry's program or document
// exist where the shell's "open" looks for it, and does a SetWP entry name a
// picture file? The rules live here, portable; what is on the disk comes
// through DiskProbe, which the Windows checker answers from the file system
// and the registry (schedule/check/win32/disk_probe.h) and the native tests fake.
//
// Never a false alarm: whatever the shell might still start (a URL, a
// "shell:" or "::{...}" name, a network path, a name the probe cannot judge)
// gets no warning. Only these do:
//   System  the option starts with a quote mark and its first word does not
//           end with one: the split at the first blank cut the quoted path
//           (portable: no probe needed)
//   System  the first word is not found, yet a longer part of the option,
//           up to a later blank or its end, is: a path with a blank, unquoted
//   System  the first word is not found: not as written from the folder, nor
//           with a program extension, nor (a bare name) in a folder of the
//           search path or among the registered application paths
//   System  the first word names a file whose type no program opens
//   SetWP   the option, expanded as the command expands it, leaves no
//           picture, or leaves candidates that are not files
#include <string>
#include <vector>

#include "commands/arg_vector.h"
#include "schedule/check/crontab_check.h"

enum class DiskKind { NONE, PLAIN_FILE, FOLDER };
enum class DiskAssociation { OPENS, NONE, UNKNOWN };

// What the program would find on the disk. Relative paths are taken against
// the program's folder, as the program's current directory.
class DiskProbe {
public:
    virtual DiskKind kind(const std::string& path) = 0;
    // The folders of the search path after the program's folder: the system
    // folders and those of PATH.
    virtual std::vector<std::string> search_folders() = 0;
    // The extensions a name without one is tried with (".COM", ".EXE", ...).
    virtual std::vector<std::string> program_extensions() = 0;
    // Whether `name` (a bare file name) is a registered application path.
    virtual bool registered(const std::string& name) = 0;
    // Whether a program opens the existing file `path` ("open" verb): NONE
    // only when nothing surely does, UNKNOWN when that cannot be told.
    virtual DiskAssociation association(const std::string& path) = 0;
    // `text` with its %NAME% environment references expanded.
    virtual std::string expand(const std::string& text) = 0;
    // The folder relative paths start from, as the report names it.
    virtual std::string folder() = 0;
    // The directory search behind SetWP's wildcard expansion.
    virtual DirectoryLister& lister() = 0;

    virtual ~DiskProbe() = default;
};

// Appends to check.warnings (field "option") what the disk shows about a
// System or SetWP entry; answers how many warnings it added. With a null
// probe only the quote-mark shape is checked.
int check_on_disk(LineCheck& check, DiskProbe* probe, Language language);
