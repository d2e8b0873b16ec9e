#include "support/win32/table_fixture.h"

#include <commctrl.h>

#include "table/table_messages.h"
#include "table/win32/table_window.h"

namespace {

LVITEMA text_item(int row, int column, char* text, int size = 0)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = size;
    return item;
}

}  // namespace

TableFixture::TableFixture()
{
    static const ATOM parent_class = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TaveCronTestTableParent";
        return RegisterClassA(&wc);
    }();
    if (parent_class == 0 || register_table_class() == 0) return;
    parent_ = CreateWindowExA(0, "TaveCronTestTableParent", "table test", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    table_ = CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                             580, 380, parent_, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; table_ != nullptr && c < 6; ++c) {
        char title[] = "column";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 80;
        column.pszText = title;
        SendMessageA(table_, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
}

TableFixture::~TableFixture() { DestroyWindow(parent_); }

int TableFixture::row_count() const { return static_cast<int>(SendMessageA(table_, TBLM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> TableFixture::row(int row) const
{
    std::vector<std::string> cells;
    for (int c = 0; c < 6; ++c) {
        char text[CELL_TEXT_SIZE] = "";
        LVITEMA item = text_item(row, c, text, CELL_TEXT_SIZE);
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
        LVITEMA item = text_item(index, c, text.data());
        SendMessageA(table_, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

TempFolder::TempFolder()
{
    static int serial = 0;
    char base[MAX_PATH] = "", name[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    wsprintfA(name, "%stavecron-test-%lu-%d", base, GetCurrentProcessId(), ++serial);
    CreateDirectoryA(name, nullptr);
    folder_ = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path("*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path(found.cFileName).c_str());
        else if (found.cFileName[0] != '.') RemoveDirectoryA(path(found.cFileName).c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(folder_.c_str());
}

void TempFolder::write(const std::string& name, const std::string& bytes) const
{
    HANDLE file = CreateFileA(path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string TempFolder::read(const std::string& name) const
{
    std::string bytes;
    HANDLE file = CreateFileA(path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    char chunk[4096];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return bytes;
}
