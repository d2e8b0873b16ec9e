#include "commands/win32/wallpaper.h"

#include <cstdlib>
#include <ctime>

#include "base/win32/owned_handle.h"
#include "commands/option_scanner.h"
#include "commands/wallpaper.h"
#include "commands/win32/arg_vector.h"

namespace {

bool generator_seeded = false;

int draw_rand(void*)
{
    return std::rand();
}

// Writes TileWallPaper as "1" or "0" with its terminator: REG_SZ data must
// include the terminating NUL, or readers may run past the value. The key is
// closed on return, before the caller sets the wallpaper.
void write_tile_value(int tile)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "control panel\\desktop", 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE,
                        nullptr, &opened, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const OwnedRegistryKey key(opened);
    const char* data = tile != 0 ? "1" : "0";
    RegSetValueExA(key.get(), "TileWallPaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), 2);
}

}  // namespace

int SetWP(HWND, const char* name, char* option)
{
    if (!generator_seeded) {
        generator_seeded = true;
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    }
    int count = 0;
    const OwnedArgVector owned(build_argv(name, option, &count));
    if (!owned) {
        return 1;
    }
    ArgVector argv = owned.get();
    int tile = scan_layout_options(count, argv);
    int first = tavecron::optind;
    int n = count - first;
    if (n > 0) {
        write_tile_value(tile);
        int index = choose_candidate(n, draw_rand, nullptr);
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, argv[first + index], 0);
    }
    return 1;
}
