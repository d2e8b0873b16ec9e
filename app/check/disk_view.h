#pragma once
// The disk the checker looks at for the programs and pictures of System and
// SetWP entries (schedule/check/check_disk.h).
#include <memory>

#include "schedule/check/check_disk.h"

// Windows: the disk seen from `folder` (null: the checker's own folder, which
// the release shares with tavecron.exe), made the current directory while the
// probe lives, as the program makes its own; null with `folder_bad` set when
// that folder cannot be entered. Elsewhere: null, as no Windows disk can be
// seen from there.
std::unique_ptr<DiskProbe> open_disk_probe(const char* folder, bool& folder_bad);
