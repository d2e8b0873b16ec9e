#include "schedule/win32/crontab_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/win32/table_fixture.h"
#include "support/win32/temp_folder.h"
#include "table/table_messages.h"

namespace {

using namespace std::string_literals;
using Row = std::vector<std::string>;  // month, day, hour, minute, command, option

class CrontabFileTest : public TableFixture {
protected:
    std::vector<Row> rows() const
    {
        std::vector<Row> all;
        for (int r = 0; r < row_count(); ++r) all.push_back(row(r));
        return all;
    }

    int load(const std::string& bytes)
    {
        return load_crontab(table, folder.write("in.tab", bytes).c_str());
    }

    std::string save()
    {
        HANDLE file = CreateFileA(folder.path("out.tab").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(save_crontab(table, file), row_count());
        CloseHandle(file);
        return folder.read("out.tab");
    }

    TempFolder folder;
};

TEST_F(CrontabFileTest, a_saved_file_loads_and_saves_back_byte_for_byte)
{
    const std::string cell(255, 'z');
    const std::string text =
        "0 12 * * * System viewer.exe notes.txt\r\n"
        "30 7 * * * NoAction \r\n"
        "*/5 1-3,9 10 11 * SetWP -c C:\\pictures\\*.bmp  two  blanks  \r\n"
        "# run at noon * every day \r\n"
        "- - - - * - \r\n" +
        cell + " " + cell + " " + cell + " " + cell + " * " + cell + " " + cell + "\r\n";
    EXPECT_EQ(load(text), 6);
    EXPECT_EQ(rows()[2], (Row{"11", "10", "1-3,9", "*/5", "SetWP", "-c C:\\pictures\\*.bmp  two  blanks  "}));
    EXPECT_EQ(rows()[5], Row(6, cell));
    EXPECT_EQ(save(), text);
    append({"", "1", "", "2", "", "keep"});
    EXPECT_EQ(save(), text + "2 - 1 - * - keep\r\n") << "empty time and command cells are saved as dashes";
}

TEST_F(CrontabFileTest, loading_appends_after_the_rows_already_there)
{
    const std::string text = "1 * * * * NoAction first\r\n2 * * * * NoAction second\r\n";
    EXPECT_EQ(load(text), 2);
    EXPECT_EQ(load(text), 4);
    const Row first{"*", "*", "*", "1", "NoAction", "first"}, second{"*", "*", "*", "2", "NoAction", "second"};
    EXPECT_EQ(rows(), (std::vector<Row>{first, second, first, second}));
}

TEST_F(CrontabFileTest, files_that_cannot_be_opened_add_nothing_and_answer_zero)
{
    EXPECT_EQ(load_crontab(table, folder.path("missing.tab").c_str()), 0);
    CreateDirectoryA(folder.path("folder.tab").c_str(), nullptr);
    EXPECT_EQ(load_crontab(table, folder.path("folder.tab").c_str()), 0);
    EXPECT_EQ(row_count(), 0);
}

TEST_F(CrontabFileTest, a_file_adds_only_the_entries_its_lines_really_hold_with_the_weekday_dropped)
{
    struct Case {
        std::string bytes;
        std::vector<Row> rows;
    };
    const std::string long_tail = std::string(2100, 'x') + " 0 * * * * System evil.exe";
    const Case cases[] = {
        // Every kind of line end, blank and short lines, a last line without a line end.
        {"0 12 * * 1 System viewer.exe notes.txt\n\r\n \t \t\r1 2 3 4 5\r\n# run at noon every day\r"
         "30\t7  *\t\t* 6    NoAction\n5 4 3 2 1 System    a  b  ",
         {{"*", "*", "12", "0", "System", "viewer.exe notes.txt"}, {"noon", "at", "run", "#", "day", ""},
          {"*", "*", "7", "30", "NoAction", ""}, {"2", "3", "4", "5", "System", "a  b  "}}},
        {"", {}},
        {"\0\0\0\r\n \t\v\f\r\n\t\t\t\n"s, {}},
        {"0 1 2 3 4 NoAction\0 0 * * * * System evil.exe\r\n"s, {{"3", "2", "1", "0", "NoAction", ""}}},
        {"0 * * * * NoAction " + long_tail + "\r\n9 9 9 9 9 NoAction last",
         {{"*", "*", "*", "0", "NoAction", std::string(255, 'x')}, {"9", "9", "9", "9", "NoAction", "last"}}},
        {std::string(5000, ' ') + "0 * * * * System evil.exe\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes.substr(0, 40)));
        SendMessageA(table, TBLM_DELETEALLITEMS, 0, 0);
        EXPECT_EQ(load(c.bytes), static_cast<int>(c.rows.size()));
        EXPECT_EQ(rows(), c.rows);
    }
}

TEST_F(CrontabFileTest, binary_junk_loads_without_harm_and_every_cell_fits_its_buffer)
{
    std::minstd_rand random(12345);
    std::string junk(200000, '\0');
    for (char& c : junk) c = static_cast<char>(random() >> 8);
    const int loaded = load(junk);
    EXPECT_EQ(loaded, row_count());
    for (const Row& row : rows()) {
        for (int c = 0; c < 5; ++c) EXPECT_FALSE(row[c].empty());
        for (const std::string& cell : row) EXPECT_LT(cell.size(), 256u);
    }
}

TEST_F(CrontabFileTest, read_entry_outside_the_rows_answers_zero_and_leaves_the_buffers_alone)
{
    append({"1", "2", "3", "4", "NoAction", "x"});
    char month[CELL_TEXT_SIZE] = "keep", command[CELL_TEXT_SIZE] = "keep";
    const CronEntry target{nullptr, month, nullptr, nullptr, nullptr, command, nullptr};
    for (int row : {-1, 1, 1000}) EXPECT_EQ(read_entry(table, row, target), 0) << row;
    EXPECT_EQ(std::string(month) + "|" + command, "keep|keep");
    EXPECT_EQ(read_entry(table, 0, target), 1);
    EXPECT_EQ(std::string(month) + "|" + command, "1|NoAction");
}

TEST_F(CrontabFileTest, add_default_entry_inserts_at_the_current_row_which_then_designates_it)
{
    const Row defaults{"0", "*", "*", "0", "NoAction", ""};
    add_default_entry(table);
    EXPECT_EQ(rows(), std::vector<Row>{defaults});
    for (int r = 1; r < 6; ++r) append({std::to_string(r), "*", "*", "0", "NoAction", ""});
    ASSERT_EQ(SendMessageA(table, TBLM_SETCURSEL, 3, 0), 1);
    add_default_entry(table);
    EXPECT_EQ(SendMessageA(table, TBLM_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(column(0), (Row{"0", "1", "2", "0", "3", "4", "5"}));
    EXPECT_EQ(row(3), defaults);
}

}  // namespace
