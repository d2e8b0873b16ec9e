#pragma once
// A stream over bytes in memory, for tests, benchmarks and fuzz targets. What it was asked is
// recorded in a MemoryStreamState the caller owns, readable after the close.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "schedule/line_reader.h"

struct MemoryStreamState {
    std::string data;                        // the bytes served; the stream's size
    std::function<int(int)> read_size = {};  // if set, how many of the bytes a read could deliver it does
    int read_calls = 0;
    std::vector<int> read_requests = {};  // `count` of the first 4096 reads, in order
    std::string written = {};             // every byte handed to write, in order
};

// The stream record: the head, then the state. No seek: the line reader never
// seeks, and a call would crash loudly.
struct MemoryStream {
    Stream head;
    MemoryStreamState* state;

    static MemoryStreamState& of(Stream* stream) { return *reinterpret_cast<MemoryStream*>(stream)->state; }
    static int read(Stream* stream, void* buffer, int count)
    {
        MemoryStreamState& s = of(stream);
        if (s.read_requests.size() < 4096) s.read_requests.push_back(count);
        ++s.read_calls;
        int n = std::min(count, stream->size - stream->position);
        if (n <= 0) return 0;
        if (s.read_size) n = s.read_size(n);
        std::memcpy(buffer, s.data.data() + stream->position, static_cast<std::size_t>(n));
        stream->position += n;
        return n;
    }
    static int write(Stream* stream, const void* buffer, int count)
    {
        if (count > 0) of(stream).written.append(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
        return std::max(count, 0);
    }
};

// A new stream over `state.data` (which must outlive it), closed through its
// operations like any stream.
inline Stream* memory_stream_open(MemoryStreamState& state)
{
    static constexpr StreamOps ops = {stream_free, MemoryStream::read, nullptr, MemoryStream::write};
    Stream* stream = stream_alloc(sizeof(MemoryStream), static_cast<int>(state.data.size()), 0);
    if (!stream) return nullptr;
    stream->ops = &ops;
    reinterpret_cast<MemoryStream*>(stream)->state = &state;
    return stream;
}
