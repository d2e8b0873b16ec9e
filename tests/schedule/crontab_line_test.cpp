#include "schedule/crontab_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_stream.h"

namespace {

struct ScanCase {
    const char* line;
    int converted;
    std::vector<std::string> fields;  // minute hour day month weekday command option
};

std::vector<std::string> fields_of(const CrontabFields& f)
{
    return {f.minute.data(), f.hour.data(), f.day.data(), f.month.data(),
            f.weekday.data(), f.command.data(), f.option.data()};
}

void PrintTo(const ScanCase& c, std::ostream* os)
{
    *os << testing::PrintToString(std::string(c.line));
}

class CrontabLineScan : public testing::TestWithParam<ScanCase> {};

TEST_P(CrontabLineScan, converts_the_expected_fields)
{
    CrontabFields f;
    EXPECT_EQ(scan_crontab_line(GetParam().line, f), GetParam().converted);
    EXPECT_EQ(fields_of(f), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CrontabLineScan,
    testing::Values(
        ScanCase{"0 12 * * 1 System viewer.exe notes.txt\n", 7,
                 {"0", "12", "*", "*", "1", "System", "viewer.exe notes.txt"}},
        ScanCase{"30 7 * * * NoAction\n", 6, {"30", "7", "*", "*", "*", "NoAction", ""}},
        ScanCase{"30 7 * * * NoAction   \n", 6, {"30", "7", "*", "*", "*", "NoAction", ""}},
        ScanCase{"30 7 * * * NoAction", 6, {"30", "7", "*", "*", "*", "NoAction", ""}},
        ScanCase{" \t1\t\t2   3\v4\f5 cmd \t  opt  with\tblanks  \n", 7,
                 {"1", "2", "3", "4", "5", "cmd", "opt  with\tblanks  "}},
        ScanCase{"# run at noon every day\n", 6, {"#", "run", "at", "noon", "every", "day", ""}},
        ScanCase{"1 2 3 4 5 6 seven\r\n", 7, {"1", "2", "3", "4", "5", "6", "seven\r"}},
        ScanCase{"1 2 3 4 5\n", 5, {"1", "2", "3", "4", "5", "", ""}},
        ScanCase{"   \t \t\n", 0, {"", "", "", "", "", "", ""}},
        ScanCase{"\n", 0, {"", "", "", "", "", "", ""}},
        ScanCase{"", 0, {"", "", "", "", "", "", ""}},
        // Bytes of 0x80 and up are never blank, whatever the locale says of them.
        ScanCase{"0\xa0" "0 \x85 * * * System \x82\xa0\x82\xa2\n", 7,
                 {"0\xa0" "0", "\x85", "*", "*", "*", "System", "\x82\xa0\x82\xa2"}},
        // A NUL byte ends the text that is scanned.
        ScanCase{"1 2 3\0 4 5 6 7\n", 3, {"1", "2", "3", "", "", "", ""}}));

TEST(CrontabLineScan, a_null_line_converts_nothing_and_clears_every_field)
{
    CrontabFields f;
    scan_crontab_line("1 2 3 4 5 6 7", f);
    EXPECT_EQ(scan_crontab_line(nullptr, f), 0);
    EXPECT_EQ(fields_of(f), std::vector<std::string>(7, ""));
}

TEST(CrontabLineScan, every_word_is_cut_after_255_bytes_and_the_next_fields_stay_in_place)
{
    const std::string long_word(300, 'w');
    for (int position = 0; position < 6; ++position) {
        std::vector<std::string> words = {"1", "2", "3", "4", "5", "cmd"};
        words[position] = long_word;
        std::string line;
        for (const std::string& w : words) line += w + " ";
        line += "the option\n";

        CrontabFields f;
        ASSERT_EQ(scan_crontab_line(line.c_str(), f), 7) << position;
        std::vector<std::string> expected = words;
        expected[position] = long_word.substr(0, 255);
        expected.push_back("the option");
        EXPECT_EQ(fields_of(f), expected) << position;
    }
}

TEST(CrontabLineScan, an_option_longer_than_255_bytes_keeps_its_first_255)
{
    std::string option;
    for (int i = 0; option.size() < 700; ++i) option += std::to_string(i) + ' ';
    const std::string line = "0 0 * * * System " + option + "\n";
    CrontabFields f;
    ASSERT_EQ(scan_crontab_line(line.c_str(), f), 7);
    EXPECT_EQ(std::string(f.option.data()), option.substr(0, 255));
}

// Every line read_crontab_line hands out for `data`, until the end.
std::vector<std::string> crontab_lines(const std::string& data)
{
    MemoryStreamState state(data);
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    EXPECT_NE(reader, nullptr);
    std::vector<std::string> lines;
    std::array<char, CRONTAB_LINE_SIZE> line;
    while (const char* text = read_crontab_line(reader, line)) lines.push_back(text);
    reader_close(reader);
    return lines;
}

// Scans the one line that `text` holds when read back as a file.
int reload(const std::string& text, CrontabFields& f)
{
    std::vector<std::string> lines = crontab_lines(text);
    EXPECT_EQ(lines.size(), 1u);
    return lines.empty() ? -1 : scan_crontab_line(lines[0].c_str(), f);
}

std::string formatted(const CronEntry& row)
{
    CrontabLineText line;
    int length = format_crontab_line(row, line);
    EXPECT_EQ(length, static_cast<int>(std::string(line.data()).size()));
    return std::string(line.data(), static_cast<std::size_t>(length));
}

TEST(CrontabLineFormat, writes_minute_hour_day_month_star_command_option_and_crlf)
{
    CronEntry row{"1", "*", "*", "12", "0", "System", "viewer.exe notes.txt"};
    EXPECT_EQ(formatted(row), "0 12 * * * System viewer.exe notes.txt\r\n");
    CronEntry six{nullptr, "*", "*", "7", "30", "NoAction", ""};
    EXPECT_EQ(formatted(six), "30 7 * * * NoAction \r\n");
    EXPECT_EQ(formatted(default_entry), "0 * * 0 * NoAction \r\n");
}

TEST(CrontabLineFormat, an_empty_time_or_command_cell_is_written_as_a_dash_and_reads_back_in_place)
{
    for (int column = COL_MONTH; column <= COL_COMMAND; ++column) {
        const char* cells[6] = {"1", "2", "3", "4", "System", "a b"};
        cells[column] = "";
        CronEntry row{"*", cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]};

        CrontabFields f;
        ASSERT_EQ(reload(formatted(row), f), 7) << column;
        CronEntry back = entry_from_fields(f);
        const char* read[6] = {back.month, back.day, back.hour, back.minute, back.command, back.option};
        for (int c = 0; c < 6; ++c)
            EXPECT_STREQ(read[c], c == column ? "-" : cells[c]) << column << " " << c;
    }
}

TEST(CrontabLineFormat, line_ends_inside_a_cell_become_spaces_so_the_row_stays_one_line)
{
    CronEntry row{"*", "*", "*", "*", "0", "Sys\ntem", "x\r\n0 * * * * System evil.exe"};
    EXPECT_EQ(formatted(row), "0 * * * * Sys tem x  0 * * * * System evil.exe\r\n");
}

TEST(CrontabLineFormat, the_longest_row_is_written_whole_and_scans_back_unchanged)
{
    const std::string cells[6] = {std::string(255, 'm'), std::string(255, 'd'), std::string(255, 'h'),
                                  std::string(255, 'n'), std::string(255, 'c'), std::string(255, 'o')};
    CronEntry row{"*", cells[0].c_str(), cells[1].c_str(), cells[2].c_str(),
                  cells[3].c_str(), cells[4].c_str(), cells[5].c_str()};
    const std::string line = formatted(row);
    EXPECT_EQ(line.size(), static_cast<std::size_t>(CRONTAB_FORMAT_SIZE - 1));
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");

    CrontabFields f;
    ASSERT_EQ(reload(line, f), 7);
    EXPECT_EQ(fields_of(f), (std::vector<std::string>{cells[3], cells[2], cells[1], cells[0], "*",
                                                      cells[4], cells[5]}));
}

TEST(CrontabLineFormat, cells_longer_than_255_bytes_are_cut_to_the_cell_limit)
{
    const std::string huge(1000, 'x');
    CronEntry row{"*", huge.c_str(), huge.c_str(), huge.c_str(), huge.c_str(), huge.c_str(), huge.c_str()};
    const std::string x255(255, 'x');
    EXPECT_EQ(formatted(row), x255 + " " + x255 + " " + x255 + " " + x255 + " * " + x255 + " " + x255 + "\r\n");
}

TEST(CrontabLineRead, the_tail_of_a_line_longer_than_2047_characters_never_becomes_a_line)
{
    const std::string head = "0 * * * * NoAction ";
    std::string long_line = head + std::string(2047 - head.size(), 'a') + "0 * * * * System evil.exe";
    std::vector<std::string> lines = crontab_lines(long_line + std::string(3000, 'b') + "\r\n1 2 3 4 5 next\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], long_line.substr(0, 2047));
    EXPECT_EQ(lines[1], "1 2 3 4 5 next\n");
}

TEST(CrontabLineRead, lines_around_the_buffer_size_come_back_whole_or_cut_once)
{
    struct Case {
        std::size_t length;
        const char* end;
        std::string expected_first;
    };
    const std::string x(4200, 'x');
    const Case cases[] = {
        {2046, "\n", x.substr(0, 2046) + "\n"},
        {2047, "\n", x.substr(0, 2047)},
        {2047, "", x.substr(0, 2047)},
        {2048, "\r", x.substr(0, 2047)},
        {4094, "\r\n", x.substr(0, 2047)},
        {4200, "", x.substr(0, 2047)},
    };
    for (const Case& c : cases) {
        const std::string data = x.substr(0, c.length) + c.end + (*c.end ? "after\n" : "");
        std::vector<std::string> expected = {c.expected_first};
        if (*c.end) expected.push_back("after\n");
        EXPECT_EQ(crontab_lines(data), expected) << c.length;
    }
}

TEST(CrontabLineRead, cr_only_mixed_line_ends_and_nul_bytes_keep_lines_apart)
{
    std::string data("a\rb\r\nc\nd\0e\nf", 13);
    std::vector<std::string> lines = crontab_lines(data);
    EXPECT_EQ(lines, (std::vector<std::string>{"a\n", "b\n", "c\n", "d", "f"}));
    EXPECT_TRUE(crontab_lines("").empty());
}

}  // namespace
