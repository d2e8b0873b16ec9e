#include "commands/option_scanner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct ScanCase {
    std::vector<std::string> args;
    const char* options;
    std::string results;  // each call's result up to -1, which is left out
    std::string optopts;  // optopt after each of those calls
    int optind_after;
    const char* errors;   // everything written to the standard error stream
};

TEST(OptionScanner, scans_follow_the_option_string_and_stop_at_the_first_operand)
{
    const ScanCase cases[] = {
        {{"prog"}, "h", "", "", 1, ""},
        {{"prog", "-t", "-c", "pic"}, "tc", "tc", "tc", 3, ""},
        {{"prog", "-tc"}, "tc", "t", "t", 2, ""},
        {{"prog", "-xt", "f"}, "tc", "?", "?", 2, "prog: illigal option -- x\n"},
        {{"prog", "--", "-c"}, "tc", "?c", "?c", 3, "prog: illigal option -- -\n"},
        {{"prog", "file", "-c"}, "tc", "", "", 1, ""},
        {{"prog", "-", "-c", "-", "x"}, "tc", "c", "c", 4, ""},
        {{"prog", "-o", "val", "-o"}, "o:", "o?", "o?", 4, "prog: option requires an argument -- o"},
        {{"prog", "-:", "-h"}, "o:", "??", "??", 3, "prog: illigal option -- :\nprog: illigal option -- h\n"},
        {{"SetWP", "-\xE9"}, "", "?", "?", 2, "SetWP: illigal option -- \xE9\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> storage = c.args;
        std::vector<char*> argv;
        for (auto& s : storage) {
            argv.push_back(s.data());
        }
        std::string results, optopts;
        tavecron::optreset = 1;
        testing::internal::CaptureStderr();
        for (int r; (r = tavecron::getopt(static_cast<int>(argv.size()), argv.data(), c.options)) != -1 && results.size() < 9;) {
            results += static_cast<char>(r);
            optopts += static_cast<char>(tavecron::optopt);
            if (r == 'o') {
                EXPECT_STREQ(tavecron::optarg, "val");
            }
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errors) << c.args.size() << c.options;
        EXPECT_EQ(results, c.results) << c.args.size() << c.options;
        EXPECT_EQ(optopts, c.optopts) << c.args.size() << c.options;
        EXPECT_EQ(tavecron::optind, c.optind_after) << c.args.size() << c.options;
    }
}

TEST(OptionScanner, a_reset_restarts_the_scan_and_a_lone_dash_reads_nothing_past_the_option_string)
{
    char prog[] = "prog", t[] = "-t", dash[] = "-";
    char* argv[] = {prog, t, dash};
    // Exactly sized on the heap, so that the sanitizer build sees a read of
    // the byte after the terminator.
    std::unique_ptr<char[]> options(new char[2]{'t', '\0'});
    tavecron::optreset = 1;
    EXPECT_EQ(tavecron::getopt(3, argv, options.get()), 't');
    tavecron::optreset = 1;
    EXPECT_EQ(tavecron::getopt(3, argv, options.get()), 't');
    EXPECT_EQ(tavecron::getopt(3, argv, options.get()), -1);
    EXPECT_EQ(tavecron::getopt(3, argv, options.get()), -1);
    EXPECT_EQ(tavecron::optind, 3);

    char* unnamed[] = {nullptr, t};
    tavecron::optreset = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tavecron::getopt(2, unnamed, "h"), '?');
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ": illigal option -- t\n");
}

}  // namespace
