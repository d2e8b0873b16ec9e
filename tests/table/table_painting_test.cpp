#include "table/table_painting.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/table_fakes.h"

namespace {

using namespace table_fakes;

// Rows 16 pixels high from y = 24 (row N at 24 + 16 * (N - top)), strips from
// x = 2 to the client's right edge 200, four columns of 40 (x 160 and right of
// it hits no column). Text colours differ per scheme so that each pass shows
// which of the four schemes it took.
TEST(TablePainting, each_pass_leaves_only_its_rows_invalid_and_reads_marks_only_in_the_update_range)
{
    // What, rows, first visible row, current row, marked rows, update rectangle; the log. Which scheme each row
    // shows is seen by pixel in the Wine painting test; what no pixel shows is what each pass reads and leaves
    // invalid.
    using Setup = std::tuple<const char*, int, int, int, std::vector<int>, TableRect>;
    const std::pair<Setup, const char*> cases[] = {
        {{"the current row marked: left out of the marked pass", 4, 0, 2, {2}, {0, 0, 200, 120}},
         "valid:r2 mark:r0 mark:r1 mark:r2 valid:r2 mark:r3 back:ffffff text:10 paint "
         "mark:r0 mark:r1 mark:r3 back:ffff00 text:20 paint "
         "inval:r2 mark:r2 back:ff00 text:40 paint edge:r2"},
        {{"update rect on row 0 alone: rows 0-1 read, no current pass", 6, 0, 4, {0, 3}, {0, 24, 200, 40}},
         "valid:r4 mark:r0 valid:r0 mark:r1 back:ffffff text:10 paint "
         "mark:r0 inval:r0 mark:r1 back:ffff00 text:20 paint"},
        {{"partial update: overlaps invalidated, frame on the whole strip", 4, 0, 2, {0}, {0, 30, 100, 60}},
         "valid:r2 mark:r0 valid:r0 mark:r1 mark:r2 back:ffffff text:10 paint "
         "mark:r0 inval:2,30,100,40 mark:r1 back:ffff00 text:20 paint "
         "inval:2,56,100,60 mark:r2 back:ffff text:30 paint edge:r2"},
        {{"right of the last column: first visible row to last row", 6, 2, 0, {5}, {170, 40, 200, 60}},
         "valid:r0 mark:r2 mark:r3 mark:r4 mark:r5 valid:r5 back:ffffff text:10 paint "
         "mark:r2 mark:r3 mark:r4 mark:r5 back:ffff00 text:20 paint"},
        {{"empty table: the view paints once", 0, 0, 0, {}, {0, 0, 200, 120}}, "paint"},
    };
    for (const auto& [setup, expected] : cases) {
        const auto& [what, rows, top, current, marked, update] = setup;
        FakeTable table(rows, {40, 40, 40, 40}, 200);
        for (int r : marked) table.rows[r].param = ROW_MARK | 0x3;
        table.top_row = top;
        FakePainter painter(table, update);
        const TablePalette palette{{{0x10, 0xFFFFFF}, {0x20, 0xFFFF00}, {0x30, 0x00FFFF}, {0x40, 0x00FF00}}, 1};
        table_paint(TableModel{.column_count = 4, .current_row = current}, table, table, painter, palette);
        std::string log;
        for (const auto& entry : table.log) log += (log.empty() ? "" : " ") + entry;
        EXPECT_EQ(log, expected) << what;
    }
}

}  // namespace
