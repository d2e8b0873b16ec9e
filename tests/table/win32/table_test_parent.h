#pragma once
// A visible top-level window that parents a real table, records every
// WM_NOTIFY it receives and answers as the test asks.

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "table/win32/table_window.h"

namespace table_test {

inline LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
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
        window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                                 400, nullptr, nullptr, wc.hInstance, nullptr);
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
    std::vector<UINT> codes() const
    {
        std::vector<UINT> out;
        for (const auto& n : notices)
            out.push_back(n.code);
        return out;
    }

    HWND window = nullptr;
    std::vector<Notice> notices;
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
        const bool has_item = code == TBLN_BEGINEDIT || code == TBLN_ENDEDIT || code == TBLN_MARKCHANGING;
        self->notices.push_back({code, info->hdr.idFrom, info->hdr.hwndFrom, has_item ? info->item : LVITEMA{},
                                 code == TBLN_ENDEDIT ? info->item.pszText : "",
                                 static_cast<int>(send(info->hdr.hwndFrom, TBLM_GETITEMCOUNT))});
        if (code == TBLN_MARKCHANGING) {
            if (self->veto_marks.count(info->item.iItem))
                return 1;
            info->item.lParam |= self->add_to_param;
        } else if (code == TBLN_BEGINEDIT) {
            return self->begin_edit_answer;
        } else if (code == TBLN_ENDEDIT) {
            if (self->end_edit_rewrite)
                lstrcpynA(info->item.pszText, self->end_edit_rewrite, info->item.cchTextMax);
            return self->end_edit_answer;
        }
        return 0;
    }
};

// Columns of the given widths; rows "r0", "r1", ... with cells "rR cC".
inline void fill_table(HWND table, const std::vector<int>& widths, int rows)
{
    for (size_t c = 0; c < widths.size(); ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = widths[c];
        send(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
            char text[32];
            wsprintfA(text, c == 0 ? "r%d" : "r%d c%d", r, c);
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = text;
            send(table, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
}

// Reads a cell's text and parameter through TBLM_GETITEM; `read` gets its result.
inline std::string cell_text(HWND table, int row, int column, LPARAM* param = nullptr, LRESULT* read = nullptr)
{
    char text[CELL_TEXT_SIZE] = "kept";
    LVITEMA item{};
    item.mask = column == 0 ? LVIF_TEXT | LVIF_PARAM : LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = CELL_TEXT_SIZE;
    const LRESULT result = send(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    if (param)
        *param = item.lParam;
    if (read)
        *read = result;
    return text;
}

inline LPARAM row_param(HWND table, int row)
{
    LPARAM param = 0;
    cell_text(table, row, 0, &param);
    return param;
}

}  // namespace table_test
