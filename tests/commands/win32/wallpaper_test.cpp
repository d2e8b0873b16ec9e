#include "commands/win32/wallpaper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "commands/wallpaper.h"
#include "tests/support/win32/import_slot.h"
#include "tests/support/win32/temp_folder.h"

namespace {

const char DESKTOP[] = "control panel\\desktop";

// TileWallPaper as stored, terminator included, or "" when it is not a REG_SZ. Wine adds a missing terminator when
// the value is written, so what the program hands over is recorded too: every REG_SZ TileWallPaper write of this
// test program goes through its RegSetValueExA import slot, swapped while a case runs, with the size it passes.
extern decltype(&RegSetValueExA) import_set_value __asm__(IMPORT_SLOT(RegSetValueExA, 24));
const auto real_set_value = import_set_value;
std::string tile_written;

LONG WINAPI recording_set_value(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    if (type == REG_SZ && lstrcmpiA(name, "TileWallPaper") == 0) {
        tile_written.assign(reinterpret_cast<const char*>(data), size);
    }
    return real_set_value(key, name, reserved, type, data, size);
}

std::string tile_value()
{
    HKEY key;
    char data[64] = {};
    DWORD type = REG_NONE, length = sizeof data;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
    LONG result = RegQueryValueExA(key, "TileWallPaper", nullptr, &type, reinterpret_cast<BYTE*>(data), &length);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data, length) : "";
}

std::string wallpaper()
{
    char path[MAX_PATH] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

class SetWPWin32 : public testing::Test {
protected:
    SetWPWin32() { import_set_value = recording_set_value; }
    ~SetWPWin32() override { import_set_value = real_set_value; }

    // Marks the registry value and the wallpaper with values SetWP never writes.
    void mark()
    {
        ASSERT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, sentinel.data(), 0));
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, DESKTOP, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), 0);
        RegSetValueExA(key, "TileWallPaper", 0, REG_SZ, reinterpret_cast<const BYTE*>("sentinel"), 9);
        RegCloseKey(key);
    }

    void run(const std::string& text) const
    {
        std::string option = tree.rooted(text), buffer = option;
        EXPECT_EQ(SetWP(nullptr, "SetWP", buffer.data()), 1);
        EXPECT_EQ(buffer, option) << "the option text is only read";
    }

    TempFolder tree;
    std::string sentinel = tree.write("sentinel.bmp");
};

TEST_F(SetWPWin32, the_layout_option_writes_a_terminated_tile_value_and_no_candidate_touches_nothing)
{
    const std::string picture = tree.write("表示\\Only.BMP"), one{"1", 2}, zero{"0", 2}, untouched{"sentinel", 9};
    // Option, and tile value as read back (terminator included).
    const std::pair<const char*, std::string> cases[] = {
        {"<>表示\\*.bmp", one}, {"-c <>表示\\Only.BMP", zero}, {"-c -t -x", untouched}};
    for (const auto& [option, tile] : cases) {
        mark();
        testing::internal::CaptureStderr();
        run(option);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  std::strstr(option, "-x") ? "SetWP: illigal option -- x\n" : "");
        EXPECT_EQ(tile_value(), tile) << option;
        EXPECT_EQ(tile_written, tile) << option;
        EXPECT_EQ(wallpaper(), tile == untouched ? sentinel : picture) << option;
    }
}

// After the first run has seeded the generator, re-seeding it with a known value makes the next pick predictable;
// SetWP seeding again from the clock would spoil the prediction (by chance once in 40 for each seed).
TEST_F(SetWPWin32, later_runs_continue_the_sequence_without_seeding_again)
{
    std::string option;
    for (int i = 0; i < 40; ++i) {
        option.append("\"").append(tree.write("seq\\" + std::to_string(i) + ".bmp")).append("\" ");
    }
    run(option);
    for (unsigned seed : {7u, 1234u, 99u}) {
        std::srand(seed);
        int expected = choose_candidate(
            40, [](void*) { return std::rand(); }, nullptr);
        std::srand(seed);
        run(option);
        EXPECT_EQ(wallpaper(), tree.root + "seq\\" + std::to_string(expected) + ".bmp") << seed;
    }
}

}  // namespace
