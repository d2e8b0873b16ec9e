#pragma once
// How the table shows its rows: the colour scheme of each row, and the paint
// that gets a row view which paints whole invalid regions (the list view) to
// draw every row in its scheme. The view paints at most three times per paint:
// the plain rows, the marked rows (also when there are none) and the current
// row when it meets the update rectangle, each time with only those rows'
// strips left invalid and the scheme's colours set; the current row is then
// framed.

#include "table/table_model.h"

enum class RowScheme { PLAIN, MARKED, CURRENT, CURRENT_MARKED };

// current-and-marked, current, marked or plain, in that order of precedence.
RowScheme row_scheme(bool current, bool marked);

// Colours are 0x00BBGGRR words, as the window system takes them.
struct SchemeColors {
    unsigned text;
    unsigned back;
};

// Text colours per scheme, indexed by RowScheme; draw_edge nonzero frames the
// current row.
struct TablePalette {
    SchemeColors schemes[4];
    int draw_edge;

    const SchemeColors& of(RowScheme scheme) const { return schemes[static_cast<int>(scheme)]; }
};

// What a paint pass does to the row view beside reading its geometry. The
// view paints what is invalid when asked, and nothing else; its text colours
// hold for its next painting.
struct TablePainter {
    // Bounding rectangle of the region waiting to be painted.
    virtual TableRect update_rect() = 0;
    // 1 when the row is marked (rows outside the table read as unmarked).
    virtual int row_marked(int row) = 0;
    // Takes a rectangle out of, or adds it to, the region to paint; never erases.
    virtual void validate(const TableRect& rect) = 0;
    virtual void invalidate(const TableRect& rect) = 0;
    virtual void set_text_back_color(unsigned color) = 0;
    virtual void set_text_color(unsigned color) = 0;
    // Lets the view paint everything still invalid; that validates it all.
    virtual void paint_invalid() = 0;
    // Draws the current row's frame on the rectangle, outside the paint cycle.
    virtual void draw_edge(const TableRect& rect) = 0;

protected:
    ~TablePainter() = default;
};

// The overlap of two rectangles; false (and *out untouched) when it is empty.
bool table_intersect(const TableRect& a, const TableRect& b, TableRect* out);

// One paint of the view. The rows read (for marks) are those from the row
// under the update rectangle's top-left corner (else the first visible row) to
// the row under its bottom-left corner (else the last row). An empty table is
// painted once with the colours last set.
void table_paint(const TableModel& model, RowStore& rows, TableView& view, TablePainter& painter,
                 const TablePalette& palette);
