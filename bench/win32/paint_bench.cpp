// Paints a real, shown table of 10,000 rows with every third row marked and
// the current row on the page: one full repaint of the visible page, and one
// scroll bar page-down with its repaint. Each is timed with the table's paint
// passes and again with the list view's own procedure put back (the list view
// painting alone, every row plain), and the ratio is printed.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "schedule/cron_entry.h"
#include "table/table_messages.h"
#include "table/win32/table_state.h"
#include "table/win32/table_window.h"

#include "bench_clock.h"

namespace {

constexpr int ROWS = 10000;
constexpr int REPAINTS = 100;
constexpr int PAGE_DOWNS = 100;
constexpr int ROUNDS = 6;

HWND create_table(HWND* parent_out)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;  // answers 0 to every mark notification: allowed
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PaintBenchParent";
    RegisterClassA(&wc);
    register_table_class();
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    HWND table = CreateWindowExA(0, WC_TAVETABLE, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 620, 440, parent,
                                 reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
    *parent_out = parent;
    if (!table) return nullptr;
    static constexpr int widths[COLUMN_COUNT] = {40, 40, 40, 40, 100, 100};
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        char title[] = "column";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = widths[c];
        column.pszText = title;
        SendMessageA(table, TBLM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(table, WM_SETREDRAW, FALSE, 0);
    char text[64];
    for (int r = 0; r < ROWS; ++r) {
        for (int c = 0; c < COLUMN_COUNT; ++c) {
            wsprintfA(text, c == COL_OPTION ? "option text of row %d" : "%d", r % (c + 7));
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.iSubItem = c;
            item.pszText = text;
            SendMessageA(table, c == 0 ? TBLM_INSERTITEM : TBLM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
        if (r % 3 == 0) SendMessageA(table, TBLM_SETMARK, r, 1);
    }
    SendMessageA(table, WM_SETREDRAW, TRUE, 0);
    SendMessageA(table, WM_SIZE, 0, MAKELPARAM(620, 440));
    return table;
}

struct Times {
    double repaint_ms;
    double page_down_ms;
};

// Mean times of one round, from the top of the table with row 4 current.
Times measure(HWND table, HWND list_view)
{
    SendMessageA(table, TBLM_SETCURSEL, 4, 0);
    SendMessageA(list_view, LVM_ENSUREVISIBLE, 0, FALSE);
    UpdateWindow(list_view);
    Times times{};
    double start = now_ms();
    for (int i = 0; i < REPAINTS; ++i) {
        InvalidateRect(list_view, nullptr, TRUE);
        UpdateWindow(list_view);
    }
    times.repaint_ms = (now_ms() - start) / REPAINTS;
    start = now_ms();
    for (int i = 0; i < PAGE_DOWNS; ++i) {
        SendMessageA(list_view, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(list_view);
    }
    times.page_down_ms = (now_ms() - start) / PAGE_DOWNS;
    return times;
}

}  // namespace

int main()
{
    HWND parent = nullptr;
    HWND table = create_table(&parent);
    if (!table) {
        std::printf("cannot create the table\n");
        return 1;
    }
    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    auto* link = reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(list_view, GWLP_USERDATA));
    const LONG_PTR table_proc = GetWindowLongPtrA(list_view, GWLP_WNDPROC);
    const int per_page = static_cast<int>(SendMessageA(list_view, LVM_GETCOUNTPERPAGE, 0, 0));

    // Rounds alternate between the two, so that other load on the machine
    // falls on both; the best round of each counts. The first is a warm-up.
    Times table_times{1e9, 1e9}, plain_times{1e9, 1e9};
    for (int round = 0; round < ROUNDS; ++round) {
        const Times with_table = measure(table, list_view);
        SetWindowLongPtrA(list_view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous_proc));
        const Times alone = measure(table, list_view);
        SetWindowLongPtrA(list_view, GWLP_WNDPROC, table_proc);
        if (round == 0) continue;
        table_times = {std::min(table_times.repaint_ms, with_table.repaint_ms),
                       std::min(table_times.page_down_ms, with_table.page_down_ms)};
        plain_times = {std::min(plain_times.repaint_ms, alone.repaint_ms),
                       std::min(plain_times.page_down_ms, alone.page_down_ms)};
    }

    std::printf("[%s] %d rows, every third marked, %d rows per page\n", BENCH_BUILD, ROWS, per_page);
    std::printf("[%s] full repaint of the page: table %.3f ms, list view alone %.3f ms, ratio %.2f"
                " (best of %d rounds of %d)\n",
                BENCH_BUILD, table_times.repaint_ms, plain_times.repaint_ms,
                table_times.repaint_ms / plain_times.repaint_ms, ROUNDS - 1, REPAINTS);
    std::printf("[%s] page-down and repaint:    table %.3f ms, list view alone %.3f ms, ratio %.2f"
                " (best of %d rounds of %d)\n",
                BENCH_BUILD, table_times.page_down_ms, plain_times.page_down_ms,
                table_times.page_down_ms / plain_times.page_down_ms, ROUNDS - 1, PAGE_DOWNS);
    DestroyWindow(parent);
    return 0;
}
