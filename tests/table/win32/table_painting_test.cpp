// The colours and the frame as the list view shows them, read back by pixel
// from the list view's own device context after its WM_PAINT has run (the
// passes run in the subclass, so PrintWindow would not show them).
#include <gtest/gtest.h>

#include "support/win32/table_fixture.h"

namespace {

using namespace table_test;

constexpr COLORREF WHITE = 0xFFFFFF, CYAN = 0xFFFF00, YELLOW = 0x00FFFF, GREEN = 0x00FF00, BLACK = 0;

// The last column fills the width, as the table's WM_SIZE leaves it in the
// program: a repaint without erasing paints only cells.
class TablePaint : public FilledTable {
protected:
    void SetUp() override
    {
        FilledTable::SetUp();
        send(table, WM_SIZE, 0, MAKELPARAM(600, 300));
    }
    RECT strip(int row) const
    {
        RECT r{};
        EXPECT_TRUE(table_row_strip(state, row, &r)) << row;
        return r;
    }
    COLORREF pixel(int x, int y) const
    {
        HDC dc = GetDC(list_view);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(list_view, dc);
        return color;
    }
    // Right of the last cell's text, away from the frame.
    COLORREF back(int row) const
    {
        const RECT r = strip(row);
        return pixel(r.right - 8, (r.top + r.bottom) / 2);
    }
    // The sunken frame: shadow on the left edge, highlight on the right edge.
    bool framed(int row) const
    {
        const RECT r = strip(row);
        const int y = (r.top + r.bottom) / 2;
        return pixel(r.left, y) == GetSysColor(COLOR_BTNSHADOW) &&
               pixel(r.right - 1, y) == GetSysColor(COLOR_BTNHIGHLIGHT);
    }
    bool has_black_text(int row) const
    {
        const RECT r = strip(row);
        HDC dc = GetDC(list_view);
        bool found = false;
        for (int y = r.top + 2; y < r.bottom - 2 && !found; ++y)
            for (int x = r.left + 2; x < r.left + 40 && !found; ++x)
                found = GetPixel(dc, x, y) == BLACK;
        ReleaseDC(list_view, dc);
        return found;
    }
    void repaint_all() const
    {
        InvalidateRect(list_view, nullptr, TRUE);
        UpdateWindow(list_view);
    }
    void mark(int row) const { send(table, TBLM_SETMARK, row, 1); }
    void expect_rows(const std::vector<COLORREF>& colors, int framed_row) const
    {
        for (int r = 0; r < static_cast<int>(colors.size()); ++r) {
            EXPECT_EQ(back(r), colors[r]) << "row " << r;
            EXPECT_EQ(framed(r), r == framed_row) << "row " << r;
        }
    }
};

TEST_F(TablePaint, rows_show_plain_marked_current_and_current_marked_schemes_with_black_text)
{
    mark(1);
    send(table, TBLM_SETCURSEL, 2);
    repaint_all();
    expect_rows({WHITE, CYAN, YELLOW, WHITE, WHITE}, 2);
    for (int r = 0; r < 4; ++r)
        EXPECT_TRUE(has_black_text(r)) << r;

    mark(2);
    repaint_all();
    expect_rows({WHITE, CYAN, GREEN, WHITE}, 2);
}

TEST_F(TablePaint, moving_the_current_row_repaints_the_old_row_in_its_own_scheme_at_once)
{
    for (const bool marked : {false, true}) {
        send(table, TBLM_SETCURSEL, 2);
        send(table, TBLM_SETMARK, 2, marked);
        repaint_all();
        send(table, TBLM_SETCURSEL, 3);  // repaints by itself
        expect_rows({WHITE, WHITE, marked ? CYAN : WHITE, YELLOW, WHITE}, 3);
        send(table, TBLM_SETCURSEL, 0);
    }
}

TEST_F(TablePaint, marks_written_by_messages_show_at_the_next_update_without_a_full_repaint)
{
    repaint_all();
    mark(3);
    UpdateWindow(list_view);
    expect_rows({YELLOW, WHITE, WHITE, CYAN, WHITE}, 0);
    send(table, TBLM_SETALLMARKS, 0, 1);
    UpdateWindow(list_view);
    expect_rows({GREEN, CYAN, CYAN, CYAN, CYAN}, 0);
    send(table, TBLM_INVERTMARKS);
    UpdateWindow(list_view);
    expect_rows({YELLOW, WHITE, WHITE, WHITE, WHITE}, 0);
}

TEST_F(TablePaint, an_update_away_from_the_current_row_leaves_its_pixels_and_draws_no_frame)
{
    send(table, TBLM_SETCURSEL, 2);
    repaint_all();
    const RECT current = strip(2);
    const int y = (current.top + current.bottom) / 2;
    constexpr COLORREF MAGENTA = 0xFF00FF;
    HDC dc = GetDC(list_view);
    SetPixel(dc, current.left, y, MAGENTA);
    SetPixel(dc, current.right - 8, y, MAGENTA);
    ReleaseDC(list_view, dc);

    const RECT other = strip(0);
    InvalidateRect(list_view, &other, FALSE);
    UpdateWindow(list_view);
    EXPECT_EQ(pixel(current.left, y), MAGENTA);
    EXPECT_EQ(pixel(current.right - 8, y), MAGENTA);
    EXPECT_EQ(back(0), WHITE);
}

TEST_F(TablePaint, the_frame_of_a_current_row_scrolled_under_the_header_stays_off_the_header)
{
    for (int i = 0; i < 40; ++i)
        append({"more"});
    send(table, TBLM_SETCURSEL, 3);
    send(list_view, LVM_SCROLL, 0, 4 * (strip(0).bottom - strip(0).top));
    ASSERT_EQ(send(list_view, LVM_GETTOPINDEX), 4);
    repaint_all();
    const RECT under = strip(3);
    ASSERT_GE(under.top, 0);
    const auto frame_line = [&] {
        std::vector<COLORREF> pixels;
        for (int x = under.left; x < under.right; x += 5)
            pixels.push_back(pixel(x, under.top));
        return pixels;
    };
    const auto painted = frame_line();
    RedrawWindow(reinterpret_cast<HWND>(send(list_view, LVM_GETHEADER)), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(painted, frame_line());  // as the header draws itself
}

TEST_F(TableFixture, an_empty_table_is_painted_in_the_list_background)
{
    InvalidateRect(list_view, nullptr, TRUE);
    UpdateWindow(list_view);
    HDC dc = GetDC(list_view);
    EXPECT_EQ(GetPixel(dc, 300, 100), WHITE);
    ReleaseDC(list_view, dc);
}

}  // namespace
