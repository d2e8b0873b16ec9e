#pragma once
// Byte streams behind a table of operations, and a buffered reader over any
// stream that hands out bytes one at a time and reads lines ending in CR LF,
// LF or a lone CR, each returned with a single "\n".
//
// A stream kind is a record whose first member is a `Stream` head, followed by
// the kind's own fields. Callers of a stream go through `head.ops` only.
#include <array>
#include <cstddef>
#include <utility>

struct Stream;

// The operations of one stream kind, in this slot order.
struct StreamOps {
    // Releases the stream and everything it owns. Answers 1.
    int (*close)(Stream* stream);
    // Reads up to `count` bytes into `buffer`; answers the number read, 0 at
    // the end (or on failure).
    int (*read)(Stream* stream, void* buffer, int count);
    // Moves to `offset` counted from the start (whence 0 or any unknown
    // value), the position (1) or the size (2). Answers the new position, or
    // -1 when the target lies outside 0..size; nothing changes then.
    int (*seek)(Stream* stream, int offset, int whence);
    // Writes `count` bytes from `buffer`; answers the number written. May
    // extend the stream past its size.
    int (*write)(Stream* stream, const void* buffer, int count);
};

// The head every stream record begins with. Offsets and sizes are bytes.
struct Stream {
    const StreamOps* ops;
    int position;     // offset of the next byte from the stream's start
    int size;         // length of the stream
    int base_offset;  // where byte 0 of the stream lies in the underlying file
};

// Allocates a zeroed stream record of `record_size` bytes (the head plus the
// kind's fields) with position 0 and the given size and base offset. The
// caller sets `ops` and its own fields. Null when memory runs out or
// `record_size` cannot hold a head.
Stream* stream_alloc(std::size_t record_size, int size, int base_offset);

// Releases a record from stream_alloc (null is ignored). Answers 1.
int stream_free(Stream* stream);

constexpr int READER_MODE_READ = 1;
// Makes reader_flush (and so reader_close) write unread buffered bytes back
// to the stream. Only this bit of the mode is ever tested.
constexpr int READER_MODE_WRITE = 2;

constexpr int READER_CAPACITY = 256;

// Invariant: 0 <= position <= fill <= capacity. The buffer in use is the
// reader's own inline buffer, part of the same allocation.
struct LineReader {
    Stream* stream;  // owned: reader_close closes it
    int mode;        // READER_MODE_* flags
    int position;    // index of the next byte to hand out
    int fill;        // number of valid bytes in the buffer
    int capacity;    // READER_CAPACITY
    unsigned char* buffer;
    std::array<unsigned char, READER_CAPACITY> inline_buffer;
};

// Creates a reader over `stream`, which it owns from then on. Null when
// memory runs out or `stream` is null; the stream is then untouched and stays
// the caller's.
LineReader* reader_open(Stream* stream, int mode);

// With READER_MODE_WRITE and unread bytes buffered, hands them to the
// stream's write operation and empties the buffer. Otherwise does nothing.
// Answers 0.
int reader_flush(LineReader* reader);

// reader_flush, then closes the stream and releases the reader (null is
// ignored). Neither may be used afterwards. Answers 0.
int reader_close(LineReader* reader);

// Refills the empty buffer with one read of the whole capacity and answers
// the first byte (0..255), or -1 at the end. Used by reader_getc.
int reader_refill_getc(LineReader* reader);

// The next byte as 0..255, or -1 at the end of the stream.
inline int reader_getc(LineReader* reader)
{
    if (reader->position < reader->fill) return reader->buffer[reader->position++];
    return reader_refill_getc(reader);
}

// Steps back over the byte read last and answers `c`, which is only echoed:
// the buffer is not written. Answers -1 and changes nothing when there is no
// buffered byte before the position (right after open or a refill that found
// the end).
int reader_ungetc(LineReader* reader, int c);

// Reads one line into `buf`, a buffer of `n` bytes, and answers `buf`. The
// text is NUL-terminated; a line end (CR LF, LF or lone CR) becomes one "\n".
// A line longer than n - 1 characters is cut after n - 1 characters without
// a line end; the next call goes on with the rest of that line. A NUL byte in
// a line is stored like any other byte. Answers null, leaving `buf`
// untouched, at the end of the stream, or when `buf` is null or `n` < 2.
char* reader_gets(LineReader* reader, char* buf, int n);

// A reader that closes itself (and so its stream): move-only, so that exactly
// one owner closes it, at the end of its scope or earlier with close(). It
// owns `stream` from construction on, also when the reader could not be made:
// the stream is closed at once then, and the owner holds no reader.
class OwnedLineReader {
public:
    OwnedLineReader() = default;
    OwnedLineReader(Stream* stream, int mode) : reader_(reader_open(stream, mode))
    {
        if (reader_ == nullptr && stream != nullptr) stream->ops->close(stream);
    }
    ~OwnedLineReader() { close(); }

    OwnedLineReader(const OwnedLineReader&) = delete;
    OwnedLineReader& operator=(const OwnedLineReader&) = delete;
    OwnedLineReader(OwnedLineReader&& other) noexcept : reader_(std::exchange(other.reader_, nullptr)) {}
    OwnedLineReader& operator=(OwnedLineReader&& other) noexcept
    {
        if (this != &other) {
            close();
            reader_ = std::exchange(other.reader_, nullptr);
        }
        return *this;
    }

    explicit operator bool() const { return reader_ != nullptr; }
    LineReader* get() const { return reader_; }

    // reader_close now; the owner then holds none.
    void close() { reader_close(std::exchange(reader_, nullptr)); }

private:
    LineReader* reader_ = nullptr;
};
