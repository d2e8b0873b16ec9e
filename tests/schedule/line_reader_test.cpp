#include "schedule/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_stream.h"

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

constexpr char GUARD = 0x5A;

// Reads every line with reader_gets(n), checking that nothing is written past
// the n bytes and that the final null leaves the buffer untouched.
Strings read_lines(MemoryStreamState& state, int n)
{
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    Strings lines;
    std::string buf(static_cast<std::size_t>(n) + 8, GUARD);
    while (char* got = reader_gets(reader, buf.data(), n)) {
        EXPECT_EQ(got, buf.data());
        // A NUL may be part of a line: the terminator is the last NUL in the n bytes.
        std::size_t end = buf.find_last_of('\0', static_cast<std::size_t>(n) - 1);
        EXPECT_NE(end, std::string::npos);
        lines.push_back(buf.substr(0, end));
        EXPECT_EQ(buf.substr(static_cast<std::size_t>(n)), std::string(8, GUARD)) << "written past n";
        buf.assign(buf.size(), GUARD);
    }
    EXPECT_EQ(buf, std::string(buf.size(), GUARD)) << "null must leave the buffer untouched";
    reader_close(reader);
    EXPECT_EQ(state.close_calls, 1);
    return lines;
}

TEST(LineReaderLines, gets_gives_the_expected_lines_and_then_null_refilling_with_the_whole_capacity)
{
    const std::string a255(255, 'a'), long_line(1000, 'x');
    // Name, bytes, n, most bytes each read delivers, lines.
    const struct {
        const char* name;
        std::string data;
        int n;
        std::vector<int> chunks;
        Strings lines;
    } cases[] = {
        {"each_line_end_kind", "a\r\nb\nc\rd", 256, {}, {"a\n", "b\n", "c\n", "d"}},
        {"lf_cr_is_two_line_ends", "a\n\rb", 256, {}, {"a\n", "\n", "b"}},
        {"cr_as_last_byte", "x\r", 256, {}, {"x\n"}},
        {"empty_stream", "", 256, {}, {}},
        {"n_4_cuts_without_loss", "abcdefg\n", 4, {}, {"abc", "def", "g\n"}},
        {"exactly_n_minus_1_chars", "abc\nd", 4, {}, {"abc", "\n", "d"}},
        {"cr_lf_after_a_cut", "abc\r\nd", 4, {}, {"abc", "\n", "d"}},
        {"n_2_one_char_per_line", "ab\n", 2, {}, {"a", "b", "\n"}},
        {"nul_bytes_inside_lines", "a\0b\n\0\n"s, 256, {}, {"a\0b\n"s, "\0\n"s}},
        {"cr_lf_split_at_refill", a255 + "\r\nb\n", 512, {256}, {a255 + "\n", "b\n"}},
        {"cr_then_other_byte_at_refill", a255 + "\rb", 512, {256}, {a255 + "\n", "b"}},
        {"cr_lf_split_by_short_reads", "a\r\nb\r\rc", 256, {2, 1, 1, 1}, {"a\n", "b\n", "\n", "c"}},
        {"long_line_over_many_refills",
         long_line + "\r\n" + long_line,
         2048,
         {7, 100, 3},
         {long_line + "\n", long_line}},
        {"long_line_cut_over_refills",
         long_line + "\n",
         401,
         {},
         {long_line.substr(0, 400), long_line.substr(0, 400), long_line.substr(0, 200) + "\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStreamState state{c.data, c.chunks};
        EXPECT_EQ(read_lines(state, c.n), c.lines);
        for (int count : state.read_requests) EXPECT_EQ(count, READER_CAPACITY);
    }
}

TEST(LineReaderBytes, gets_refuses_n_below_2_or_a_null_buffer_and_ungetc_steps_back_only_over_a_byte_read)
{
    MemoryStreamState state{"\xff"
                            "line\n"};
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    std::string buf(8, GUARD);
    for (int n : {-1, 0, 1}) EXPECT_EQ(reader_gets(reader, buf.data(), n), nullptr) << n;
    EXPECT_EQ(reader_gets(reader, nullptr, 8), nullptr);
    EXPECT_EQ(buf, std::string(8, GUARD));
    EXPECT_EQ(reader_ungetc(reader, 'z'), -1);
    EXPECT_EQ(reader_getc(reader), 0xFF) << "the refusals read nothing";
    EXPECT_EQ(reader_ungetc(reader, 'z'), 'z');
    EXPECT_EQ(reader_getc(reader), 0xFF) << "the buffer is not written by ungetc";
    EXPECT_STREQ(reader_gets(reader, buf.data(), 8), "line\n");
    EXPECT_EQ(reader_getc(reader), -1);
    EXPECT_EQ(reader_ungetc(reader, 'b'), -1) << "a refill that found the end keeps nothing";
    reader_close(reader);
}

TEST(LineReaderWriteBack, only_write_mode_hands_the_unread_bytes_to_write_and_only_once)
{
    const struct {
        int mode, bytes_read;
        bool flush_before_close;
        const char* written;
    } cases[] = {{READER_MODE_READ | READER_MODE_WRITE, 2, true, "cdef"},
                 {READER_MODE_WRITE, 1, false, "bcdef"},
                 {READER_MODE_READ, 1, true, ""}};
    for (const auto& c : cases) {
        MemoryStreamState state{"abcdef"};
        LineReader* reader = reader_open(memory_stream_open(state), c.mode);
        for (int k = 0; k < c.bytes_read; ++k) EXPECT_EQ(reader_getc(reader), 'a' + k);
        if (c.flush_before_close) {
            EXPECT_EQ(reader_flush(reader), 0);
            EXPECT_EQ(state.written, c.written) << c.mode;
        }
        reader_close(reader);  // flushes again: nothing more may be written
        EXPECT_EQ(state.written, c.written) << c.mode;
        EXPECT_EQ(state.close_calls, 1);
    }
}

}  // namespace
