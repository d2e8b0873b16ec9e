#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/crontab_path.h"

namespace {

TEST(CrontabLocation, is_the_argument_as_given_or_cron_tab_in_the_program_folder_and_never_a_path_over_255_bytes)
{
    // A program folder in which the default file's path is `bytes` long.
    auto folder = [](std::size_t bytes) {
        return "C:\\" + std::string(bytes - 4 - (sizeof DEFAULT_CRONTAB_NAME - 1), 'd') + "\\";
    };
    const std::string a255(255, 'a'), a256(256, 'a'), fits = folder(255), refused = folder(256), huge = folder(310);
    // Module path, argument, directory and path found (empty: none).
    const std::tuple<std::string, const char*, std::string, std::string> cases[] = {
        {"C:\\tools\\tave\\tavecron.exe", nullptr, "C:\\tools\\tave\\", "C:\\tools\\tave\\cron.tab"},
        {"C:\\tave\\tavecron.exe", "sub\\my.tab", "C:\\tave\\", "sub\\my.tab"},
        {"tavecron.exe", nullptr, "", "cron.tab"},
        // Code page 932: 表 is 95 5C and ソ is 83 5C; their 5C is no backslash.
        {"C:\\\x95\x5C\\tavecron.exe", nullptr, "C:\\\x95\x5C\\", "C:\\\x95\x5C\\cron.tab"},
        {"C:\\dir\\\x83\x5C.exe", nullptr, "C:\\dir\\", "C:\\dir\\cron.tab"},
        // One-byte katakana (A1 to DF) are not lead bytes.
        {"C:\\\xB6\xC5\\x.exe", nullptr, "C:\\\xB6\xC5\\", "C:\\\xB6\xC5\\cron.tab"},
        // A NUL ends the path even right after a lead byte.
        {std::string("C:\\d\\\x81\0\\x.exe", 12), nullptr, "C:\\d\\", "C:\\d\\cron.tab"},
        // 255 bytes fit; a longer path is refused whole, never cut.
        {fits + "t.exe", nullptr, fits, fits + "cron.tab"},
        {refused + "t.exe", nullptr, refused, ""},
        {"C:\\t.exe", a255.c_str(), "C:\\", a255},
        {"C:\\t.exe", a256.c_str(), "C:\\", ""},
        // A folder too long for a buffer is not used; an argument still counts.
        {huge + "t.exe", nullptr, "", ""},
        {huge + "t.exe", "x.tab", "", "x.tab"},
        // An unknown (empty) module path gives no default file, not "cron.tab" in whatever folder is current.
        {"", nullptr, "", ""},
    };
    for (const auto& [module, argument, directory, path] : cases) {
        const CrontabLocation location = locate_crontab(module, argument);
        EXPECT_EQ(location.directory.data(), directory) << module;
        EXPECT_EQ(location.has_directory, !directory.empty()) << module;
        EXPECT_EQ(location.path.data(), path) << module;
        EXPECT_EQ(location.has_path, !path.empty()) << module;
    }
}

}  // namespace
