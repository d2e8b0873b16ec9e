#include "support/win32/table_fixture.h"

#include <commctrl.h>

#include "table/table_messages.h"
#include "table/win32/table_window.h"

namespace {

constexpr char PARENT_CLASS[] = "TaveCronTestTableParent";
constexpr char RECORDER_PROP[] = "TaveCronTestRecorder";

bool register_parent_class()
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = PARENT_CLASS;
        atom = RegisterClassA(&wc);
    }
    return atom != 0;
}

}  // namespace

TableFixture::TableFixture()
{
    if (!register_parent_class() || register_table_class() == 0) return;
    parent_ = CreateWindowExA(0, PARENT_CLASS, "table test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (parent_ == nullptr) return;
    table_ = CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             0, 0, 580, 380, parent_, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr),
                             nullptr);
    if (table_ == nullptr) return;
    for (int c = 0; c < 6; ++c) {
        char title[] = "column";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = title;
        SendMessageA(table_, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
}

TableFixture::~TableFixture()
{
    if (table_ != nullptr && previous_proc_ != nullptr) {
        SetWindowLongPtrA(table_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
        RemovePropA(table_, RECORDER_PROP);
    }
    if (parent_ != nullptr) DestroyWindow(parent_);
}

int TableFixture::row_count() const
{
    return static_cast<int>(SendMessageA(table_, TBLM_GETITEMCOUNT, 0, 0));
}

std::vector<std::string> TableFixture::row(int row) const
{
    std::vector<std::string> cells;
    for (int c = 0; c < 6; ++c) {
        char text[CELL_TEXT_SIZE] = "";
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = c;
        item.pszText = text;
        item.cchTextMax = CELL_TEXT_SIZE;
        SendMessageA(table_, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
        cells.push_back(item.pszText != nullptr ? item.pszText : "");
    }
    return cells;
}

void TableFixture::append(const std::vector<std::string>& cells)
{
    const int index = row_count();
    for (int c = 0; c < 6; ++c) {
        std::string text = c < static_cast<int>(cells.size()) ? cells[c] : "";
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.iSubItem = c;
        item.pszText = text.data();
        SendMessageA(table_, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void TableFixture::start_recording()
{
    if (previous_proc_ != nullptr) return;
    SetPropA(table_, RECORDER_PROP, this);
    previous_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(table_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording_proc)));
}

LRESULT CALLBACK TableFixture::recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* self = static_cast<TableFixture*>(GetPropA(window, RECORDER_PROP));
    switch (message) {
    case TBLM_GETITEMCOUNT:
        self->calls_.push_back({message, -1, -1});
        break;
    case TBLM_GETITEM:
    case TBLM_SETITEM:
    case TBLM_INSERTITEM: {
        const auto* item = reinterpret_cast<const LVITEMA*>(lparam);
        self->calls_.push_back({message, item->iItem, item->iSubItem});
        break;
    }
    default:
        break;
    }
    return CallWindowProcA(self->previous_proc_, window, message, wparam, lparam);
}

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    char name[MAX_PATH];
    wsprintfA(name, "%stavecron-test-%lu-%d", base, GetCurrentProcessId(), ++serial);
    CreateDirectoryA(name, nullptr);
    folder_ = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string entry = path(found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (found.cFileName[0] != '.') RemoveDirectoryA(entry.c_str());
            } else {
                DeleteFileA(entry.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder_.c_str());
}

void TempFolder::write(const std::string& name, const std::string& bytes) const
{
    HANDLE file = CreateFileA(path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string TempFolder::read(const std::string& name) const
{
    std::string bytes;
    HANDLE file = CreateFileA(path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool TempFolder::exists(const std::string& name) const
{
    return GetFileAttributesA(path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}
