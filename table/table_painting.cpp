#include "table/table_painting.h"

#include <algorithm>

RowScheme row_scheme(bool current, bool marked)
{
    if (current) return marked ? RowScheme::CURRENT_MARKED : RowScheme::CURRENT;
    return marked ? RowScheme::MARKED : RowScheme::PLAIN;
}

bool table_intersect(const TableRect& a, const TableRect& b, TableRect* out)
{
    const TableRect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                            std::min(a.bottom, b.bottom)};
    if (overlap.left >= overlap.right || overlap.top >= overlap.bottom) return false;
    *out = overlap;
    return true;
}

namespace {

void paint_in(TablePainter& painter, const SchemeColors& colors)
{
    // Background first: the view takes both for its next painting.
    painter.set_text_back_color(colors.back);
    painter.set_text_color(colors.text);
    painter.paint_invalid();
}

}  // namespace

void table_paint(const TableModel& model, RowStore& rows, TableView& view, TablePainter& painter,
                 const TablePalette& palette)
{
    const TableRect update = painter.update_rect();
    int first = table_hit_test(model, rows, view, TablePoint{update.left, update.top}, nullptr);
    if (first < 0) first = view.first_visible_row();
    int last = table_hit_test(model, rows, view, TablePoint{update.left, update.bottom}, nullptr);
    if (last < 0) last = rows.row_count() - 1;
    if (last < 0) {
        painter.paint_invalid();
        return;
    }
    const int current = model.current_row;
    TableRect strip{};

    // Plain rows: everything else is taken out of the region first.
    if (table_row_strip(rows, view, current, &strip)) painter.validate(strip);
    for (int r = first; r <= last; ++r) {
        if (painter.row_marked(r) && table_row_strip(rows, view, r, &strip)) painter.validate(strip);
    }
    paint_in(painter, palette.of(RowScheme::PLAIN));

    // Marked rows other than the current one, where they meet the update rectangle.
    for (int r = first; r <= last; ++r) {
        TableRect part{};
        if (r != current && painter.row_marked(r) && table_row_strip(rows, view, r, &strip) &&
            table_intersect(strip, update, &part)) {
            painter.invalidate(part);
        }
    }
    paint_in(painter, palette.of(RowScheme::MARKED));

    // The current row, then its frame around the whole strip.
    TableRect part{};
    if (!table_row_strip(rows, view, current, &strip) || !table_intersect(strip, update, &part)) return;
    painter.invalidate(part);
    paint_in(painter, palette.of(row_scheme(true, painter.row_marked(current) != 0)));
    if (palette.draw_edge) painter.draw_edge(strip);
}
