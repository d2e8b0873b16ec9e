#include "schedule/win32/crontab_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/win32/table_fixture.h"
#include "table/table_messages.h"

namespace {

using Row = std::vector<std::string>;  // month, day, hour, minute, command, option

// The bytes of a literal, NULs included.
template <std::size_t N>
std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

class CrontabFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(table.table(), nullptr); }

    std::vector<Row> rows() const
    {
        std::vector<Row> all;
        for (int r = 0; r < table.row_count(); ++r) all.push_back(table.row(r));
        return all;
    }

    int load(const std::string& bytes)
    {
        folder.write("in.tab", bytes);
        return load_crontab(table.table(), folder.path("in.tab").c_str());
    }

    std::string save()
    {
        HANDLE file = CreateFileA(folder.path("out.tab").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_EQ(save_crontab(table.table(), file), table.row_count());
        CloseHandle(file);
        return folder.read("out.tab");
    }

    TableFixture table;
    TempFolder folder;
};

TEST_F(CrontabFileTest, a_saved_file_loads_and_saves_back_byte_for_byte)
{
    const std::string text =
        "0 12 * * * System viewer.exe notes.txt\r\n"
        "30 7 * * * NoAction \r\n"
        "*/5 1-3,9 10 11 * SetWP -c C:\\pictures\\*.bmp  two  blanks  \r\n"
        "# run at noon * every day \r\n"
        "- - - - * - \r\n";
    EXPECT_EQ(load(text), 5);
    EXPECT_EQ(rows()[2], (Row{"11", "10", "1-3,9", "*/5", "SetWP", "-c C:\\pictures\\*.bmp  two  blanks  "}));
    EXPECT_EQ(save(), text);
}

TEST_F(CrontabFileTest, loading_drops_the_weekday_skips_short_lines_and_accepts_every_line_end)
{
    const std::string text =
        "0 12 * * 1 System viewer.exe notes.txt\n"
        "\r\n"
        " \t \t\r"
        "1 2 3 4 5\r\n"
        "# run at noon every day\r"
        "30\t7  *\t\t* 6    NoAction\n"
        "5 4 3 2 1 System    a  b  ";
    EXPECT_EQ(load(text), 4);
    EXPECT_EQ(rows(), (std::vector<Row>{{"*", "*", "12", "0", "System", "viewer.exe notes.txt"},
                                        {"noon", "at", "run", "#", "day", ""},
                                        {"*", "*", "7", "30", "NoAction", ""},
                                        {"2", "3", "4", "5", "System", "a  b  "}}));
    EXPECT_EQ(save(),
              "0 12 * * * System viewer.exe notes.txt\r\n"
              "# run at noon * day \r\n"
              "30 7 * * * NoAction \r\n"
              "5 4 3 2 * System a  b  \r\n");
}

