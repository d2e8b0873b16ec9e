// The main window's plain rules: when a timer tick starts a due pass, how an
// edited cell text is cut, and where start-up looks for the crontab file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/crontab_path.h"
#include "app/edit_text_cut.h"
#include "app/minute_rule.h"
#include "schedule/cron_entry.h"

namespace {

// Feeds a series of tick minutes through the rule, as the timer does, and
// answers the minutes for which a due pass ran.
std::vector<int> passes_for_ticks(const std::vector<int>& minutes)
{
    std::vector<int> passes;
    int last_minute = -1;
    for (int minute : minutes) {
        const MinuteStep step = next_minute_step(last_minute, minute);
        last_minute = step.last_minute;
        if (step.run_pass) {
            passes.push_back(minute);
        }
    }
    return passes;
}

TEST(MinuteRule, the_first_tick_only_notes_its_minute)
{
    const MinuteStep step = next_minute_step(-1, 17);
    EXPECT_FALSE(step.run_pass);
    EXPECT_EQ(step.last_minute, 17);
}

TEST(MinuteRule, the_first_tick_at_minute_zero_runs_nothing_and_notes_zero)
{
    const MinuteStep step = next_minute_step(-1, 0);
    EXPECT_FALSE(step.run_pass);
    EXPECT_EQ(step.last_minute, 0);
}

TEST(MinuteRule, ticks_of_the_same_minute_run_nothing)
{
    const MinuteStep step = next_minute_step(17, 17);
    EXPECT_FALSE(step.run_pass);
    EXPECT_EQ(step.last_minute, 17);
}

TEST(MinuteRule, a_new_minute_runs_one_pass_and_is_noted_at_once)
{
    const MinuteStep step = next_minute_step(59, 0);
    EXPECT_TRUE(step.run_pass);
    // The new minute is what the caller stores before the pass runs, so a
    // tick dispatched inside the pass (a message box) sees the same minute.
    EXPECT_EQ(step.last_minute, 0);
    EXPECT_FALSE(next_minute_step(step.last_minute, 0).run_pass);
}

TEST(MinuteRule, each_change_of_minute_runs_once_on_its_first_tick)
{
    EXPECT_EQ(passes_for_ticks({10, 10, 11, 11, 11, 12, 14, 14}), (std::vector<int>{11, 12, 14}));
}

TEST(MinuteRule, the_clock_set_back_an_hour_with_the_same_minute_runs_nothing)
{
    // 10:30 noted; the clock goes back to 9:30: the minute value is unchanged.
    EXPECT_EQ(passes_for_ticks({29, 30, 30, 31}), (std::vector<int>{30, 31}));
    const MinuteStep step = next_minute_step(30, 30);
    EXPECT_FALSE(step.run_pass);
}

TEST(MinuteRule, the_clock_set_to_another_minute_runs_that_minute)
{
    EXPECT_EQ(passes_for_ticks({5, 5, 42, 42}), (std::vector<int>{42}));
}

struct CutCase {
    int column;
    const char* text;
    const char* expected;
};

class EditTextCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(EditTextCut, cuts_single_word_cells_at_the_first_blank)
{
    const CutCase& c = GetParam();
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s", c.text);
    cut_edited_text(c.column, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, EditTextCut,
    ::testing::Values(
        CutCase{COL_COMMAND, "System notepad.exe", "System"},
        CutCase{COL_COMMAND, " System", ""},
        CutCase{COL_MINUTE, "\t5", ""},
        CutCase{COL_MONTH, "1,2\t3 4", "1,2"},
        CutCase{COL_DAY, "1 2\t3", "1"},
        CutCase{COL_HOUR, "*/2", "*/2"},
        CutCase{COL_MINUTE, "", ""},
        CutCase{COL_OPTION, "notepad.exe \"a b\"\tx", "notepad.exe \"a b\"\tx"},
        CutCase{COL_OPTION, " leading", " leading"}));

TEST(EditTextCutBounds, an_unterminated_buffer_is_only_read_within_its_size)
{
    // The blank lies beyond the given size: nothing in the buffer may change.
    char buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', ' ', 'x'};
    cut_edited_text(COL_COMMAND, buffer, 6);
    EXPECT_EQ(std::string(buffer, 8), std::string("abcdef x", 8));
    cut_edited_text(COL_COMMAND, buffer, 8);
    EXPECT_EQ(std::string(buffer, 6), "abcdef");
    EXPECT_EQ(buffer[6], '\0');
}

TEST(CrontabLocationDefault, the_default_file_lies_in_the_program_directory)
{
    const CrontabLocation location = locate_crontab("C:\\tools\\tave\\tavecron.exe", nullptr);
    EXPECT_TRUE(location.has_directory);
    EXPECT_STREQ(location.directory.data(), "C:\\tools\\tave\\");
    EXPECT_TRUE(location.has_path);
    EXPECT_STREQ(location.path.data(), "C:\\tools\\tave\\cron.tab");
}

TEST(CrontabLocationDefault, an_argument_is_used_as_given)
{
    const CrontabLocation location = locate_crontab("C:\\tave\\tavecron.exe", "sub\\my.tab");
    EXPECT_STREQ(location.directory.data(), "C:\\tave\\");
    EXPECT_TRUE(location.has_path);
    EXPECT_STREQ(location.path.data(), "sub\\my.tab");
}

TEST(CrontabLocationDefault, a_module_path_without_backslash_gives_plain_cron_tab)
{
    const CrontabLocation location = locate_crontab("tavecron.exe", nullptr);
    EXPECT_FALSE(location.has_directory);
    EXPECT_STREQ(location.directory.data(), "");
    EXPECT_TRUE(location.has_path);
    EXPECT_STREQ(location.path.data(), "cron.tab");
}

TEST(CrontabLocationCp932, a_trail_byte_0x5c_is_not_taken_for_a_backslash)
{
    // "C:\表\tavecron.exe" and "C:\ソ" in code page 932: 表 is 95 5C, ソ is 83 5C.
    const std::string hyou = "C:\\\x95\x5C\\tavecron.exe";
    EXPECT_EQ(directory_length(hyou), 6u);
    const std::string so_last = "C:\\\x83\x5C";
    EXPECT_EQ(directory_length(so_last), 3u);
    const CrontabLocation location = locate_crontab("C:\\dir\\\x83\x5C.exe", nullptr);
    EXPECT_STREQ(location.path.data(), "C:\\dir\\cron.tab");
}

TEST(CrontabLocationCp932, single_byte_katakana_are_not_lead_bytes)
{
    // 0xA1 to 0xDF are one-byte characters: a backslash after one still counts.
    EXPECT_EQ(directory_length("C:\\\xB6\xC5\\x.exe"), 6u);
    EXPECT_FALSE(is_cp932_lead_byte(0xA1));
    EXPECT_FALSE(is_cp932_lead_byte(0xDF));
    EXPECT_TRUE(is_cp932_lead_byte(0x81));
    EXPECT_TRUE(is_cp932_lead_byte(0xFC));
}

TEST(CrontabLocationLength, paths_that_fit_255_bytes_are_kept_and_longer_ones_refused)
{
    const std::string dir = "C:\\" + std::string(255 - 3 - 1 - std::strlen(DEFAULT_CRONTAB_NAME), 'd') + "\\";
    const CrontabLocation fits = locate_crontab(dir + "tavecron.exe", nullptr);
    ASSERT_TRUE(fits.has_path);
    EXPECT_EQ(std::strlen(fits.path.data()), 255u);

    const std::string longer = "C:\\" + std::string(255 - 3 - std::strlen(DEFAULT_CRONTAB_NAME), 'd') + "\\";
    const CrontabLocation refused = locate_crontab(longer + "tavecron.exe", nullptr);
    EXPECT_TRUE(refused.has_directory);
    EXPECT_FALSE(refused.has_path);
    EXPECT_STREQ(refused.path.data(), "");
}

TEST(CrontabLocationLength, a_long_argument_is_refused_not_cut)
{
    const std::string exact(255, 'a');
    EXPECT_TRUE(locate_crontab("C:\\t.exe", exact.c_str()).has_path);
    const std::string too_long = std::string(255, 'a') + ".tab";
    const CrontabLocation location = locate_crontab("C:\\t.exe", too_long.c_str());
    EXPECT_FALSE(location.has_path);
    EXPECT_STREQ(location.path.data(), "");
}

TEST(CrontabLocationLength, a_directory_too_long_for_a_buffer_is_not_used)
{
    const std::string dir = "C:\\" + std::string(300, 'd') + "\\";
    const CrontabLocation location = locate_crontab(dir + "tavecron.exe", nullptr);
    EXPECT_FALSE(location.has_directory);
    EXPECT_FALSE(location.has_path);
    // An argument is still honoured: it does not depend on the directory.
    EXPECT_TRUE(locate_crontab(dir + "tavecron.exe", "x.tab").has_path);
}

}  // namespace
