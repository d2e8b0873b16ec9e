#pragma once
// A window's record: one heap object per window, reached through the pointer
// in the window's extra bytes at offset 0 (the class reserves
// WINDOW_RECORD_BYTES). Both windows of the program keep theirs this way:
// - creation: make_window_record in WM_CREATE; the creating handler owns it
//   until creation succeeds, so a refused creation frees it on return;
// - hand-off: store_window_record puts it in the slot at once, so messages
//   sent while creating (a child's creation, a message box) find it, and
//   hand_off_window_record gives the slot ownership once creation succeeded
//   (clear_window_record empties it when creation was refused);
// - lookup: window_record, null before WM_CREATE stored it and after release;
// - release: take_window_record in WM_DESTROY, which reaches a window before
//   its children: from then on the children being destroyed, and any code
//   going on after a modal loop in which the window went, find no record.
// Handlers take the record as a pointer the window procedure has checked once.
#include <windows.h>

#include <memory>
#include <new>

// The extra bytes a window class reserves for its record's pointer, written
// and read as a LONG_PTR.
constexpr int WINDOW_RECORD_BYTES = sizeof(LONG_PTR);

template <typename Record>
std::unique_ptr<Record> make_window_record()
{
    return std::unique_ptr<Record>(new (std::nothrow) Record{});
}

template <typename Record>
Record* window_record(HWND window)
{
    return reinterpret_cast<Record*>(GetWindowLongPtrA(window, 0));
}

// Makes the record findable through the window; `owner` still owns it.
template <typename Record>
void store_window_record(HWND window, const std::unique_ptr<Record>& owner)
{
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(owner.get()));
}

// Creation was refused: the slot is emptied, and `owner` frees the record.
inline void clear_window_record(HWND window)
{
    SetWindowLongPtrA(window, 0, 0);
}

// Creation succeeded: the window's slot owns the record until WM_DESTROY.
template <typename Record>
void hand_off_window_record(std::unique_ptr<Record> owner)
{
    static_cast<void>(owner.release());
}

// Empties the slot and answers its record (null when none), owned again by
// the caller: it goes when the answer goes out of scope.
template <typename Record>
std::unique_ptr<Record> take_window_record(HWND window)
{
    std::unique_ptr<Record> record(window_record<Record>(window));
    SetWindowLongPtrA(window, 0, 0);
    return record;
}
