#pragma once
// A stream over bytes in memory, for tests and benchmarks. What the stream was
// asked is recorded in a MemoryStreamState that the caller owns, so that it can
// be inspected after the stream has been closed.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "schedule/line_reader.h"

struct MemoryStreamState {
    std::string data;              // the bytes served; the stream's size
    std::vector<int> chunks = {};  // most bytes delivered by successive reads; later reads: count only
    int read_calls = 0;
    int close_calls = 0;
    std::vector<int> read_requests = {};  // `count` of the first 4096 reads, in order
    std::string written = {};             // every byte handed to write, in order
};

struct MemoryStream {
    Stream head;
    MemoryStreamState* state;
};

namespace memory_stream_detail {

inline MemoryStreamState& state_of(Stream* stream)
{
    return *reinterpret_cast<MemoryStream*>(stream)->state;
}

inline int read(Stream* stream, void* buffer, int count)
{
    MemoryStreamState& s = state_of(stream);
    if (s.read_requests.size() < 4096) s.read_requests.push_back(count);
    const std::size_t call = static_cast<std::size_t>(s.read_calls++);
    int n = std::min(count, stream->size - stream->position);
    if (call < s.chunks.size()) n = std::min(n, s.chunks[call]);
    if (n <= 0) return 0;
    std::memcpy(buffer, s.data.data() + stream->position, static_cast<std::size_t>(n));
    stream->position += n;
    return n;
}

inline int write(Stream* stream, const void* buffer, int count)
{
    if (count > 0) state_of(stream).written.append(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
    return std::max(count, 0);
}

inline int close(Stream* stream)
{
    ++state_of(stream).close_calls;
    return stream_free(stream);
}

// No seek: the line reader never seeks, and a call would crash loudly.
inline constexpr StreamOps ops = {close, read, nullptr, write};

}  // namespace memory_stream_detail

// A new stream over `state.data` (which must outlive it), closed through its
// operations like any stream.
inline Stream* memory_stream_open(MemoryStreamState& state)
{
    Stream* stream = stream_alloc(sizeof(MemoryStream), static_cast<int>(state.data.size()), 0);
    if (!stream) return nullptr;
    stream->ops = &memory_stream_detail::ops;
    reinterpret_cast<MemoryStream*>(stream)->state = &state;
    return stream;
}
