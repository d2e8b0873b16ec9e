#pragma once
// Single-letter option scanner over an argument vector. The names live in
// namespace tavecron so that they never meet the C library's getopt.
//
// One scan at a time, process-wide: set optreset to 1, then call getopt until
// it returns -1; the operands are argv[optind] .. argv[argc - 1].
//
// Each call looks at one argument: "-x" yields the letter x (characters after
// it are ignored); the first argument not starting with '-' ends the scan and
// stays at optind; a lone "-" is consumed and skipped. A letter followed by ':'
// in the option string takes the next argument as optarg.
namespace tavecron {

extern int optreset;  // starts set; the next call clears it and restarts
extern int optind;    // next argument to look at; 1 after a reset
extern int optopt;    // letter of the last call, '?' after an error
extern char* optarg;  // argument of the last option that takes one

// Returns the option letter; '?' for a letter that is not accepted or lacks
// its argument, after writing "<argv[0]>: illigal option -- <letter>\n" or
// "<argv[0]>: option requires an argument -- <letter>" (no line feed) to the
// standard error stream; -1 when there are no more options. argv holds argc
// texts; option_string is zero-terminated.
int getopt(int argc, char* const argv[], const char* option_string);

}  // namespace tavecron
