#pragma once
// A stream kind over bytes in memory whose reads deliver as few bytes as the
// fuzzer chooses (at least one while bytes remain, since 0 means the end), so
// that a reader meets every split of its input across refills.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

#include "schedule/line_reader.h"

struct FuzzMemoryStream {
    Stream head;
    const unsigned char* data;   // `head.size` bytes, owned by the caller
    FuzzedDataProvider* counts;  // chooses each read's length; null: full reads
    std::string* written;        // receives every byte handed to write
};

namespace fuzz_memory_stream_detail {

inline FuzzMemoryStream& of(Stream* stream)
{
    return *reinterpret_cast<FuzzMemoryStream*>(stream);
}

inline int read(Stream* stream, void* buffer, int count)
{
    int n = stream->size - stream->position;
    if (count < n) n = count;
    if (n <= 0) return 0;
    if (of(stream).counts != nullptr) {
        // 0, also what an exhausted provider answers, stands for a full read.
        const int chosen = of(stream).counts->ConsumeIntegralInRange<int>(0, n);
        if (chosen > 0) n = chosen;
    }
    std::memcpy(buffer, of(stream).data + stream->position, static_cast<std::size_t>(n));
    stream->position += n;
    return n;
}

inline int seek(Stream* stream, int offset, int whence)
{
    const int from = whence == 1 ? stream->position : whence == 2 ? stream->size : 0;
    const long long target = static_cast<long long>(from) + offset;
    if (target < 0 || target > stream->size) return -1;
    stream->position = static_cast<int>(target);
    return stream->position;
}

inline int write(Stream* stream, const void* buffer, int count)
{
    if (count <= 0) return 0;
    if (of(stream).written != nullptr) {
        of(stream).written->append(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
    }
    return count;
}

inline int close(Stream* stream)
{
    return stream_free(stream);
}

inline constexpr StreamOps ops = {close, read, seek, write};

}  // namespace fuzz_memory_stream_detail

// A stream over `size` bytes at `data`, which must outlive it. Null when
// memory runs out.
inline Stream* fuzz_memory_stream_open(const unsigned char* data, int size, FuzzedDataProvider* counts,
                                       std::string* written)
{
    Stream* stream = stream_alloc(sizeof(FuzzMemoryStream), size, 0);
    if (stream == nullptr) return nullptr;
    stream->ops = &fuzz_memory_stream_detail::ops;
    FuzzMemoryStream& self = fuzz_memory_stream_detail::of(stream);
    self.data = data;
    self.counts = counts;
    self.written = written;
    return stream;
}