TEST_F(CrontabFileTest, loading_appends_after_the_rows_already_there)
{
    const std::string text = "1 * * * * NoAction first\r\n2 * * * * NoAction second\r\n";
    EXPECT_EQ(load(text), 2);
    EXPECT_EQ(load(text), 4);
    ASSERT_EQ(table.row_count(), 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(table.row(r)[5], r % 2 == 0 ? "first" : "second") << r;
}

TEST_F(CrontabFileTest, files_that_cannot_be_read_add_nothing_and_answer_zero)
{
    EXPECT_EQ(load_crontab(table.table(), folder.path("missing.tab").c_str()), 0);
    CreateDirectoryA(folder.path("folder.tab").c_str(), nullptr);
    EXPECT_EQ(load_crontab(table.table(), folder.path("folder.tab").c_str()), 0);
    EXPECT_EQ(load(""), 0);
    EXPECT_EQ(table.row_count(), 0);
}

TEST_F(CrontabFileTest, bad_bytes_add_only_the_entries_their_lines_really_hold)
{
    struct Case {
        std::string bytes;
        std::vector<Row> rows;
    };
    const std::string long_tail = std::string(2100, 'x') + " 0 * * * * System evil.exe";
    const Case cases[] = {
        {bytes("\0\0\0\r\n \t\v\f\r\n\t\t\t\n"), {}},
        {bytes("0 1 2 3 4 NoAction\0 0 * * * * System evil.exe\r\n"), {{"3", "2", "1", "0", "NoAction", ""}}},
        {"0 * * * * NoAction " + long_tail + "\r\n9 9 9 9 9 NoAction last",
         {{"*", "*", "*", "0", "NoAction", std::string(255, 'x')}, {"9", "9", "9", "9", "NoAction", "last"}}},
        {std::string(5000, ' ') + "0 * * * * System evil.exe\n", {}},
    };
    for (const Case& c : cases) {
        SendMessageA(table.table(), TBLM_DELETEALLITEMS, 0, 0);
        EXPECT_EQ(load(c.bytes), static_cast<int>(c.rows.size())) << testing::PrintToString(c.bytes.substr(0, 40));
        EXPECT_EQ(rows(), c.rows) << testing::PrintToString(c.bytes.substr(0, 40));
    }
}

TEST_F(CrontabFileTest, binary_junk_loads_without_harm_and_every_cell_fits_its_buffer)
{
    std::minstd_rand random(12345);
    std::string junk(200000, '\0');
    for (char& c : junk) c = static_cast<char>(random() >> 8);
    const int loaded = load(junk);
    EXPECT_EQ(loaded, table.row_count());
    for (const Row& row : rows()) {
        for (int c = 0; c < 5; ++c) EXPECT_FALSE(row[c].empty());
        for (const std::string& cell : row) EXPECT_LT(cell.size(), 256u);
    }
}

TEST_F(CrontabFileTest, empty_and_overlong_cells_are_saved_so_that_the_row_loads_back_unchanged)
{
    const std::string long_cell(255, 'z');
    table.append({"", "1", "", "2", "", "keep"});
    table.append({long_cell, long_cell, long_cell, long_cell, long_cell, long_cell});
    const std::string text = save();
    EXPECT_EQ(text.substr(0, 18), "2 - 1 - * - keep\r\n");
    EXPECT_EQ(text.size(), 18u + 6 * 255 + 9);

    SendMessageA(table.table(), TBLM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(load(text), 2);
    EXPECT_EQ(rows(), (std::vector<Row>{{"-", "1", "-", "2", "-", "keep"},
                                        {long_cell, long_cell, long_cell, long_cell, long_cell, long_cell}}));
}

TEST_F(CrontabFileTest, read_entry_outside_the_rows_answers_zero_and_leaves_the_buffers_alone)
{
    table.append({"1", "2", "3", "4", "NoAction", "x"});
    char month[CELL_TEXT_SIZE] = "keep", command[CELL_TEXT_SIZE] = "keep";
    const CronEntry target{nullptr, month, nullptr, nullptr, nullptr, command, nullptr};
    for (int row : {-1, 1, 1000}) {
        EXPECT_EQ(read_entry(table.table(), row, target), 0) << row;
        EXPECT_STREQ(month, "keep");
        EXPECT_STREQ(command, "keep");
    }
    EXPECT_EQ(read_entry(table.table(), 0, target), 1);
    EXPECT_STREQ(month, "1");
    EXPECT_STREQ(command, "NoAction");
}

TEST_F(CrontabFileTest, add_default_entry_inserts_at_the_current_row_which_then_designates_it)
{
    const Row defaults{"0", "*", "*", "0", "NoAction", ""};
    add_default_entry(table.table());
    EXPECT_EQ(rows(), std::vector<Row>{defaults});

    SendMessageA(table.table(), TBLM_DELETEALLITEMS, 0, 0);
    for (int r = 0; r < 5; ++r) table.append({std::to_string(r), "*", "*", "0", "NoAction", ""});
    ASSERT_EQ(SendMessageA(table.table(), TBLM_SETCURSEL, 3, 0), 1);
    add_default_entry(table.table());
    EXPECT_EQ(SendMessageA(table.table(), TBLM_GETCURSEL, 0, 0), 3);
    ASSERT_EQ(table.row_count(), 6);
    EXPECT_EQ(table.row(3), defaults);
    EXPECT_EQ(table.row(4)[0], "3");
    EXPECT_EQ(table.row(2)[0], "2");
}

}  // namespace
