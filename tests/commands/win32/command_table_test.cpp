#include "commands/win32/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/win32/table_fixture.h"

namespace {

class CommandTableTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(table.table(), nullptr);
        table.append({"1", "2", "3", "4", "Old", "option text"});
        table.append({"5", "6", "7", "8", "Old", "second"});
    }

    TableFixture table;
};

TEST_F(CommandTableTest, names_match_exactly_and_case_sensitively)
{
    struct Case {
        const char* name;
        int found;
    };
    const Case cases[] = {{"NoAction", 1}, {"SetWP", 1},    {"noaction", 0}, {"NOACTION", 0},
                          {"NoAction ", 0}, {" NoAction", 0}, {"NoActio", 0}, {"setwp", 0},
                          {"system", 0},   {"", 0},          {nullptr, 0}};
    for (const Case& c : cases) {
        char option[256] = "";  // SetWP with no candidates touches nothing
        EXPECT_EQ(dispatch_command(table.table(), c.name, option), c.found) << (c.name ? c.name : "(null)");
    }
}

TEST_F(CommandTableTest, set_entry_command_writes_only_the_command_cell_of_the_row)
{
    const std::vector<std::pair<int, std::string>> commands = {
        {40010, "NoAction"}, {40011, "System"}, {40012, "SetWP"}};
    for (const auto& [id, name] : commands) {
        EXPECT_EQ(set_entry_command(table.table(), 1, id), 1) << id;
        EXPECT_EQ(table.row(1), (std::vector<std::string>{"5", "6", "7", "8", name, "second"})) << id;
        EXPECT_EQ(table.row(0)[4], "Old");
    }
}

TEST_F(CommandTableTest, set_entry_command_refuses_missing_rows_and_unknown_ids)
{
    const std::pair<int, int> refused[] = {{-1, 40010}, {2, 40010}, {100, 40011}, {0, 40013}, {0, 0}, {0, 40009}};
    for (const auto& [row, id] : refused) EXPECT_EQ(set_entry_command(table.table(), row, id), 0) << row << " " << id;
    EXPECT_EQ(table.row_count(), 2);
    EXPECT_EQ(table.row(0)[4], "Old");
    EXPECT_EQ(table.row(1)[4], "Old");
}

TEST_F(CommandTableTest, system_starts_the_program_before_the_first_blank_with_the_rest_as_parameters)
{
    TempFolder folder;
    const std::string option = "cmd.exe /c echo started> \"" + folder.path("out.txt") + "\"";
    std::vector<char> buffer(option.begin(), option.end());
    buffer.resize(256, '\0');
    EXPECT_EQ(dispatch_command(table.table(), "System", buffer.data()), 1);
    EXPECT_STREQ(buffer.data(), "cmd.exe");

    bool found = false;
    for (int i = 0; i < 150 && !found; ++i) {
        found = folder.read("out.txt").rfind("started", 0) == 0;
        if (!found) Sleep(100);
    }
    EXPECT_TRUE(found);
}

TEST_F(CommandTableTest, system_counts_as_run_when_the_program_does_not_exist)
{
    char option[256] = "no_such_program_for_tavecron_tests.exe  two blanks";
    EXPECT_EQ(System(table.table(), "System", option), 1);
    EXPECT_STREQ(option, "no_such_program_for_tavecron_tests.exe");
    char alone[256] = "no_such_program_for_tavecron_tests.exe";
    EXPECT_EQ(System(table.table(), "System", alone), 1);
    EXPECT_STREQ(alone, "no_such_program_for_tavecron_tests.exe");
}

}  // namespace
