#pragma once
// A visible top-level window that parents one real table and records every
// WM_NOTIFY it receives, answering as the test asks (vetoes, refusals).

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "table/win32/table_window.h"

namespace table_test {

struct Notice {
    UINT code;
    UINT_PTR id_from;
    HWND hwnd_from;
    UINT mask;
    int item;
    int sub_item;
    LPARAM param;
    std::string text;   // TBLN_ENDEDIT only
    int rows_then;      // the table's row count while the parent handled it
};

class TestParent {
public:
    TestParent()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TableNoticeRecorder";
        RegisterClassA(&wc);  // fails harmlessly when already registered
        window = CreateWindowExA(0, "TableNoticeRecorder", "table", WS_OVERLAPPEDWINDOW, 0, 0, 700,
                                 400, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window, SW_SHOW);
    }
    ~TestParent() { DestroyWindow(window); }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND create_table(int id = 1)
    {
        register_table_class();
        return CreateWindowExA(0, WC_TAVETABLE, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 600,
                               300, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
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
    std::set<int> veto_marks;       // rows whose TBLN_MARKCHANGING is vetoed
    LPARAM add_to_param = 0;        // bits the parent adds to a mark's word
    LRESULT begin_edit_answer = 0;
    LRESULT end_edit_answer = 1;
    const char* end_edit_rewrite = nullptr;  // text written into the buffer

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_NOTIFY || !self)
            return DefWindowProcA(window, message, wparam, lparam);
        auto* hdr = reinterpret_cast<NMHDR*>(lparam);
        Notice n{hdr->code, hdr->idFrom, hdr->hwndFrom, 0, -1, -1, 0, {},
                 static_cast<int>(SendMessageA(hdr->hwndFrom, TBLM_GETITEMCOUNT, 0, 0))};
        if (hdr->code == TBLN_BEGINEDIT || hdr->code == TBLN_ENDEDIT || hdr->code == TBLN_MARKCHANGING) {
            auto& item = reinterpret_cast<NMLVDISPINFOA*>(lparam)->item;
            n.mask = item.mask;
            n.item = item.iItem;
            n.sub_item = item.iSubItem;
            n.param = item.lParam;
            if (hdr->code == TBLN_ENDEDIT)
                n.text = item.pszText;
        }
        self->notices.push_back(n);
        auto& item = reinterpret_cast<NMLVDISPINFOA*>(lparam)->item;
        switch (hdr->code) {
        case TBLN_MARKCHANGING:
            if (self->veto_marks.count(item.iItem))
                return 1;
            item.lParam |= self->add_to_param;
            return 0;
        case TBLN_BEGINEDIT:
            return self->begin_edit_answer;
        case TBLN_ENDEDIT:
            if (self->end_edit_rewrite)
                lstrcpynA(item.pszText, self->end_edit_rewrite, item.cchTextMax);
            return self->end_edit_answer;
        default:
            return 0;
        }
    }
};

// Fills a table: `columns` columns of the given widths, rows "r0", "r1", ...
// with cells "rR cC".
inline void fill_table(HWND table, const std::vector<int>& widths, int rows)
{
    for (size_t c = 0; c < widths.size(); ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = widths[c];
        column.pszText = const_cast<char*>("c");
        SendMessageA(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int r = 0; r < rows; ++r) {
        for (size_t c = 0; c < widths.size(); ++c) {
            char text[32];
            wsprintfA(text, c == 0 ? "r%d" : "r%d c%d", r, static_cast<int>(c));
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = static_cast<int>(c);
            item.pszText = text;
            SendMessageA(table, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, 0,
                         reinterpret_cast<LPARAM>(&item));
        }
    }
}

inline std::string cell_text(HWND table, int row, int column)
{
    char text[CELL_TEXT_SIZE] = "";
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = CELL_TEXT_SIZE;
    SendMessageA(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

inline LPARAM row_param(HWND table, int row)
{
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(table, TBLM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

inline LRESULT send(HWND table, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(table, message, wparam, lparam);
}

}  // namespace table_test
