#include "schedule/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/memory_stream.h"

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

constexpr char GUARD = 0x5A;

// Every line reader_gets(n) gives.
Strings read_lines(MemoryStreamState& state, int n)
{
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    Strings lines;
    std::string buf(static_cast<std::size_t>(n), GUARD);
    while (reader_gets(reader, buf.data(), n)) {
        lines.push_back(buf.substr(0, buf.find_last_of('\0')));  // a line may hold NUL bytes
        buf.assign(buf.size(), GUARD);
    }
    reader_close(reader);
    return lines;
}

// The fuzz target checks the line rules over every split of the bytes across refills; it cannot see how much a
// refill asks for.
TEST(LineReaderLines, gets_keeps_nul_bytes_and_refills_with_the_whole_capacity)
{
    MemoryStreamState state{"a\0b\n\0\n"s};
    EXPECT_EQ(read_lines(state, 256), (Strings{"a\0b\n"s, "\0\n"s}));
    EXPECT_GE(state.read_requests.size(), 2u);
    for (int count : state.read_requests) EXPECT_EQ(count, READER_CAPACITY);
}

TEST(LineReaderBytes, gets_refuses_a_null_buffer_and_ungetc_steps_back_only_over_a_byte_read)
{
    MemoryStreamState state{"\xffline\n"};
    LineReader* reader = reader_open(memory_stream_open(state), READER_MODE_READ);
    std::string buf(8, GUARD);
    EXPECT_EQ(reader_gets(reader, nullptr, 8), nullptr);
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
    const std::tuple<int, int, bool, const char*> cases[] = {
        {READER_MODE_READ | READER_MODE_WRITE, 2, true, "cdef"},
        {READER_MODE_WRITE, 1, false, "bcdef"},
    };
    for (const auto& [mode, bytes_read, flush_before_close, written] : cases) {
        MemoryStreamState state{"abcdef"};
        LineReader* reader = reader_open(memory_stream_open(state), mode);
        for (int k = 0; k < bytes_read; ++k) EXPECT_EQ(reader_getc(reader), 'a' + k);
        if (flush_before_close) {
            EXPECT_EQ(reader_flush(reader), 0);
            EXPECT_EQ(state.written, written) << mode;
        }
        reader_close(reader);  // flushes again: nothing more may be written
        EXPECT_EQ(state.written, written) << mode;
    }
}

}  // namespace
