#include "schedule/win32/file_stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "tests/support/win32/temp_folder.h"

namespace {

// `count` bytes whose byte k is first + k.
std::string counting(int first, int count)
{
    std::string bytes;
    for (int k = 0; k < count; ++k) bytes.push_back(static_cast<char>(first + k));
    return bytes;
}

std::string read_all(FileStream* file)
{
    std::string got;
    char chunk[7];
    while (int n = file->head.ops->read(&file->head, chunk, sizeof chunk)) {
        got.append(chunk, static_cast<std::size_t>(n));
    }
    return got;
}

class FileStreamWin32 : public testing::Test {
protected:
    TempFolder folder;
    const std::string path = folder.write("count.bin", counting(0, 100));
};

TEST_F(FileStreamWin32, base_offset_and_size_fix_a_read_only_window_onto_the_file_and_refusals_keep_nothing_open)
{
    struct Case {
        int base_offset, size, expected_size, bytes_read;
    };
    const Case cases[] = {
        {0, 0, 100, 100}, {10, 0, 90, 90},   // size 0: the rest of the file
        {10, 5, 5, 5},    {10, -3, 90, 90},  // a size of 0 or less means the rest
        {100, 0, 0, 0},   {150, 0, 0, 0},    // at or beyond the end: empty, never negative
        {90, 50, 50, 10},                    // a size past the end reads what is there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "base " << c.base_offset << " size " << c.size);
        FileStream* file = stream_open_file(path.c_str(), c.base_offset, c.size);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(std::pair(file->head.size, file->head.base_offset), std::pair(c.expected_size, c.base_offset));
        EXPECT_EQ(read_all(file), counting(c.base_offset, c.bytes_read));
        EXPECT_EQ(file->head.position, c.bytes_read);
        EXPECT_EQ(file_stream_write(&file->head, "x", 1), 0) << "opened for reading only";
        EXPECT_FALSE(DeleteFileA(path.c_str())) << "shared for reading only";
        EXPECT_EQ(file_stream_close(&file->head), 1);
    }
    EXPECT_EQ(stream_open_file(path.c_str(), -1, 0), nullptr);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "a closed or refused stream left the file open";
    HANDLE read_end = nullptr, write_end = nullptr;  // a pipe has no file information
    ASSERT_TRUE(CreatePipe(&read_end, &write_end, nullptr, 0));
    EXPECT_EQ(stream_from_handle(read_end, 0, 0), nullptr);
    EXPECT_TRUE(CloseHandle(read_end)) << "the refused handle stays the caller's";
    CloseHandle(write_end);
}

TEST_F(FileStreamWin32, seek_moves_within_zero_to_size_and_refuses_the_rest_without_moving_and_writes_go_past_it)
{
    // From position 20 of a 90-byte stream that starts at byte 10: a seek {offset, whence} or a write {count, -1},
    // its answer, then the position and the size.
    const int cases[][5] = {
        {5, 0, 5, 5, 90},     {90, 0, 90, 90, 90},      {-1, 0, -1, 20, 90},      {91, 0, -1, 20, 90},
        {5, 1, 25, 25, 90},   {-20, 1, 0, 0, 90},       {-21, 1, -1, 20, 90},     {71, 1, -1, 20, 90},
        {0, 2, 90, 90, 90},   {-90, 2, 0, 0, 90},       {1, 2, -1, 20, 90},       {30, 7, 30, 30, 90},
        {-5, 3, -1, 20, 90},  {INT_MAX, 1, -1, 20, 90}, {INT_MIN, 2, -1, 20, 90}, {10, -1, 10, 30, 90},
        {75, -1, 75, 95, 95},
    };
    for (const auto& [offset, whence, answer, position, size] : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << offset << " whence " << whence);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        FileStream* file = stream_from_handle(h, 10, 0);
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(file_stream_seek(&file->head, 20, 0), 20);
        const std::string written(whence < 0 ? offset : 0, 'w');
        EXPECT_EQ(whence < 0 ? file_stream_write(&file->head, written.data(), offset)
                             : file_stream_seek(&file->head, offset, whence),
                  answer);
        EXPECT_EQ(std::pair(file->head.position, file->head.size), std::pair(position, size));
        // The file pointer agrees: what follows is the file's bytes from 10 + position.
        EXPECT_EQ(read_all(file), counting(10 + position, size - position));
        file_stream_close(&file->head);
    }
    EXPECT_EQ(folder.read("count.bin"), counting(0, 30) + std::string(75, 'w'));
}

}  // namespace
