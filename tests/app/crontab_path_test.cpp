#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/crontab_path.h"

namespace {

TEST(CrontabLocation, a_module_path_without_a_folder_gives_cron_tab_and_a_folder_over_255_bytes_gives_nothing)
{
    const std::string huge = "C:\\" + std::string(310, 'd') + "\\";
    // Module path; then the directory and the path found (empty: none).
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"tavecron.exe", "", "cron.tab"},
        {huge + "t.exe", "", ""},
    };
    for (const auto& [module, directory, path] : cases) {
        const CrontabLocation location = locate_crontab(module, nullptr);
        EXPECT_EQ(location.directory.data(), directory) << module;
        EXPECT_EQ(location.has_directory, !directory.empty()) << module;
        EXPECT_EQ(location.path.data(), path) << module;
        EXPECT_EQ(location.has_path, !path.empty()) << module;
    }
}

}  // namespace
