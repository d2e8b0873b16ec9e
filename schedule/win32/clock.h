#pragma once
// The Win32 face of the matcher: clock times arrive as SYSTEMTIME.
#include <windows.h>

#include "schedule/time_pattern.h"

ClockTime clock_time_from(const SYSTEMTIME& time);

int entry_is_due(const SYSTEMTIME& time, const CronEntry& entry);
