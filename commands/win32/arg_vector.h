#pragma once
// Argument vectors over the real file system and process.
#include <windows.h>

#include "commands/arg_vector.h"

// Directory search through FindFirstFileA / FindNextFileA; every search that
// opens is closed with FindClose before search() returns.
class Win32DirectoryLister final : public DirectoryLister {
public:
    void search(const char* pattern, VisitEntry visit, void* context) override;
};

// build_argv over the file system. A null argv0 means this program's module
// file name (cut at a character boundary if it does not fit 1024 bytes); a
// null text means the process command line (GetCommandLineA).
ArgVector build_argv(const char* argv0, const char* text, int* count);
