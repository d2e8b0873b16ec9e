#include "schedule/check/check_disk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The warnings the disk check adds to the entry "0 0 * * * <command> <option>".
std::string disk_warnings(const std::string& entry, DiskProbe* probe)
{
    ClockTime from{};
    EXPECT_TRUE(make_clock_time(2027, 1, 1, 0, 0, from));
    const std::string line = "0 0 * * * " + entry;
    LineCheck check;
    check_crontab_line(line.c_str(), static_cast<int>(line.size()), 1, 0, from, 0, check);
    const std::size_t before = check.warnings.size();
    const int added = check_on_disk(check, probe, Language::ENGLISH);
    EXPECT_EQ(static_cast<std::size_t>(added), check.warnings.size() - before);
    std::string out;
    for (std::size_t i = before; i < check.warnings.size(); ++i) {
        EXPECT_EQ(check.warnings[i].field, CheckField::OPTION);
        out += check.warnings[i].text;
    }
    return out;
}

// Without a disk (the native checker) only the quote mark that the split at
// the first blank cuts is told, with the form that works; a quoted first word
// that holds no blank, other commands and the disk's own questions are not.
TEST(CheckDiskWithoutProbe, only_an_option_cut_inside_its_quotes_warns_and_gets_the_start_form)
{
    const std::string start = "write cmd.exe /c start \"\" ";
    const std::pair<std::string, std::string> cases[] = {
        {"System \"C:\\Program Files\\App\\app.exe\" -x",
         "asks the shell for \"C:\\Program, quote mark included, which starts nothing; " + start +
             "\"C:\\Program Files\\App\\app.exe\" -x"},
        {"System \"C:\\Tools\\app.exe", "asks the shell for \"C:\\Tools\\app.exe, quote mark"},
        {"System \" x", "asks the shell for \","},
    };
    for (const auto& [entry, expected] : cases) {
        const std::string warnings = disk_warnings(entry, nullptr);
        EXPECT_NE(warnings.find(expected), std::string::npos) << entry << "\n" << warnings;
    }
    for (const char* entry :
         {"System \"notepad.exe\" memo.txt", "System missing.exe", "System C:\\Program Files\\App\\app.exe",
          "SetWP \"C:\\my pictures\\x.bmp\"", "NoAction \"C:\\a b\""}) {
        EXPECT_EQ(disk_warnings(entry, nullptr), "") << entry;
    }
}

}  // namespace
