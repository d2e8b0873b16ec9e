#include <gtest/gtest.h>

#include "app/crontab_path.h"

namespace {

// The fuzz target checks every folder and length against the name's own constant; this checks the name.
TEST(CrontabLocation, a_module_path_without_a_folder_gives_cron_tab)
{
    EXPECT_STREQ(locate_crontab("tavecron.exe", nullptr).path.data(), "cron.tab");
}

}  // namespace
