#pragma once
// A stream over a Win32 file handle, starting at a byte offset inside the
// file. Pass `&file->head` wherever a Stream is asked for (reader_open).
#include <windows.h>

#include <utility>

#include "schedule/line_reader.h"

struct FileStream {
    Stream head;
    HANDLE handle;  // owned: closed by file_stream_close
    int failed;     // 1 once a ReadFile has failed: the stream ended there, not at the file's end
};

// CloseHandle, then stream_free. Answers 1.
int file_stream_close(Stream* stream);
// Reads at most size - position bytes; 0 at the end. A failed ReadFile also
// answers 0, sets `failed`, and ends the stream: later reads answer 0 too,
// so that no bytes after a gap pass for the rest of the file.
int file_stream_read(Stream* stream, void* buffer, int count);
// Whence 0 (and any unknown value) from the start, 1 from the position, 2
// from the size. Answers the new position, or -1 when the target lies outside
// 0..size or the file pointer cannot be moved; position and file pointer stay.
int file_stream_seek(Stream* stream, int offset, int whence);
// Writes `count` bytes, unbounded by the size: the size grows with the
// position. Answers the number written, 0 when WriteFile fails.
int file_stream_write(Stream* stream, const void* buffer, int count);

inline constexpr StreamOps file_stream_ops = {file_stream_close, file_stream_read, file_stream_seek, file_stream_write};

// Wraps an open handle, starting at `base_offset` (0 or more) in the file. The
// size is `size` when above 0, otherwise the file's size less the base offset
// (0 when the offset lies beyond the end). Moves the file pointer to the base
// offset. The stream owns the handle from then on. Null when memory runs out,
// the offset is negative, the file's size cannot be obtained (size 0 or
// less) or the file pointer cannot be moved; the handle then stays open and
// stays the caller's.
FileStream* stream_from_handle(HANDLE handle, int base_offset, int size);

// Opens an existing file for reading (others may read it too) with the
// sequential-scan hint and wraps it with stream_from_handle. Base offset 0
// and size 0 give the whole file. Null when the file cannot be opened or
// wrapped; nothing stays open then.
FileStream* stream_open_file(const char* path, int base_offset, int size);

// A file stream that closes itself: move-only, so that exactly one owner
// closes it, at the end of its scope or when it is handed on with release()
// (to a line reader, which then closes it).
class OwnedFileStream {
public:
    OwnedFileStream() = default;
    explicit OwnedFileStream(FileStream* stream) : stream_(stream) {}
    ~OwnedFileStream() { close(); }

    OwnedFileStream(const OwnedFileStream&) = delete;
    OwnedFileStream& operator=(const OwnedFileStream&) = delete;
    OwnedFileStream(OwnedFileStream&& other) noexcept : stream_(std::exchange(other.stream_, nullptr)) {}
    OwnedFileStream& operator=(OwnedFileStream&& other) noexcept
    {
        if (this != &other) {
            close();
            stream_ = std::exchange(other.stream_, nullptr);
        }
        return *this;
    }

    explicit operator bool() const { return stream_ != nullptr; }
    FileStream* get() const { return stream_; }
    // The stream, which the caller now owns; the owner then holds none.
    FileStream* release() { return std::exchange(stream_, nullptr); }

    void close()
    {
        if (FileStream* stream = std::exchange(stream_, nullptr)) file_stream_close(&stream->head);
    }

private:
    FileStream* stream_ = nullptr;
};
