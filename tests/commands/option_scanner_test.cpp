#include "commands/option_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

// Each case restarts the scan where the one before left off.
TEST(OptionScanner, scans_follow_the_option_string_and_stop_at_the_first_operand)
{
    // Arguments (argv[0] may be null), option string, each call's result up to
    // -1 (left out), optind afterwards, and all written to standard error.
    const std::tuple<std::vector<const char*>, const char*, std::string, int, const char*> cases[] = {
        {{"prog", "-t", "-c", "pic"}, "tc", "tc", 3, ""},
        {{"prog", "-tc"}, "tc", "t", 2, ""},
        {{"prog", "-xt", "f"}, "tc", "?", 2, "prog: illigal option -- x\n"},
        {{"prog", "--", "-c"}, "tc", "?c", 3, "prog: illigal option -- -\n"},
        {{"prog", "file", "-c"}, "tc", "", 1, ""},
        {{"prog", "-", "-c", "-", "x"}, "tc", "c", 4, ""},
        {{"prog", "-o", "val", "-o"}, "o:", "o?", 4, "prog: option requires an argument -- o"},
        {{"prog", "-:", "-h"}, "o:", "??", 3, "prog: illigal option -- :\nprog: illigal option -- h\n"},
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
