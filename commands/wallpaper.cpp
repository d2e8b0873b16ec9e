#include "commands/wallpaper.h"

#include "commands/option_scanner.h"

int scan_layout_options(int argc, char* const argv[])
{
    int tile = 1;
    tavecron::optreset = 1;
    for (int letter = tavecron::getopt(argc, argv, "tc"); letter != -1; letter = tavecron::getopt(argc, argv, "tc")) {
        if (letter == 'c') {
            tile = 0;
        } else if (letter == 't') {
            tile = 1;
        }
    }
    return tile;
}

int choose_candidate(int n, RandomDraw draw, void* context)
{
    if (n <= 0) {
        return -1;
    }
    unsigned long high = static_cast<unsigned long>(draw(context)) & 0x7FFFu;
    unsigned long low = static_cast<unsigned long>(draw(context)) & 0x7FFFu;
    unsigned long wide = (high << 15) | low;
    return static_cast<int>(wide % static_cast<unsigned long>(n));
}
