// The main window's plain rules: when a timer tick starts a due pass, how an
// edited cell text is cut, and where start-up looks for the crontab file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/crontab_path.h"
#include "app/edit_text_cut.h"
#include "app/minute_rule.h"
#include "schedule/cron_entry.h"

namespace {

struct TickCase {
    const char* what;
    std::vector<int> tick_minutes;
    std::vector<int> pass_minutes;
};

TEST(MinuteRule, runs_one_pass_per_change_of_minute_and_none_on_the_first_tick)
{
    const TickCase cases[] = {
        {"first tick", {17}, {}},
        {"first tick at minute 0", {0, 0}, {}},
        {"same minute", {10, 10, 10}, {}},
        {"new minutes", {10, 10, 11, 11, 12, 14, 14}, {11, 12, 14}},
        {"hour wrap", {59, 0}, {0}},
        {"clock set back an hour, same minute value", {29, 30, 30, 30, 31}, {30, 31}},
        {"clock set to another minute", {5, 42, 42}, {42}},
    };
    for (const TickCase& c : cases) {
        std::vector<int> passes;
        int last_minute = -1;
        for (int minute : c.tick_minutes) {
            const MinuteStep step = next_minute_step(last_minute, minute);
            // The minute to note is the tick's own, whether a pass runs or not.
            EXPECT_EQ(step.last_minute, minute) << c.what;
            last_minute = step.last_minute;
            if (step.run_pass) {
                passes.push_back(minute);
            }
        }
        EXPECT_EQ(passes, c.pass_minutes) << c.what;
    }
}

TEST(EditTextCut, cuts_time_and_command_cells_at_the_first_blank_and_keeps_the_option)
{
    struct CutCase {
        int column;
        const char* text;
        const char* expected;
    };
    const CutCase cases[] = {
        {COL_COMMAND, "System notepad.exe", "System"},
        {COL_COMMAND, " System", ""},
        {COL_MINUTE, "\t5", ""},
        {COL_MONTH, "1,2\t3 4", "1,2"},
        {COL_DAY, "1 2\t3", "1"},
        {COL_HOUR, "*/2", "*/2"},
        {COL_OPTION, "notepad.exe \"a b\"\tx", "notepad.exe \"a b\"\tx"},
    };
    for (const CutCase& c : cases) {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%s", c.text);
        cut_edited_text(c.column, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.expected) << "column " << c.column << " text '" << c.text << "'";
    }
}

TEST(EditTextCut, an_unterminated_buffer_is_only_read_within_its_size)
{
    char buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', ' ', 'x'};
    cut_edited_text(COL_COMMAND, buffer, 6);
    EXPECT_EQ(std::string(buffer, 8), std::string("abcdef x", 8));
}

TEST(CrontabLocation, finds_the_default_file_in_the_program_directory_and_takes_an_argument_as_given)
{
    struct LocationCase {
        std::string module_path;
        const char* argument;
        const char* directory;
        const char* path;
    };
    const LocationCase cases[] = {
        {"C:\\tools\\tave\\tavecron.exe", nullptr, "C:\\tools\\tave\\", "C:\\tools\\tave\\cron.tab"},
        {"C:\\tave\\tavecron.exe", "sub\\my.tab", "C:\\tave\\", "sub\\my.tab"},
        {"tavecron.exe", nullptr, "", "cron.tab"},
        // Code page 932: 表 is 95 5C and ソ is 83 5C; their 5C is no backslash.
        {"C:\\\x95\x5C\\tavecron.exe", nullptr, "C:\\\x95\x5C\\", "C:\\\x95\x5C\\cron.tab"},
        {"C:\\dir\\\x83\x5C.exe", nullptr, "C:\\dir\\", "C:\\dir\\cron.tab"},
        // One-byte katakana (A1 to DF) are not lead bytes.
        {"C:\\\xB6\xC5\\x.exe", nullptr, "C:\\\xB6\xC5\\", "C:\\\xB6\xC5\\cron.tab"},
    };
    for (const LocationCase& c : cases) {
        const CrontabLocation location = locate_crontab(c.module_path, c.argument);
        EXPECT_STREQ(location.directory.data(), c.directory) << c.module_path;
        EXPECT_EQ(location.has_directory, c.directory[0] != '\0') << c.module_path;
        EXPECT_TRUE(location.has_path) << c.module_path;
        EXPECT_STREQ(location.path.data(), c.path) << c.module_path;
    }
}

TEST(CrontabLocation, refuses_paths_over_255_bytes_instead_of_cutting_them)
{
    const std::size_t name = sizeof DEFAULT_CRONTAB_NAME - 1;
    const std::string fits_dir = "C:\\" + std::string(255 - 4 - name, 'd') + "\\";
    const CrontabLocation fits = locate_crontab(fits_dir + "t.exe", nullptr);
    ASSERT_TRUE(fits.has_path);
    EXPECT_EQ(std::string(fits.path.data()).size(), 255u);

    const std::string long_dir = "C:\\" + std::string(256 - 4 - name, 'd') + "\\";
    const CrontabLocation refused = locate_crontab(long_dir + "t.exe", nullptr);
    EXPECT_TRUE(refused.has_directory);
    EXPECT_FALSE(refused.has_path);
    EXPECT_STREQ(refused.path.data(), "");

    EXPECT_TRUE(locate_crontab("C:\\t.exe", std::string(255, 'a').c_str()).has_path);
    EXPECT_FALSE(locate_crontab("C:\\t.exe", std::string(256, 'a').c_str()).has_path);

    // A directory too long for a buffer is not used; an argument still counts.
    const std::string huge_dir = "C:\\" + std::string(300, 'd') + "\\";
    EXPECT_FALSE(locate_crontab(huge_dir + "t.exe", nullptr).has_directory);
    EXPECT_FALSE(locate_crontab(huge_dir + "t.exe", nullptr).has_path);
    EXPECT_TRUE(locate_crontab(huge_dir + "t.exe", "x.tab").has_path);
}

}  // namespace
