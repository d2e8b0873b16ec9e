#include "commands/option_scanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// One getopt result with the state it leaves.
struct Step {
    int result;
    int optopt;
    const char* optarg;  // null when none is expected
};

struct ScanCase {
    std::vector<const char*> args;
    const char* options;
    std::vector<Step> steps;  // up to and including the first -1
    int optind_after;
    const char* stderr_text;
};

// Runs a whole scan, as the callers do: reset, then call until -1.
void run_scan(const ScanCase& c)
{
    std::vector<char*> argv;
    std::vector<std::string> storage(c.args.begin(), c.args.end());
    for (auto& s : storage) {
        argv.push_back(s.data());
    }
    tavecron::optreset = 1;
    CaptureStderr();
    std::vector<Step> seen;
    for (int guard = 0; guard < 20; ++guard) {
        int r = tavecron::getopt(static_cast<int>(argv.size()), argv.data(), c.options);
        seen.push_back({r, tavecron::optopt, tavecron::optarg});
        if (r == -1) {
            break;
        }
    }
    std::string err = GetCapturedStderr();
    ASSERT_EQ(seen.size(), c.steps.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].result, c.steps[i].result) << "call " << i;
        EXPECT_EQ(seen[i].optopt, c.steps[i].optopt) << "call " << i;
        if (c.steps[i].optarg == nullptr) {
            EXPECT_EQ(seen[i].optarg, nullptr) << "call " << i;
        } else {
            ASSERT_NE(seen[i].optarg, nullptr) << "call " << i;
            EXPECT_STREQ(seen[i].optarg, c.steps[i].optarg) << "call " << i;
        }
    }
    EXPECT_EQ(tavecron::optind, c.optind_after);
    EXPECT_EQ(err, c.stderr_text);
}

TEST(OptionScanner, scans_follow_the_option_string_and_stop_at_the_first_operand)
{
    const ScanCase cases[] = {
        {{"prog"}, "h", {{-1, 0, nullptr}}, 1, ""},
        {{"prog", "-t", "-c", "pic"}, "tc", {{'t', 't', nullptr}, {'c', 'c', nullptr}, {-1, 'c', nullptr}}, 3, ""},
        {{"prog", "-tc"}, "tc", {{'t', 't', nullptr}, {-1, 't', nullptr}}, 2, ""},
        {{"prog", "-xt", "f"}, "tc", {{'?', '?', nullptr}, {-1, '?', nullptr}}, 2, "prog: illigal option -- x\n"},
        {{"prog", "--", "-c"}, "tc", {{'?', '?', nullptr}, {'c', 'c', nullptr}, {-1, 'c', nullptr}}, 3,
         "prog: illigal option -- -\n"},
        {{"prog", "file", "-c"}, "tc", {{-1, 0, nullptr}}, 1, ""},
        {{"prog", "-", "-c", "x"}, "tc", {{'c', 'c', nullptr}, {-1, 'c', nullptr}}, 3, ""},
        {{"prog", "-"}, "tc", {{-1, 0, nullptr}}, 2, ""},
        {{"prog", "-o", "val", "rest"}, "o:", {{'o', 'o', "val"}, {-1, 'o', "val"}}, 3, ""},
        {{"prog", "-o"}, "o:", {{'?', '?', nullptr}, {-1, '?', nullptr}}, 2,
         "prog: option requires an argument -- o"},
        {{"prog", "-:", "-o"}, "o:", {{'?', '?', nullptr}, {'?', '?', nullptr}, {-1, '?', nullptr}}, 3,
         "prog: illigal option -- :\nprog: option requires an argument -- o"},
        {{"prog", "-h"}, "", {{'?', '?', nullptr}, {-1, '?', nullptr}}, 2, "prog: illigal option -- h\n"},
        {{"SetWP", "-\xE9"}, "tc", {{'?', '?', nullptr}, {-1, '?', nullptr}}, 2, "SetWP: illigal option -- \xE9\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        run_scan(cases[i]);
    }
}

TEST(OptionScanner, a_null_program_name_is_written_as_empty)
{
    char letter[] = "-x";
    char* argv[] = {nullptr, letter};
    tavecron::optreset = 1;
    CaptureStderr();
    EXPECT_EQ(tavecron::getopt(2, argv, "h"), '?');
    EXPECT_EQ(GetCapturedStderr(), ": illigal option -- x\n");
}

TEST(OptionScanner, a_lone_dash_never_reads_past_the_option_string)
{
    // Exactly sized on the heap, so that the sanitizer build sees any read of
    // the byte after the terminator.
    std::unique_ptr<char[]> options(new char[1]{'\0'});
    char dash[] = "-";
    char prog[] = "prog";
    char* argv[] = {prog, dash};
    tavecron::optreset = 1;
    EXPECT_EQ(tavecron::getopt(2, argv, options.get()), -1);
    EXPECT_EQ(tavecron::optind, 2);
}

TEST(OptionScanner, a_reset_restarts_an_unfinished_scan_and_an_ended_scan_stays_ended)
{
    char prog[] = "prog", t[] = "-t", c[] = "-c", file[] = "file";
    char* argv[] = {prog, t, c, file};
    tavecron::optreset = 1;
    EXPECT_EQ(tavecron::getopt(4, argv, "tc"), 't');
    tavecron::optreset = 1;
    EXPECT_EQ(tavecron::getopt(4, argv, "tc"), 't');
    EXPECT_EQ(tavecron::getopt(4, argv, "tc"), 'c');
    EXPECT_EQ(tavecron::getopt(4, argv, "tc"), -1);
    EXPECT_EQ(tavecron::getopt(4, argv, "tc"), -1);
    EXPECT_EQ(tavecron::optind, 3);
}

}  // namespace
