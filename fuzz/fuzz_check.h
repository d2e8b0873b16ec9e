#pragma once
// Property checks for the fuzz targets. A failed check aborts, which libFuzzer
// reports like a crash and keeps the input that caused it.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzz_check_failed(const char* condition, const char* file, int line)
{
    // Straight to descriptor 2: a target may have pointed the C library's
    // stderr somewhere else.
    dprintf(2, "%s:%d: property failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : fuzz_check_failed(#condition, __FILE__, __LINE__))
