// SPDX-License-Identifier: GPL-3.0-or-later
// The record's index by place: a search gives every operation that may touch the box, in
// drawing order, and those that span the area always.

#include <gtest/gtest.h>

#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/record_index.h"

namespace vorax::gwl {
namespace {

TEST(RecordIndex, FindsWhatTouchesABoxInDrawingOrder)
{
    // A 100 x 70 area of cells of 32: 4 columns, 3 rows.
    DrawRecord record;
    const std::uint32_t look = record.look_index({});
    record.clear(look);                          // 0: everywhere
    record.add_line(look, {1, 1}, {5, 2});       // 1: first cell
    record.add_line(look, {99, 69}, {97, 66});   // 2: last cell
    record.add_line(look, {0, 40}, {99, 40});    // 3: a row of cells
    record.add_box(RecordOp::rectangle, false, look, 30, 30, 34, 34); // 4: four cells round (32, 32)
    record.add_line(look, {0, 0}, {99, 69});     // 5: every cell of its box, here all
    record.add_line(look, {200, 200}, {210, 210}); // 6: outside the area
    const RecordIndex index(record, 100, 70);
    struct Row {
        const char* name;
        PixelRect box;
        std::vector<std::uint32_t> ops;
    };
    const Row rows[] = {
        {"FirstCell", {0, 0, 10, 10}, {0, 1, 4, 5}},
        {"LastCell", {96, 64, 4, 6}, {0, 2, 5}},
        {"MiddleRow", {40, 33, 20, 10}, {0, 3, 4, 5}},
        {"LastRowStartsACell", {50, 20, 5, 13}, {0, 3, 4, 5}}, // rows 20..32: its cells and the next
        {"Whole", {0, 0, 100, 70}, {0, 1, 2, 3, 4, 5}},
        {"Nothing", {0, 0, 0, 0}, {0}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(index.ops_in(row.box), row.ops) << row.name;
    EXPECT_EQ(index.made_from().ops, 7u);
}

TEST(RecordIndex, FewAndManyFoundAlike)
{
    // 64 short lines, one in each cell of a 256 x 256 area: a small box finds a few (gathered
    // and sorted), a large one most (marked operation by operation); both in drawing order.
    DrawRecord record;
    const std::uint32_t look = record.look_index({});
    record.clear(look);
    for (int k = 0; k < 64; ++k)
        record.add_line(look, {k % 8 * 32 + 4, k / 8 * 32 + 4}, {k % 8 * 32 + 9, k / 8 * 32 + 6});
    const RecordIndex index(record, 256, 256);
    const auto cells = [](int column_lo, int column_hi, int row_lo, int row_hi) {
        std::vector<std::uint32_t> ops{0};
        for (int row = row_lo; row <= row_hi; ++row)
            for (int column = column_lo; column <= column_hi; ++column)
                ops.push_back(static_cast<std::uint32_t>(row * 8 + column + 1));
        return ops;
    };
    struct Row {
        const char* name;
        PixelRect box;
        std::vector<std::uint32_t> ops;
    };
    const Row rows[] = {
        {"OneCell", {70, 40, 10, 10}, cells(2, 2, 1, 1)},
        {"FourCells", {60, 60, 10, 10}, cells(1, 2, 1, 2)},
        {"MostCells", {0, 40, 256, 200}, cells(0, 7, 1, 7)},
        {"Whole", {0, 0, 256, 256}, cells(0, 7, 0, 7)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(index.ops_in(row.box), row.ops) << row.name;
}

} // namespace
} // namespace vorax::gwl
