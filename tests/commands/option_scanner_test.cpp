#include "commands/option_scanner.h"

#include <gtest/gtest.h>

namespace {

// The fuzz target compares every call of a scan with its steps; a null argv[0], which it never makes, is checked
// here: the complaint then names no program.
TEST(OptionScanner, a_complaint_with_a_null_program_name_starts_with_the_colon)
{
    const char* args[] = {nullptr, "-t"};
    char* const* argv = const_cast<char* const*>(args);  // only read
    tavecron::optreset = 1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(tavecron::getopt(2, argv, "h"), '?');
    EXPECT_EQ(tavecron::getopt(2, argv, "h"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ": illigal option -- t\n");
    EXPECT_EQ(tavecron::optind, 2);
}

}  // namespace
