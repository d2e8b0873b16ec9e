#pragma once
// The wallpaper command's rules: layout options and the random pick.

// Scans argv (argc texts from build_argv) for the layout options with the
// option scanner (option string "tc", restarting its scan): returns 1 to tile
// (the default or a last "-t"), 0 to centre (a last "-c"). Other letters are
// reported by the scanner and ignored. Afterwards tavecron::optind indexes the
// first candidate.
int scan_layout_options(int argc, char* const argv[]);

// A pseudo-random generator with results 0..32767 (higher bits are ignored).
using RandomDraw = int (*)(void* context);

// Picks an index in 0..n-1 for n > 0 candidates; -1 when n <= 0 (nothing is
// drawn then). Two draws are combined into a 30-bit number taken modulo n, so
// every index is reachable for any n a vector can hold, not only the first
// 32768 (one 15-bit draw would leave the rest unreachable).
int choose_candidate(int n, RandomDraw draw, void* context);
