// tavecron-check's limits on its arguments, through the program itself (the arguments are read in its main).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

// The exit status of tavecron-check run with `arguments` on an empty file: 2 when it refuses the arguments; once
// it takes them, 1 for the empty file's warning.
int check_tool_status(const std::string& arguments)
{
    const std::string command = "'" TAVECRON_CHECK_EXE "' " + arguments + " /dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CheckToolArguments, an_agenda_spans_at_least_a_minute_and_from_0_to_1000_next_runs_can_be_asked_for)
{
    const std::pair<std::string, int> cases[] = {
        {"--agenda --from '2024-02-28 12:00' --until '2024-02-28 12:00'", 2},
        {"--agenda --from '2024-02-28 12:00' --until '2024-02-28 12:01'", 1},
        {"--next 0", 1},
        {"--next 1000", 1},
        {"--next 1001", 2},
    };
    for (const auto& [arguments, status] : cases) EXPECT_EQ(check_tool_status(arguments), status) << arguments;
}

}  // namespace
