// tavecron-check's limits on its arguments, through the program itself (the arguments are read in its main).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <tuple>

namespace {

// The exit status of tavecron-check run with `arguments` on an empty file (2 when it refuses the arguments; once
// it takes them, 1 for the empty file's warning), and what it writes on its error output.
int check_tool_status(const std::string& arguments, std::string& said)
{
    const std::string command = "'" TAVECRON_CHECK_EXE "' --lang en " + arguments + " /dev/null 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) said.append(buffer, got);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A refusal names the option it refuses.
TEST(CheckToolArguments, an_agenda_spans_a_minute_or_more_up_to_1000_runs_are_asked_and_until_or_max_need_agenda)
{
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--agenda --from '2024-02-28 12:00' --until '2024-02-28 12:00'", 2, "--until"},
        {"--agenda --from '2024-02-28 12:00' --until '2024-02-28 12:01'", 1, ""},
        {"--next 0", 1, ""},
        {"--next 1000", 1, ""},
        {"--next 1001", 2, "--next"},
        {"--until 12:00", 2, "--until belongs to --agenda"},
        {"--max 5", 2, "--max belongs to --agenda"},
    };
    for (const auto& [arguments, status, named] : cases) {
        std::string said;
        EXPECT_EQ(check_tool_status(arguments, said), status) << arguments;
        EXPECT_NE(said.find(named), std::string::npos) << arguments << ": " << said;
    }
}

}  // namespace
