// The colours and the frame as the list view shows them, read by pixel from its own device context after its WM_PAINT
// ran (the passes run in the subclass, so PrintWindow would not show them).
#include <algorithm>

#include <gtest/gtest.h>

#include "tests/support/win32/table_fixture.h"

namespace {

using namespace table_test;

// Five rows; the last column fills the width, as the table's WM_SIZE leaves
// it in the program (repaints that do not erase paint cells only).
class TablePaint : public FilledTable {
protected:
    void SetUp() override { FilledTable::SetUp(), send(table, WM_SIZE, 0, MAKELPARAM(600, 300)); }
    RECT strip(int row) const
    {
        RECT r{};
        window_row_strip(state, row, &r);
        return r;
    }
    COLORREF pixel(int x, int y) const
    {
        HDC dc = GetDC(list_view);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(list_view, dc);
        return color;
    }
    // Per row, the colour right of the last cell's text (White, Cyan, Yellow, Green; in lower case when the first
    // cell's text shows no black pixel across its middle), then "#" when the sunken frame's shadow is on its left edge.
    std::string seen() const
    {
        static constexpr COLORREF colours[] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00};
        std::string rows;
        for (int r = 0; r < table_row_count(table); ++r) {
            const RECT s = strip(r);
            const int y = (s.top + s.bottom) / 2;
            int black = 0;
            for (int x = s.left + 2; x < s.left + 30; ++x) black += pixel(x, y) == 0;
            const char scheme = "WCYG?"[std::find(colours, colours + 4, pixel(s.right - 8, y)) - colours];
            rows += black ? scheme : static_cast<char>(scheme - 'A' + 'a');
            rows += pixel(s.left, y) == GetSysColor(COLOR_BTNSHADOW) ? "# " : " ";
        }
        return rows;
    }
    void repaint_all() const { InvalidateRect(list_view, nullptr, TRUE), UpdateWindow(list_view); }
};

TEST_F(TablePaint, rows_show_their_schemes_in_black_text_with_the_current_row_framed_and_follow_each_change)
{
    send(table, TBLM_SETMARK, 1, 1);
    send(table, TBLM_SETCURSEL, 2);
    repaint_all();
    EXPECT_EQ(seen(), "W C Y# W W ");
    send(table, TBLM_SETCURSEL, 3);  // repaints both rows by itself
    EXPECT_EQ(seen(), "W C W Y# W ");
    send(table, TBLM_SETALLMARKS, 0, 1);  // the list view repaints the rows whose word changed
    UpdateWindow(list_view);
    EXPECT_EQ(seen(), "C C C G# C ");
}

TEST_F(TablePaint, the_frame_of_a_current_row_scrolled_under_the_header_stays_off_the_header)
{
    for (int i = 0; i < 40; ++i) append({"more"});
    send(table, TBLM_SETCURSEL, 3);
    send(list_view, LVM_SCROLL, 0, 4 * (strip(0).bottom - strip(0).top));
    ASSERT_EQ(send(list_view, LVM_GETTOPINDEX), 4);
    repaint_all();
    const RECT under = strip(3);
    ASSERT_GE(under.top, 0);
    const auto frame_line = [&] {
        std::vector<COLORREF> pixels;
        for (int x = under.left; x < under.right; x += 5) pixels.push_back(pixel(x, under.top));
        return pixels;
    };
    const auto painted = frame_line();
    RedrawWindow(reinterpret_cast<HWND>(send(list_view, LVM_GETHEADER)), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(painted, frame_line());  // as the header draws itself
}

}  // namespace
