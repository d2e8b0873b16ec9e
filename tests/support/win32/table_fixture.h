#pragma once
// Wine test helpers around a real table: a parent window that records every WM_NOTIFY and answers as the test asks,
// and fixtures holding such a parent with a six-column table.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "table/win32/table_calls.h"
#include "table/win32/table_state.h"
#include "table/win32/table_window.h"

namespace table_test {

// Dispatches this thread's messages, each shown to `see` first, until `done` holds, for at most `timeout_ms`;
// whether it came to hold.
inline bool pump_until(
    const std::function<bool()>& done, DWORD timeout_ms = 5000,
    const std::function<void(const MSG&)>& see = [](const MSG&) {})
{
    for (const DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            see(msg), TranslateMessage(&msg), DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
    }
}

inline LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window, message, wparam, lparam);
}

template <typename Record>
LRESULT send(HWND window, UINT message, Record* record)
{
    return SendMessageA(window, message, 0, reinterpret_cast<LPARAM>(record));
}

// A cell's text, or "kept" when the table refuses the read and leaves the buffer as it was; `read` gets the result.
inline std::string cell_text(HWND table, int row, int column, LRESULT* read = nullptr)
{
    char text[CELL_TEXT_SIZE] = "kept";
    const int result = table_get_cell(table, row, column, text, sizeof text);
    if (read) *read = result;
    return text;
}

struct Notice {
    UINT code;
    LVITEMA item;      // as received (pszText valid only during the call)
    std::string text;  // TBLN_ENDEDIT's text
    int rows_then;     // the table's row count while the parent handled it
};

struct TestParent {
    explicit TestParent(bool shown = true)
    {
        WNDCLASSA wc{0, record_notice, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, "TableNoticeRecorder"};
        RegisterClassA(&wc);  // already registered by an earlier test: fine
        window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0), 0, 0, 700,
                                 400, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestParent() { DestroyWindow(window); }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND create_table(int id = 1) const  // null when the table refuses creation
    {
        register_table_class();
        return CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                               600, 300, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    std::vector<UINT> codes() const  // of the notices, in order
    {
        std::vector<UINT> out;
        for (const Notice& n : notices) out.push_back(n.code);
        return out;
    }

    static LRESULT CALLBACK record_notice(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
    {
        auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != WM_NOTIFY || !self) return DefWindowProcA(window, message, wparam, lparam);
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lparam);
        const UINT code = info->hdr.code;
        const bool has_item = code == TBLN_BEGINEDIT || code == TBLN_ENDEDIT || code == TBLN_MARKCHANGING;
        self->notices.push_back({code, has_item ? info->item : LVITEMA{},
                                 code == TBLN_ENDEDIT ? info->item.pszText : "", table_row_count(info->hdr.hwndFrom)});
        if (code == TBLN_MARKCHANGING) {
            return self->veto_marks.count(info->item.iItem) ? 1 : (info->item.lParam |= self->add_to_param, 0);
        }
        if (code == TBLN_BEGINEDIT && self->on_begin_edit) self->on_begin_edit();
        const std::string& rewrite = self->end_edit_rewrite;
        if (code == TBLN_ENDEDIT && !rewrite.empty()) {
            std::memcpy(info->item.pszText, rewrite.c_str(),
                        std::min<size_t>(rewrite.size() + 1, info->item.cchTextMax));
        }
        return code == TBLN_BEGINEDIT ? self->begin_edit_answer : code == TBLN_ENDEDIT ? self->end_edit_answer : 0;
    }

    HWND window = nullptr;
    std::vector<Notice> notices;
    std::set<int> veto_marks;  // rows whose mark change is vetoed
    LPARAM add_to_param = 0;   // bits added to an allowed mark's word
    LRESULT begin_edit_answer = 0;
    LRESULT end_edit_answer = 1;
    // Written into the offered buffer, with its terminator where that fits.
    std::string end_edit_rewrite;
    std::function<void()> on_begin_edit;  // run while the parent handles TBLN_BEGINEDIT
};

}  // namespace table_test

// A TestParent with a table of id 7 whose six columns are 50, 60, 70, 40, 80 and 90 pixels wide.
class TableFixture : public testing::Test {
protected:
    explicit TableFixture(bool shown = true) : parent(shown)
    {
        static constexpr int widths[] = {50, 60, 70, 40, 80, 90};
        for (int c = 0; c < 6; ++c) {
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = widths[c];
            table_test::send(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
        }
    }
    void SetUp() override { ASSERT_NE(table, nullptr); }

    std::vector<std::string> row(int row) const  // its six cells
    {
        std::vector<std::string> cells;
        for (int c = 0; c < 6; ++c) cells.push_back(table_test::cell_text(table, row, c));
        return cells;
    }
    std::vector<std::string> column(int column) const  // its cell in every row
    {
        std::vector<std::string> cells;
        for (int r = 0; r < table_row_count(table); ++r) cells.push_back(table_test::cell_text(table, r, column));
        return cells;
    }
    void append(const std::vector<std::string>& cells)  // missing cells are empty
    {
        const int row = table_row_count(table);
        for (int c = 0; c < 6; ++c) {
            const char* text = c < std::ssize(cells) ? cells[c].c_str() : "";
            c == 0 ? table_insert_item(table, row, text) : table_set_cell(table, row, c, text);
        }
    }

    table_test::TestParent parent;
    HWND table = parent.create_table(7);
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST), editor = GetDlgItem(table, IDC_TABLE_EDIT);
    TableState* state = table_state_of(table);
};

// The same in a parent never shown: it takes no foreground and covers no
// window, so such tests may run beside those that need the display (ctest -j).
class HiddenTableFixture : public TableFixture {
protected:
    HiddenTableFixture() : TableFixture(false) {}
};

// The first with rows "r0" .. "r4" whose other cells read "rR cC"; the parent's notices start empty.
class FilledTable : public TableFixture {
protected:
    void SetUp() override
    {
        TableFixture::SetUp();
        for (char r = '0'; r < '5'; ++r) {
            const std::string name{'r', r};
            append({name, name + " c1", name + " c2", name + " c3", name + " c4", name + " c5"});
        }
        parent.notices.clear();
    }
};
