#include "schedule/win32/file_stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A folder of its own under the temporary path, removed with its files.
class FileStreamWin32 : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        char dir[MAX_PATH];
        std::snprintf(dir, sizeof dir, "%stavecron-fs-%lu-%lu", temp, GetCurrentProcessId(), GetTickCount());
        folder_ = dir;
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }

    void TearDown() override
    {
        for (const std::string& path : files_) DeleteFileA(path.c_str());
        EXPECT_TRUE(RemoveDirectoryA(folder_.c_str())) << "a file stayed open or behind";
    }

    std::string make_file(const char* name, const std::string& bytes)
    {
        std::string path = folder_ + "\\" + name;
        files_.push_back(path);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(h);
        return path;
    }

    // 100 bytes whose byte k is k.
    std::string make_counting_file()
    {
        std::string bytes;
        for (int k = 0; k < 100; ++k) bytes.push_back(static_cast<char>(k));
        return make_file("count.bin", bytes);
    }

    static std::string read_all(FileStream* file)
    {
        std::string got;
        char chunk[7];
        while (int n = file->head.ops->read(&file->head, chunk, sizeof chunk)) got.append(chunk, static_cast<std::size_t>(n));
        return got;
    }

    std::string folder_;
    std::vector<std::string> files_;
};

struct ExtentCase {
    int base_offset;
    int size;
    int expected_size;
    int first_byte;  // -1: nothing to read
    int bytes_read;
};

TEST_F(FileStreamWin32, base_offset_and_size_fix_the_window_onto_the_file)
{
    const ExtentCase cases[] = {
        {0, 0, 100, 0, 100},    // the whole file
        {10, 0, 90, 10, 90},    // from byte 10 to the end
        {10, 5, 5, 10, 5},      // an explicit size
        {10, -3, 90, 10, 90},   // a size of 0 or less means "to the end"
        {100, 0, 0, -1, 0},     // at the end: empty
        {150, 0, 0, -1, 0},     // beyond the end: empty, never negative
        {90, 50, 50, 90, 10},   // a size past the end reads what is there
    };
    std::string path = make_counting_file();
    for (const ExtentCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "base " << c.base_offset << " size " << c.size);
        FileStream* file = stream_open_file(path.c_str(), c.base_offset, c.size);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->head.ops, &file_stream_ops);
        EXPECT_EQ(file->head.size, c.expected_size);
        EXPECT_EQ(file->head.base_offset, c.base_offset);
        std::string got = read_all(file);
        EXPECT_EQ(static_cast<int>(got.size()), c.bytes_read);
        for (std::size_t k = 0; k < got.size(); ++k) ASSERT_EQ(got[k], static_cast<char>(c.first_byte + k)) << k;
        EXPECT_EQ(file->head.position, c.bytes_read);
        EXPECT_EQ(file_stream_close(&file->head), 1);
    }
}

struct SeekCase {
    int offset;
    int whence;
    int expected;  // new position, or -1
};

TEST_F(FileStreamWin32, seek_moves_within_zero_to_size_and_refuses_the_rest_without_moving)
{
    // From position 20 of a 90-byte stream that starts at byte 10.
    const SeekCase cases[] = {
        {5, 0, 5},      {90, 0, 90},   {-1, 0, -1},       {91, 0, -1},
        {5, 1, 25},     {-20, 1, 0},   {-21, 1, -1},      {71, 1, -1},
        {0, 2, 90},     {-90, 2, 0},   {1, 2, -1},        {30, 7, 30},
        {-5, 3, -1},    {INT_MAX, 1, -1}, {INT_MIN, 2, -1},
    };
    std::string path = make_counting_file();
    for (const SeekCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " whence " << c.whence);
        FileStream* file = stream_open_file(path.c_str(), 10, 0);
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(file_stream_seek(&file->head, 20, 0), 20);
        EXPECT_EQ(file_stream_seek(&file->head, c.offset, c.whence), c.expected);
        int position = c.expected < 0 ? 20 : c.expected;
        EXPECT_EQ(file->head.position, position);
        // The file pointer agrees with the position: the next byte is the file's byte 10 + position.
        unsigned char next = 0xEE;
        EXPECT_EQ(file_stream_read(&file->head, &next, 1), position < 90 ? 1 : 0);
        if (position < 90) {
            EXPECT_EQ(next, 10 + position);
        }
        file_stream_close(&file->head);
    }
}

TEST_F(FileStreamWin32, write_goes_past_the_size_and_extends_the_stream)
{
    std::string path = make_counting_file();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FileStream* file = stream_from_handle(h, 10, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file_stream_seek(&file->head, 85, 0), 85);
    EXPECT_EQ(file_stream_write(&file->head, "ABCDEFGHIJ", 10), 10);
    EXPECT_EQ(file->head.position, 95);
    EXPECT_EQ(file->head.size, 95);
    EXPECT_EQ(file_stream_seek(&file->head, 0, 2), 95);
    file_stream_close(&file->head);

    file = stream_open_file(path.c_str(), 0, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file_stream_write(&file->head, "xyz", 3), 0) << "a failed write: the file is open for reading only";
    EXPECT_EQ(file->head.position, 0);
    std::string bytes = read_all(file);
    file_stream_close(&file->head);
    ASSERT_EQ(bytes.size(), 105u);
    EXPECT_EQ(bytes.substr(95), "ABCDEFGHIJ");
    EXPECT_EQ(bytes[94], 94);
}

TEST_F(FileStreamWin32, a_missing_file_or_a_handle_of_no_file_gives_no_stream)
{
    EXPECT_EQ(stream_open_file((folder_ + "\\missing.tab").c_str(), 0, 0), nullptr);
    EXPECT_EQ(stream_open_file(nullptr, 0, 0), nullptr);

    // A pipe has no file information and no file pointer.
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    ASSERT_TRUE(CreatePipe(&read_end, &write_end, nullptr, 0));
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(write_end, "hi", 2, &count, nullptr));
    EXPECT_EQ(stream_from_handle(read_end, 0, 0), nullptr);
    char got[2] = {};
    EXPECT_TRUE(ReadFile(read_end, got, 2, &count, nullptr));
    EXPECT_EQ(std::string(got, count), "hi");
    EXPECT_TRUE(CloseHandle(read_end));
    EXPECT_TRUE(CloseHandle(write_end)) << "a refused handle stays the caller's";
}

TEST_F(FileStreamWin32, the_reader_gives_a_real_files_lines_with_every_kind_of_line_end)
{
    std::string long_line(300, 'L');
    std::string path = make_file("cron.tab", "0 * * * * NoAction\r\n" + long_line + "\nthird\r\r\nlast");
    FileStream* file = stream_open_file(path.c_str(), 0, 0);
    ASSERT_NE(file, nullptr);
    LineReader* reader = reader_open(&file->head, READER_MODE_READ);
    ASSERT_NE(reader, nullptr);
    std::vector<std::string> lines;
    char buf[2048];
    while (reader_gets(reader, buf, sizeof buf)) lines.push_back(buf);
    EXPECT_FALSE(DeleteFileA(path.c_str())) << "the open file is shared for reading only";
    reader_close(reader);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "closing the reader closes the file";
    EXPECT_EQ(lines, (std::vector<std::string>{"0 * * * * NoAction\n", long_line + "\n", "third\n", "\n", "last"}));
}

}  // namespace
