#include "schedule/check/crontab_check.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// An "@" schedule that an entry here can do gets that whole entry proposed, quoted: the schedule's five time
// fields, then the rest of the line as written, inner blanks kept.
TEST(CheckSuggestions, each_at_schedule_an_entry_can_do_proposes_that_whole_entry)
{
    const std::pair<std::string, std::string> cases[] = {
        {"@yearly System a.bat x", "0 0 1 1 * System a.bat x"},
        {"@annually NoAction", "0 0 1 1 * NoAction"},
        {"@monthly SetWP -c b.bmp", "0 0 1 * * SetWP -c b.bmp"},
        {"@daily System c", "0 0 * * * System c"},
        {"@midnight System d", "0 0 * * * System d"},
        {" @hourly\tNoAction  e \r", "0 * * * * NoAction  e"},
    };
    ClockTime from{};
    ASSERT_TRUE(make_clock_time(2024, 1, 31, 12, 0, from));
    for (const auto& [line, proposed] : cases) {
        LineCheck check;
        check_crontab_line(line.c_str(), static_cast<int>(line.size()), 1, 0, from, 1, check);
        std::string said;
        for (const CheckWarning& warning : check.warnings) said += warning.text + "\n";
        EXPECT_NE(said.find('"' + proposed + '"'), std::string::npos) << said;
    }
}

}  // namespace
