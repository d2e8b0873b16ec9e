#pragma once
// The benchmarks' clock, milliseconds from the performance counter, and the
// build they measure, named in every printed figure: the 32-bit and the
// 64-bit program are built from the same sources and run differently.
#include <windows.h>

constexpr const char* BENCH_BUILD = sizeof(void*) == 4 ? "PE32 i686" : "PE32+ x86-64";

inline double now_ms()
{
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
