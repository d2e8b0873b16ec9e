// The checker and the file's encoding: which reading of the whole file is
// plausible, and what the table gives back of each cell.
#include <iconv.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "schedule/check/crontab_check.h"
#include "tests/support/memory_stream.h"
#include "tests/support/table_text_cases.h"

namespace {

// The words of the corpus file, UTF-8.
std::vector<std::string> corpus_words()
{
    std::ifstream in(TAVECRON_TEST_DATA "/japanese_words.txt");
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') words.push_back(line);
    }
    return words;
}

std::string to_cp932(const std::string& utf8)
{
    iconv_t to = iconv_open("CP932", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* from = in.data();
    char* into = out.data();
    std::size_t left = in.size(), room = out.size();
    const std::size_t done = iconv(to, &from, &left, &into, &room);
    iconv_close(to);
    EXPECT_NE(done, static_cast<std::size_t>(-1)) << utf8;
    out.resize(out.size() - room);
    return out;
}

// The file's warnings about its encoding when it holds `data`.
std::vector<std::string> file_warnings(const std::string& data)
{
    MemoryStreamState state(data);
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    ClockTime from{};
    EXPECT_TRUE(make_clock_time(2024, 1, 1, 0, 0, from));
    const CheckTotals totals = check_crontab(reader, from, 0, nullptr, nullptr);
    reader_close(reader);
    return totals.file_warnings;
}

// Each word of the corpus as a wallpaper folder and as a program: the UTF-8
// file is named, on its first line; the Shift-JIS one passes.
TEST(CheckEncoding, every_utf8_word_of_the_corpus_is_named_and_no_shift_jis_one_is)
{
    const std::vector<std::string> words = corpus_words();
    ASSERT_GE(words.size(), 100u);
    const std::string utf8_warning = say(Language::ENGLISH, Message::UTF8_TEXT, {"1"});
    for (const std::string& word : words) {
        for (const std::string& line :
             {"0 * * * * SetWP C:\\" + word + "\\*.jpg\n", "0 9 * * * System " + word + ".txt\n"}) {
            SCOPED_TRACE(line);
            const std::vector<std::string> utf8 = file_warnings(line);
            EXPECT_EQ(utf8, std::vector<std::string>{utf8_warning});
            EXPECT_EQ(file_warnings(to_cp932(line)), std::vector<std::string>{});
        }
    }
}

// One reading for the whole file: a line that reads as UTF-8 on its own is no
// UTF-8 in a file of Shift-JIS lines (this file's literals are Shift-JIS), and
// the first line that shows it is named.
TEST(CheckEncoding, the_whole_file_decides_and_its_first_utf8_line_is_named)
{
    const std::string sjis = "0 9 * * * System 起動.bat\n";
    const std::string utf8 = "0 9 * * * System C:\\\xE5\x86\x99\xE7\x9C\x9F\\a.txt\n";  // 写真
    EXPECT_EQ(file_warnings(sjis + utf8), std::vector<std::string>{});
    EXPECT_EQ(file_warnings("0 8 * * * NoAction\n" + utf8 + utf8),
              std::vector<std::string>{say(Language::ENGLISH, Message::UTF8_TEXT, {"2"})});
}

TEST(CheckRoundTrip, the_model_of_the_table_tells_each_kind_of_changed_cell)
{
    expect_table_text_cases(cp932_table_text);
}

}  // namespace
