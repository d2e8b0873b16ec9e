#pragma once
// A read-only stream over a file opened with the standard library, for
// portable tools that read a crontab file with the program's own line reader.
#include <cstdio>

#include "schedule/line_reader.h"

struct StdioStream {
    Stream head;
    std::FILE* file;  // owned: closed by the close operation
    int failed;       // 1 once a read has failed (not at the end of the file)
};

// Opens `path` for reading in binary mode. The size is the file's length when
// it can be told, else 0; reads go on to the end of the file either way.
// Null when the file cannot be opened or memory runs out.
Stream* stdio_stream_open(const char* path);

// 1 when a read of the stream met an error rather than the end of the file
// (a folder opened as a file, an I/O error), else 0.
int stdio_stream_failed(const Stream* stream);
