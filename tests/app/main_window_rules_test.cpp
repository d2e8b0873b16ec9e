#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "app/crontab_path.h"
#include "app/edit_text_cut.h"
#include "app/minute_rule.h"
#include "schedule/cron_entry.h"

namespace {

TEST(MinuteRule, runs_one_pass_per_change_of_minute_and_none_on_the_first_tick)
{
    const std::tuple<const char*, std::vector<int>, std::vector<int>> cases[] = {
        {"first tick at minute 0", {0, 0}, {}},
        {"new minutes", {10, 10, 11, 11, 12, 14, 14}, {11, 12, 14}},
        {"through minute 0 of the next hour", {58, 59, 0, 1}, {59, 0, 1}},
        {"clock set back an hour, same minute value", {29, 30, 30, 30, 31}, {30, 31}},
        {"clock set to another minute", {5, 42, 42}, {42}},
    };
    for (const auto& [what, tick_minutes, pass_minutes] : cases) {
        std::vector<int> passes;
        int last_minute = -1;
        for (int minute : tick_minutes) {
            const MinuteStep step = next_minute_step(last_minute, minute);
            // The minute to note is the tick's own, whether a pass runs or not.
            EXPECT_EQ(step.last_minute, minute) << what;
            last_minute = step.last_minute;
            if (step.run_pass) passes.push_back(minute);
        }
        EXPECT_EQ(passes, pass_minutes) << what;
    }
}

TEST(EditTextCut, cuts_time_and_command_cells_at_the_first_blank_and_keeps_the_option)
{
    // Column, text, cut text.
    const std::tuple<int, const char*, const char*> cases[] = {
        {COL_COMMAND, "System notepad.exe", "System"},
        {COL_MONTH, "1,2\t3 4", "1,2"},
        {COL_DAY, "1 2\t3", "1"},
        {COL_OPTION, "notepad.exe \"a b\"\tx", "notepad.exe \"a b\"\tx"},
    };
    for (const auto& [column, text, expected] : cases) {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%s", text);
        cut_edited_text(column, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, expected) << "column " << column << " text '" << text << "'";
    }
}

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
