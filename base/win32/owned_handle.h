#pragma once
// A handle that closes itself: move-only, so that exactly one owner closes it,
// at the end of its scope or earlier with close(). The commands (the
// wallpaper's registry key, the directory search), the schedule (files) and
// the application (the mutex) all open such handles, so it lives below them.
#include <windows.h>

#include <utility>

template <typename Kind>
class OwnedHandle {
public:
    using Handle = typename Kind::Handle;

    OwnedHandle() = default;
    // Takes `handle` as an open function answers it, failure values included.
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { close(); }

    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = other.release();
        }
        return *this;
    }

    // True when a handle is held, not a failure value.
    explicit operator bool() const { return Kind::is_handle(handle_); }
    Handle get() const { return handle_; }

    // Hands the handle over to a new owner; this one then holds none.
    Handle release() { return std::exchange(handle_, Kind::none()); }

    // Closes the handle now. False only when the system refused to close it
    // (a file's last writes can fail there); true when none was held.
    bool close()
    {
        const Handle handle = release();
        return !Kind::is_handle(handle) || Kind::close(handle);
    }

private:
    Handle handle_ = Kind::none();
};

// Kernel objects closed with CloseHandle: files and mutexes. CreateFileA
// fails with INVALID_HANDLE_VALUE, CreateMutexA with null; neither is held.
struct KernelObjectKind {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static bool is_handle(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static bool close(Handle handle) { return CloseHandle(handle) != 0; }
};

// A directory search of FindFirstFileA, which fails with INVALID_HANDLE_VALUE.
struct FileSearchKind {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool is_handle(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static bool close(Handle handle) { return FindClose(handle) != 0; }
};

// A registry key of RegCreateKeyExA.
struct RegistryKeyKind {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool is_handle(Handle handle) { return handle != nullptr; }
    static bool close(Handle handle) { return RegCloseKey(handle) == ERROR_SUCCESS; }
};

using OwnedKernelObject = OwnedHandle<KernelObjectKind>;
using OwnedFileSearch = OwnedHandle<FileSearchKind>;
using OwnedRegistryKey = OwnedHandle<RegistryKeyKind>;

// A window's device context of GetDC, given back with ReleaseDC, which needs
// the window too. Move-only, like OwnedHandle.
class OwnedWindowDC {
public:
    explicit OwnedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~OwnedWindowDC()
    {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }

    OwnedWindowDC(const OwnedWindowDC&) = delete;
    OwnedWindowDC& operator=(const OwnedWindowDC&) = delete;
    OwnedWindowDC(OwnedWindowDC&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedWindowDC& operator=(OwnedWindowDC&&) = delete;

    explicit operator bool() const { return dc_ != nullptr; }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
