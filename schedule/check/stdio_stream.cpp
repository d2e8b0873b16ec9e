#include "schedule/check/stdio_stream.h"

#include <climits>

namespace {

StdioStream* as_stdio(Stream* stream)
{
    return reinterpret_cast<StdioStream*>(stream);
}

int stdio_close(Stream* stream)
{
    std::fclose(as_stdio(stream)->file);
    return stream_free(stream);
}

int stdio_read(Stream* stream, void* buffer, int count)
{
    // Positions are ints: a file is read up to 2 GiB - 1 bytes, like the program's own stream.
    if (count > INT_MAX - stream->position) count = INT_MAX - stream->position;
    if (count <= 0) return 0;
    StdioStream* s = as_stdio(stream);
    const std::size_t n = std::fread(buffer, 1, static_cast<std::size_t>(count), s->file);
    if (n == 0 && std::ferror(s->file)) s->failed = 1;
    stream->position += static_cast<int>(n);
    return static_cast<int>(n);
}

int stdio_seek(Stream* stream, int offset, int whence)
{
    // In 64 bits, as the file stream adds: a long is 32 bits under mingw, where
    // an offset near INT_MAX added to the position would overflow.
    long long target = offset;
    if (whence == 1) target += stream->position;
    if (whence == 2) target += stream->size;
    if (target < 0 || target > stream->size) return -1;
    if (std::fseek(as_stdio(stream)->file, static_cast<long>(target), SEEK_SET) != 0) return -1;
    stream->position = static_cast<int>(target);
    return stream->position;
}

// The file is opened for reading only: writing fails and answers 0.
int stdio_write(Stream* stream, const void* buffer, int count)
{
    if (count <= 0) return 0;
    const std::size_t n = std::fwrite(buffer, 1, static_cast<std::size_t>(count), as_stdio(stream)->file);
    stream->position += static_cast<int>(n);
    if (stream->position > stream->size) stream->size = stream->position;
    return static_cast<int>(n);
}

constexpr StreamOps stdio_stream_ops = {stdio_close, stdio_read, stdio_seek, stdio_write};

// The file's length, or 0 when it cannot be told or does not fit an int.
int file_size(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size > 0 && size <= INT_MAX ? static_cast<int>(size) : 0;
}

}  // namespace

Stream* stdio_stream_open(const char* path)
{
    if (path == nullptr) return nullptr;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    Stream* stream = stream_alloc(sizeof(StdioStream), file_size(file), 0);
    if (stream == nullptr) {
        std::fclose(file);
        return nullptr;
    }
    stream->ops = &stdio_stream_ops;
    as_stdio(stream)->file = file;
    as_stdio(stream)->failed = 0;
    return stream;
}

int stdio_stream_failed(const Stream* stream)
{
    return reinterpret_cast<const StdioStream*>(stream)->failed;
}
