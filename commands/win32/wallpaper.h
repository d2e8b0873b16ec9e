#pragma once
// The wallpaper command: picks one picture at random from the paths and
// wildcard patterns of its option text and makes it the desktop wallpaper.
#include <windows.h>

// The command handler of "SetWP". `table` is not used. `name` becomes argv0 of
// the option text's argument vector, and so the program name in the option
// scanner's complaints. `option` (zero-terminated, owned by the caller) is
// only read.
//
// Option text: "-t" tiles (the default), "-c" centres; the last of them wins.
// Every operand after the options is a candidate path or pattern. With at
// least one candidate, TileWallPaper ("1" or "0", REG_SZ with its terminator)
// is written under HKEY_CURRENT_USER\control panel\desktop, then one candidate
// is chosen at random and set as the wallpaper for this session only (not
// written to the profile, not broadcast). With none, nothing is touched.
// The generator is seeded once per process from the calendar time.
// Always returns 1; failures are not reported.
int SetWP(HWND table, const char* name, char* option);
