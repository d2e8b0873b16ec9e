#include "commands/win32/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_ids.h"
#include "tests/support/win32/table_fixture.h"

namespace {

using Row = std::vector<std::string>;

using CommandTableTest = HiddenTableFixture;

TEST_F(CommandTableTest, only_a_whole_name_finds_its_command)
{
    const std::pair<const char*, int> cases[] = {{"NoAction", 1}, {"SetWP", 1}, {"NoAction ", 0}, {" NoAction", 0},
                                                 {"NoActio", 0},  {"", 0},      {nullptr, 0}};
    for (const auto& [name, found] : cases) {
        char option[256] = "";  // SetWP with no candidates touches nothing
        EXPECT_EQ(dispatch_command(table, name, option), found) << (name ? name : "(null)");
    }
}

TEST_F(CommandTableTest, set_entry_command_writes_only_the_command_cell_and_only_for_a_command_id)
{
    append({"1", "2", "3", "4", "Old", "option text"});
    append({"5", "6", "7", "8", "Old", "second"});
    EXPECT_EQ(set_entry_command(table, 1, IDM_CMD_SYSTEM), 1);
    EXPECT_EQ(row(1), (Row{"5", "6", "7", "8", "System", "second"}));
    for (int id : {IDM_CMD_NOACTION - 1, IDM_CMD_SETWP + 1, 0}) EXPECT_EQ(set_entry_command(table, 0, id), 0) << id;
    EXPECT_EQ(row(0), (Row{"1", "2", "3", "4", "Old", "option text"}));

    // A row of a table without a command column: nothing is written.
    HWND bare = parent.create_table(8);
    table_insert_item(bare, 0, "1");
    EXPECT_EQ(set_entry_command(bare, 0, IDM_CMD_SYSTEM), 0);
}

}  // namespace
