#pragma once
// A visible top-level window that parents a real table, records every WM_NOTIFY
// it receives and answers as the test asks; and a fixture holding such a table.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "table/win32/table_window.h"

namespace table_test {

inline LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
}

template <typename Record>
LRESULT send(HWND window, UINT message, Record* record)
{
    return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(record));
}

struct Notice {
    UINT code;
    UINT_PTR id_from;
    HWND hwnd_from;
    LVITEMA item;       // as received (pszText valid only during the call)
    std::string text;   // TBLN_ENDEDIT's text
    int rows_then;      // the table's row count while the parent handled it
};

struct TestParent {
    TestParent()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TableNoticeRecorder";
        RegisterClassA(&wc);  // already registered by an earlier test: fine
        window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 400,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestParent() { DestroyWindow(window); }

    HWND create_table(int id = 1) const
    {
        register_table_class();
        return CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                               0, 0, 600, 300, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    void clear() { notices.clear(), codes.clear(); }

    HWND window = nullptr;
    std::vector<Notice> notices;
    std::vector<UINT> codes;                 // of the notices, in order
    std::set<int> veto_marks;                // rows whose mark change is vetoed
    LPARAM add_to_param = 0;                 // bits added to an allowed mark's word
    LRESULT begin_edit_answer = 0;
    LRESULT end_edit_answer = 1;
    const char* end_edit_rewrite = nullptr;  // written into the offered buffer

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_NOTIFY || !self)
            return DefWindowProcA(window, message, wparam, lparam);
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lparam);
        const UINT code = info->hdr.code;
        self->codes.push_back(code);
        const bool has_item = code == TBLN_BEGINEDIT || code == TBLN_ENDEDIT || code == TBLN_MARKCHANGING;
        self->notices.push_back({code, info->hdr.idFrom, info->hdr.hwndFrom, has_item ? info->item : LVITEMA{},
                                 code == TBLN_ENDEDIT ? info->item.pszText : "",
                                 static_cast<int>(send(info->hdr.hwndFrom, TBLM_GETITEMCOUNT))});
        if (code == TBLN_MARKCHANGING && self->veto_marks.count(info->item.iItem))
            return 1;
        if (code == TBLN_MARKCHANGING)
            info->item.lParam |= self->add_to_param;
        if (code == TBLN_ENDEDIT && self->end_edit_rewrite)
            lstrcpynA(info->item.pszText, self->end_edit_rewrite, info->item.cchTextMax);
        return code == TBLN_BEGINEDIT ? self->begin_edit_answer : code == TBLN_ENDEDIT ? self->end_edit_answer : 0;
    }
};

inline LVITEMA text_item(int row, int column, const char* text)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    return item;
}

// A cell's text (and column 0's parameter) through TBLM_GETITEM, into a buffer
// that holds "kept" beforehand; `read` gets the message's result.
inline std::string cell_text(HWND table, int row, int column, LPARAM* param = nullptr, LRESULT* read = nullptr)
{
    char text[CELL_TEXT_SIZE] = "kept";
    LVITEMA item = text_item(row, column, text);
    item.mask |= column == 0 ? LVIF_PARAM : 0;
    item.cchTextMax = CELL_TEXT_SIZE;
    const LRESULT result = send(table, TBLM_GETITEM, &item);
    if (param)
        *param = item.lParam;
    if (read)
        *read = result;
    return text;
}

inline LPARAM row_param(HWND table, int row)
{
    LPARAM param = 0;
    return cell_text(table, row, 0, &param), param;
}

// A table with id 7, columns 50, 60, 70, 40, 80, 90 wide and rows "r0" .. "r4"
// whose other cells read "rR cC"; the parent's notices start empty.
class FilledTable : public testing::Test {
protected:
    void SetUp() override
    {
        table = parent.create_table(7);
        ASSERT_NE(table, nullptr);
        static constexpr int widths[] = {50, 60, 70, 40, 80, 90};
        for (int c = 0; c < 6; ++c) {
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = widths[c];
            send(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
        }
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 6; ++c) {
                char text[16];
                std::snprintf(text, sizeof text, c == 0 ? "r%d" : "r%d c%d", r, c);
                const LVITEMA item = text_item(r, c, text);
                send(table, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, &item);
            }
        }
        state = table_state_of(table);
        list_view = GetDlgItem(table, IDC_TABLE_LIST);
        editor = GetDlgItem(table, IDC_TABLE_EDIT);
        parent.clear();
    }
    std::vector<std::string> column0() const
    {
        std::vector<std::string> out;
        for (int r = 0; r < send(table, TBLM_GETITEMCOUNT); ++r)
            out.push_back(cell_text(table, r, 0));
        return out;
    }

    TestParent parent;
    HWND table = nullptr, list_view = nullptr, editor = nullptr;
    TableState* state = nullptr;
};

}  // namespace table_test
