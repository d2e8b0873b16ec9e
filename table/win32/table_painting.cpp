#include "table/win32/table_painting.h"

#include "base/win32/owned_handle.h"
#include "table/table_painting.h"
#include "table/win32/list_view_store.h"

namespace {

RECT to_rect(const TableRect& r)
{
    return RECT{r.left, r.top, r.right, r.bottom};
}

// The paint passes over the real list view: its update region, its own
// WM_PAINT handling through the procedure the table replaced, and marks
// asked of the table window with TBLM_GETMARK.
class ListViewPainter final : public TablePainter {
public:
    ListViewPainter(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam)
        : state_(state), list_(state->list_view), previous_(previous), wparam_(wparam), lparam_(lparam)
    {
    }

    TableRect update_rect() override
    {
        RECT r{};
        GetUpdateRect(list_, &r, FALSE);
        return TableRect{r.left, r.top, r.right, r.bottom};
    }
    int row_marked(int row) override
    {
        return SendMessageA(state_->window, TBLM_GETMARK, static_cast<WPARAM>(row), 0) != 0 ? 1 : 0;
    }
    void validate(const TableRect& rect) override
    {
        const RECT r = to_rect(rect);
        ValidateRect(list_, &r);
    }
    void invalidate(const TableRect& rect) override
    {
        const RECT r = to_rect(rect);
        InvalidateRect(list_, &r, FALSE);
    }
    void set_text_back_color(unsigned color) override
    {
        SendMessageA(list_, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
    }
    void set_text_color(unsigned color) override
    {
        SendMessageA(list_, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color));
    }
    // The list view begins and ends its own paint cycle: it paints what is
    // invalid at this moment and validates it.
    void paint_invalid() override { CallWindowProcA(previous_, list_, WM_PAINT, wparam_, lparam_); }
    // Outside the paint cycle, so the frame is not clipped to the update region.
    // The list view's DC also covers its header child: a current row just
    // scrolled above the first visible row lies under the header, and its
    // frame would be drawn over the column titles, which nothing repaints.
    void draw_edge(const TableRect& rect) override
    {
        const OwnedWindowDC dc(list_);
        if (!dc) return;
        HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
        RECT covered{};
        if (header && IsWindowVisible(header) && GetWindowRect(header, &covered)) {
            MapWindowPoints(nullptr, list_, reinterpret_cast<POINT*>(&covered), 2);
            ExcludeClipRect(dc.get(), covered.left, covered.top, covered.right, covered.bottom);
        }
        RECT r = to_rect(rect);
        DrawEdge(dc.get(), &r, state_->edge_type, state_->edge_flags);
    }

private:
    TableState* state_;
    HWND list_;
    WNDPROC previous_;
    WPARAM wparam_;
    LPARAM lparam_;
};

TablePalette palette_of(const TableState* s)
{
    TablePalette palette{};
    palette.schemes[static_cast<int>(RowScheme::PLAIN)] = {s->plain_text_color, s->plain_back_color};
    palette.schemes[static_cast<int>(RowScheme::MARKED)] = {s->marked_text_color, s->marked_back_color};
    palette.schemes[static_cast<int>(RowScheme::CURRENT)] = {s->current_text_color, s->current_back_color};
    palette.schemes[static_cast<int>(RowScheme::CURRENT_MARKED)] = {s->current_marked_text_color,
                                                                    s->current_marked_back_color};
    palette.draw_edge = s->draw_edge;
    return palette;
}

}  // namespace

LRESULT on_list_paint(TableState* state, WNDPROC previous, WPARAM wparam, LPARAM lparam)
{
    ListViewRows rows(state->list_view);
    ListViewPainter painter(state, previous, wparam, lparam);
    table_paint(*state, rows, rows, painter, palette_of(state));
    return 0;
}
