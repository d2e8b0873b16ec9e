#include "commands/option_scanner.h"

#include <cstdio>

namespace tavecron {

int optreset = 1;
int optind = 1;
int optopt = 0;
char* optarg = nullptr;

namespace {

const char* program_name(char* const argv[])
{
    return argv[0] != nullptr ? argv[0] : "";
}

// The entry of `letter` in the option string, or null. Stops at the string's
// terminator, so neither the terminator nor a ':' ever counts as a letter.
const char* find_option(const char* option_string, char letter)
{
    if (letter == ':') {
        return nullptr;
    }
    for (const char* p = option_string; *p != '\0'; ++p) {
        if (*p == letter) {
            return p;
        }
    }
    return nullptr;
}

}  // namespace

int getopt(int argc, char* const argv[], const char* option_string)
{
    if (optreset != 0) {
        optreset = 0;
        optarg = nullptr;
        optind = 1;
        optopt = 0;
    }
    for (;;) {
        if (optind >= argc || argv[optind] == nullptr || argv[optind][0] != '-') {
            return -1;
        }
        char letter = argv[optind][1];
        ++optind;
        if (letter != '\0') {
            optopt = static_cast<unsigned char>(letter);
            break;
        }
        // A lone "-" carries no letter: skip it and look at the next argument.
    }

    const char* entry = find_option(option_string, static_cast<char>(optopt));
    if (entry == nullptr) {
        std::fprintf(stderr, "%s: illigal option -- %c\n", program_name(argv), optopt);
        optopt = '?';
        return '?';
    }
    if (entry[1] != ':') {
        return optopt;
    }
    if (optind < argc) {
        optarg = argv[optind];
        ++optind;
        return optopt;
    }
    std::fprintf(stderr, "%s: option requires an argument -- %c", program_name(argv), optopt);
    optopt = '?';
    return '?';
}

}  // namespace tavecron
