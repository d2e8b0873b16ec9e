#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "app/edit_text_cut.h"
#include "schedule/cron_entry.h"

namespace {

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

}  // namespace
