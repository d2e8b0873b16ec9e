#include "schedule/win32/clock.h"

ClockTime clock_time_from(const SYSTEMTIME& time)
{
    return ClockTime{time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                     time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
}

int entry_is_due(const SYSTEMTIME& time, const CronEntry& entry)
{
    return entry_is_due(clock_time_from(time), entry);
}
