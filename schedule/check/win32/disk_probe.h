#pragma once
// The disk as the program sees it: files and folders, the search path, the
// registered application paths and the shell's file associations.
#include <windows.h>

#include <string>

#include "commands/win32/arg_vector.h"
#include "schedule/check/check_disk.h"

class Win32DiskProbe final : public DiskProbe {
public:
    // Makes `folder` (null: the folder of this program's file) the current
    // directory, as the program makes its own folder at start-up, so that
    // relative paths, the shell's lookups and wildcard searches start where
    // the program's do; the destructor goes back. entered() tells whether
    // the folder could be entered.
    explicit Win32DiskProbe(const char* folder);
    ~Win32DiskProbe() override;
    Win32DiskProbe(const Win32DiskProbe&) = delete;
    Win32DiskProbe& operator=(const Win32DiskProbe&) = delete;

    bool entered() const { return entered_; }

    DiskKind kind(const std::string& path) override;
    std::vector<std::string> search_folders() override;
    std::vector<std::string> program_extensions() override;
    bool registered(const std::string& name) override;
    DiskAssociation association(const std::string& path) override;
    std::string expand(const std::string& text) override;
    std::string folder() override { return folder_; }
    DirectoryLister& lister() override { return lister_; }

private:
    std::string previous_;
    std::string folder_;
    bool entered_ = false;
    Win32DirectoryLister lister_;
};
