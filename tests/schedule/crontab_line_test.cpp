#include "schedule/crontab_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_stream.h"

namespace {

using Strings = std::vector<std::string>;

// Every line read_crontab_line hands out for `data`, until the end.
Strings crontab_lines(const std::string& data)
{
    MemoryStreamState state(data);
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    Strings lines;
    std::array<char, CRONTAB_LINE_SIZE> line;
    while (const char* text = read_crontab_line(reader, line)) lines.push_back(text);
    reader_close(reader);
    return lines;
}

TEST(CrontabLineFormat, a_row_is_written_in_line_order_as_one_line_of_six_words_and_its_option)
{
    // The fuzz target checks dashes for empty words, line ends in cells and the cut; these rows check the bytes.
    const std::pair<CronEntry, std::string> cases[] = {
        {{"1", "*", "*", "12", "0", "System", "viewer.exe notes.txt"}, "0 12 * * * System viewer.exe notes.txt\r\n"},
        {{nullptr, "*", "*", "7", "30", "NoAction", ""}, "30 7 * * * NoAction \r\n"},
    };
    for (const auto& [row, expected] : cases) {
        CrontabLineText text;
        EXPECT_EQ(std::string(text.data(), static_cast<std::size_t>(format_crontab_line(row, text))), expected);
    }
}

TEST(CrontabLineRead, a_line_longer_than_2047_characters_comes_back_once_and_its_tail_is_dropped)
{
    std::string filler;
    while (filler.size() < 4200) filler += "0 * * * * System evil.exe\t";
    const std::pair<std::string, Strings> cases[] = {
        {filler.substr(0, 2046) + "\nafter", {filler.substr(0, 2046) + "\n", "after"}},
        {filler.substr(0, 2047) + "\nafter", {filler.substr(0, 2047), "after"}},
        {filler.substr(0, 2047), {filler.substr(0, 2047)}},
        {filler.substr(0, 2048) + "\rafter\n", {filler.substr(0, 2047), "after\n"}},
        {filler.substr(0, 4200) + "\r\nafter", {filler.substr(0, 2047), "after"}},
        {filler.substr(0, 4200), {filler.substr(0, 2047)}},
        {"", {}},
    };
    for (const auto& [data, lines] : cases) EXPECT_EQ(crontab_lines(data), lines) << data.size();
}

}  // namespace
