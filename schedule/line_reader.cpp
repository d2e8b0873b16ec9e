#include "schedule/line_reader.h"

#include <cstdlib>
#include <cstring>

Stream* stream_alloc(std::size_t record_size, int size, int base_offset)
{
    if (record_size < sizeof(Stream)) return nullptr;
    // The record's kind is an aggregate of plain fields: calloc's zeroed
    // bytes are a valid record of it.
    auto* stream = static_cast<Stream*>(std::calloc(1, record_size));
    if (!stream) return nullptr;
    stream->position = 0;
    stream->size = size;
    stream->base_offset = base_offset;
    return stream;
}

int stream_free(Stream* stream)
{
    std::free(stream);
    return 1;
}

LineReader* reader_open(Stream* stream, int mode)
{
    if (!stream) return nullptr;
    auto* reader = static_cast<LineReader*>(std::malloc(sizeof(LineReader)));
    if (!reader) return nullptr;
    reader->stream = stream;
    reader->mode = mode;
    reader->position = 0;
    reader->fill = 0;
    reader->capacity = READER_CAPACITY;
    reader->buffer = reader->inline_buffer.data();
    return reader;
}

int reader_flush(LineReader* reader)
{
    if (!reader) return 0;
    if ((reader->mode & READER_MODE_WRITE) && reader->position < reader->fill) {
        reader->stream->ops->write(reader->stream, reader->buffer + reader->position, reader->fill - reader->position);
        reader->position = 0;
        reader->fill = 0;
    }
    return 0;
}

int reader_close(LineReader* reader)
{
    if (!reader) return 0;
    reader_flush(reader);
    reader->stream->ops->close(reader->stream);
    std::free(reader);
    return 0;
}

int reader_refill_getc(LineReader* reader)
{
    if (reader->position >= reader->fill) {
        int got = reader->stream->ops->read(reader->stream, reader->buffer, reader->capacity);
        // A stream kind that answers a failure code or more than it was asked
        // for must not break the buffer's bounds.
        if (got < 0) got = 0;
        if (got > reader->capacity) got = reader->capacity;
        reader->fill = got;
        reader->position = 0;
    }
    if (reader->position < reader->fill) return reader->buffer[reader->position++];
    return -1;
}

int reader_ungetc(LineReader* reader, int c)
{
    if (reader->position <= 0) return -1;
    --reader->position;
    return c;
}

char* reader_gets(LineReader* reader, char* buf, int n)
{
    if (!reader || !buf || n < 2) return nullptr;
    int c = reader_getc(reader);
    if (c < 0) return nullptr;

    int room = n - 1;
    int stored = 0;
    for (;;) {
        // Copy straight from the buffer up to the first line end, the end of
        // the room or the end of the buffered bytes, whichever comes first.
        if (c != '\n' && c != '\r') {
            buf[stored++] = static_cast<char>(c);
            if (--room == 0) break;
            const unsigned char* from = reader->buffer + reader->position;
            int run = reader->fill - reader->position;
            if (run > room) run = room;
            int taken = 0;
            while (taken < run && from[taken] != '\n' && from[taken] != '\r') ++taken;
            std::memcpy(buf + stored, from, static_cast<std::size_t>(taken));
            stored += taken;
            room -= taken;
            reader->position += taken;
            if (room == 0) break;
            c = reader_getc(reader);
            if (c < 0) break;
            continue;
        }
        buf[stored++] = '\n';
        if (c == '\r') {
            int next = reader_getc(reader);
            if (next >= 0 && next != '\n') reader_ungetc(reader, next);
        }
        break;
    }
    buf[stored] = '\0';
    return buf;
}
