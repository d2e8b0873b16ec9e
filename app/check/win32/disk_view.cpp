#include "app/check/disk_view.h"

#include "schedule/check/win32/disk_probe.h"

std::unique_ptr<DiskProbe> open_disk_probe(const char* folder, bool& folder_bad)
{
    auto probe = std::make_unique<Win32DiskProbe>(folder);
    folder_bad = !probe->entered();
    if (folder_bad) probe.reset();
    return probe;
}
