#include "schedule/win32/file_stream.h"

#include <climits>

#include "base/win32/owned_handle.h"

namespace {

FileStream* file_of(Stream* stream)
{
    // The head is the record's first member.
    return reinterpret_cast<FileStream*>(stream);
}

// Moves the file pointer to `offset` bytes from the file's beginning.
bool move_file_pointer(HANDLE handle, long long offset)
{
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(handle, static_cast<LONG>(offset & 0xFFFFFFFFLL), &high, FILE_BEGIN);
    // INVALID_SET_FILE_POINTER is also a valid low part; only the error code
    // tells the two apart.
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

}  // namespace

int file_stream_close(Stream* stream)
{
    CloseHandle(file_of(stream)->handle);
    return stream_free(stream);
}

int file_stream_read(Stream* stream, void* buffer, int count)
{
    int left = stream->size - stream->position;
    if (count > left) count = left;
    FileStream* file = file_of(stream);
    if (count <= 0 || file->failed) return 0;
    DWORD got = 0;
    if (!ReadFile(file->handle, buffer, static_cast<DWORD>(count), &got, nullptr)) {
        file->failed = 1;
        return 0;
    }
    stream->position += static_cast<int>(got);
    return static_cast<int>(got);
}

int file_stream_seek(Stream* stream, int offset, int whence)
{
    // 64-bit so that no offset can overflow into a target that looks valid.
    long long target = offset;
    if (whence == 1) {
        target += stream->position;
    } else if (whence == 2) {
        target += stream->size;
    }
    if (target < 0 || target > stream->size) return -1;
    if (!move_file_pointer(file_of(stream)->handle, stream->base_offset + target)) return -1;
    stream->position = static_cast<int>(target);
    return stream->position;
}

int file_stream_write(Stream* stream, const void* buffer, int count)
{
    // The position stays a 32-bit count: never write past 2 GiB - 1.
    if (count > INT_MAX - stream->position) count = INT_MAX - stream->position;
    if (count <= 0) return 0;
    DWORD written = 0;
    if (!WriteFile(file_of(stream)->handle, buffer, static_cast<DWORD>(count), &written, nullptr)) return 0;
    stream->position += static_cast<int>(written);
    if (stream->position > stream->size) stream->size = stream->position;
    return static_cast<int>(written);
}

FileStream* stream_from_handle(HANDLE handle, int base_offset, int size)
{
    if (handle == INVALID_HANDLE_VALUE || base_offset < 0) return nullptr;
    if (size <= 0) {
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(handle, &info)) return nullptr;
        // A stream covers at most 2 GiB - 1 bytes; a larger file is cut there
        // rather than wrapped to a size that has nothing to do with it.
        long long file_size = (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        long long rest = file_size - base_offset;
        if (rest < 0) rest = 0;
        if (rest > INT_MAX) rest = INT_MAX;
        size = static_cast<int>(rest);
    }
    Stream* stream = stream_alloc(sizeof(FileStream), size, base_offset);
    if (!stream) return nullptr;
    if (!move_file_pointer(handle, base_offset)) {
        stream_free(stream);
        return nullptr;
    }
    stream->ops = &file_stream_ops;
    FileStream* file = file_of(stream);
    file->handle = handle;
    file->failed = 0;
    return file;
}

FileStream* stream_open_file(const char* path, int base_offset, int size)
{
    if (!path) return nullptr;
    OwnedKernelObject handle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle) return nullptr;
    FileStream* file = stream_from_handle(handle.get(), base_offset, size);
    // The stream closes the handle from now on (file_stream_close); without a
    // stream it is closed here.
    if (file) handle.release();
    return file;
}
