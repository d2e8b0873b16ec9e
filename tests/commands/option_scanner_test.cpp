#include "commands/option_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

// A scan restarts with each case. The fuzz target compares every call with the scan's steps; the null argv[0],
// which it never makes, is checked here.
TEST(OptionScanner, scans_follow_the_option_string_and_stop_at_the_first_operand)
{
    // Arguments (argv[0] may be null), option string, each call's result up to
    // -1 (left out), optind afterwards, and all written to standard error.
    const std::tuple<std::vector<const char*>, const char*, std::string, int, const char*> cases[] = {
        {{"prog", "-o", "val", "-o"}, "o:", "o?", 4, "prog: option requires an argument -- o"},
        {{nullptr, "-t"}, "h", "?", 2, ": illigal option -- t\n"},
    };
    for (const auto& [args, option_string, expected, optind_after, errors] : cases) {
        SCOPED_TRACE(testing::Message() << args.size() << " args, options " << option_string);
        char* const* argv = const_cast<char* const*>(args.data());  // only read
        const int argc = static_cast<int>(args.size());
        std::string results;
        tavecron::optreset = 1;
        testing::internal::CaptureStderr();
        for (int r; (r = tavecron::getopt(argc, argv, option_string)) != -1 && results.size() < 9;) {
            results += static_cast<char>(r);
            EXPECT_EQ(tavecron::optopt, r);  // the letter, or '?' after a complaint
            if (r == 'o') {
                EXPECT_STREQ(tavecron::optarg, "val");
            }
        }
        EXPECT_EQ(tavecron::getopt(argc, argv, option_string), -1);  // no restart without a reset
        EXPECT_EQ(testing::internal::GetCapturedStderr(), errors);
        EXPECT_EQ(results, expected);
        EXPECT_EQ(tavecron::optind, optind_after);
    }
}

}  // namespace
