// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/record_index.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

using testing::kBlue;
using testing::kRed;
using testing::prepare_paper;
using testing::saved_pixels;

// The record of a surface as (kind, a, b, c, d, filled) rows with their looks.
struct Row {
    RecordOp kind;
    int a, b, c, d;
    bool filled = false;
    friend bool operator==(const Row&, const Row&) = default;
};

std::vector<Row> rows_of(const DrawRecord& record)
{
    std::vector<Row> rows;
    for (const DrawOp& op : record.ops())
        rows.push_back({op.kind, op.a, op.b, op.c, op.d, op.filled});
    return rows;
}

std::vector<Row> rows_of(const DrawSurface& surface)
{
    std::vector<Row> rows;
    surface.read_record([&](const DrawRecord& record) { rows = rows_of(record); });
    return rows;
}

// The look of operation `index`.
RecordedLook look_of(const DrawSurface& surface, std::size_t index)
{
    RecordedLook look;
    surface.read_record([&](const DrawRecord& r) { look = r.look(r.ops()[index].look); });
    return look;
}

TEST(DrawRecord, LinesInOrderWithColourAndLineStyle)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.move_to_w(1, 2);
    surface.line_to_w(30, 2);
    surface.set_color_rgb(kRed);
    surface.set_line_style(0xAAAA);
    surface.line_to_w(30, 25);
    surface.line_to_w(60, 25); // partly outside: kept, the picture clips it
    const std::vector<Row> expected{{RecordOp::clear, 0, 0, 0, 0},
                                    {RecordOp::line, 1, 2, 30, 2},
                                    {RecordOp::line, 30, 2, 30, 25},
                                    {RecordOp::line, 30, 25, 60, 25}};
    EXPECT_EQ(rows_of(surface), expected);
    EXPECT_EQ(look_of(surface, 0).background, kWhite);
    EXPECT_EQ(look_of(surface, 1).color, kBlack);
    EXPECT_EQ(look_of(surface, 1).line_style, 0xFFFF);
    EXPECT_EQ(look_of(surface, 2).color, kRed);
    EXPECT_EQ(look_of(surface, 2).line_style, 0xAAAA);
    // The same look is one entry.
    surface.read_record([](const DrawRecord& r) { EXPECT_EQ(r.ops()[2].look, r.ops()[3].look); });
}

TEST(DrawRecord, ShapesWithTheirBoxPointsFillAndPattern)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.rectangle_w(kFillOutline, 20, 12, 2, 2); // corners reordered as drawn
    const std::array<std::uint8_t, 8> stripes{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
    surface.set_fill_mask(stripes);
    surface.set_color_rgb(kBlue);
    const std::array<WindowPoint, 3> triangle{{{5, 25}, {15, 15}, {25, 25}}};
    surface.polygon_w(kFillInterior, triangle);
    surface.set_fill_mask(std::nullopt);
    surface.ellipse_w(kFillInterior, 30, 5, 38, 11);
    surface.ellipse_w(7, 30, 5, 38, 11); // refused: not recorded
    const std::vector<Row> expected{{RecordOp::clear, 0, 0, 0, 0},
                                    {RecordOp::rectangle, 2, 2, 20, 12, false},
                                    {RecordOp::polygon, 0, 3, 0, 0, true},
                                    {RecordOp::ellipse, 30, 5, 38, 11, true}};
    EXPECT_EQ(rows_of(surface), expected);
    surface.read_record([](const DrawRecord& r) {
        const std::span<const PixelPoint> points = r.polygon_points(r.ops()[2]);
        EXPECT_EQ(std::vector<PixelPoint>(points.begin(), points.end()),
                  (std::vector<PixelPoint>{{5, 25}, {15, 15}, {25, 25}}));
        EXPECT_EQ(r.bounds(r.ops()[2]), (PixelRect{5, 15, 21, 11}));
    });
    EXPECT_EQ(look_of(surface, 2).fill_mask, std::optional(stripes));
    EXPECT_EQ(look_of(surface, 2).color, kBlue);
    EXPECT_EQ(look_of(surface, 2).background, kWhite);
    EXPECT_EQ(look_of(surface, 3).fill_mask, std::nullopt);
}

TEST(DrawRecord, TextWithItsFontColourAndPlace)
{
    DrawSurface surface(200, 100);
    prepare_paper(surface);
    surface.set_text_color_rgb(kBlue);
    surface.set_text_position(2, 3);
    surface.out_text("VORAX");
    surface.init_fonts();
    ASSERT_GT(surface.set_font("t'tms rmn'h14be"), 0);
    surface.set_color_rgb(kRed);
    surface.move_to_w(50, 40);
    const int width = surface.get_gtext_extent("12");
    surface.out_gtext("12");
    FontInfo info;
    surface.get_font_info(info);
    surface.read_record([&](const DrawRecord& r) {
        ASSERT_EQ(r.ops().size(), 3u);
        const DrawOp& layer = r.ops()[1];
        EXPECT_EQ(layer.kind, RecordOp::layer_text);
        EXPECT_EQ(r.text(layer), "VORAX");
        EXPECT_EQ(r.look(layer.look).color, kBlue);
        EXPECT_EQ(r.look(layer.look).background, kWhite);
        const RecordedFont& cell = r.font(r.look(layer.look).font);
        EXPECT_EQ(layer.d, 5 * layer.a / 2); // five cells wide, starting two cells in
        EXPECT_EQ(layer.b, cell.height);     // the second row
        EXPECT_EQ(cell.family, "Liberation Mono");

        const DrawOp& label = r.ops()[2];
        EXPECT_EQ(label.kind, RecordOp::text);
        EXPECT_EQ(r.text(label), "12");
        EXPECT_EQ(label.a, 50);
        EXPECT_EQ(label.b, 40 + info.ascent); // the baseline
        EXPECT_EQ(label.d, width);
        EXPECT_EQ(r.look(label.look).color, kRed);
        const RecordedFont& font = r.font(r.look(label.look).font);
        EXPECT_EQ(font.family, "Liberation Serif");
        EXPECT_EQ(font.weight, 700);
        EXPECT_FALSE(font.italic);
        EXPECT_EQ(font.ascent, info.ascent);
        EXPECT_GT(font.pixel_size, 0);
    });
}

TEST(DrawRecord, AClearLeavesOnlyItself)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.move_to_w(0, 0);
    surface.line_to_w(10, 10);
    surface.set_bk_color_rgb(kRed);
    surface.clear_screen(0);
    EXPECT_EQ(rows_of(surface), (std::vector<Row>{{RecordOp::clear, 0, 0, 0, 0}}));
    EXPECT_EQ(look_of(surface, 0).background, kRed);
}

// The zoom's rubber band: the whole picture saved, bands drawn and wiped out by copying it back;
// after an empty pick the band is drawn once more in white, which stays on the picture.
TEST(DrawRecord, PixelsCopiedBackTakeBackWhatTheyCover)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.set_window(true, 0, 0, 39, 29);
    surface.rectangle_w(kFillInterior, 3, 3, 20, 20);
    const std::vector<Row> graph = rows_of(surface);
    const ImageBuffer saved = saved_pixels(surface, 0, 29, 39, 0);
    for (int band = 0; band < 3; ++band) {
        surface.set_line_style(0xAAAA);
        surface.rectangle_w(kFillOutline, 4, 25, 30 + band, 2);
        surface.put_image_w(0, 29, saved, kActionCopy);
        EXPECT_EQ(rows_of(surface), graph) << band;
    }
    surface.set_color_rgb(kWhite);
    surface.rectangle_w(kFillOutline, 4, 25, 30, 2);
    std::vector<Row> erased = graph;
    erased.push_back({RecordOp::rectangle, 4, 4, 30, 27});
    EXPECT_EQ(rows_of(surface), erased);

    // A saved part: what lies wholly inside it goes, the rest stays.
    const ImageBuffer part = saved_pixels(surface, 0, 29, 10, 19);
    surface.move_to_w(1, 28);
    surface.line_to_w(9, 20);  // inside
    surface.line_to_w(30, 20); // reaches out
    surface.put_image_w(0, 29, part, kActionCopy);
    erased.push_back({RecordOp::line, 9, 9, 30, 9});
    EXPECT_EQ(rows_of(surface), erased);
    // Put elsewhere, or after a clear, the pixels change the record no more.
    surface.put_image_w(20, 29, part, kActionCopy);
    surface.clear_screen(0);
    surface.put_image_w(0, 29, saved, kActionCopy);
    EXPECT_EQ(rows_of(surface).size(), 1u);
}

TEST(DrawRecord, TheIndexByPlaceFollowsARubberBandDrawnAgainElsewhere)
{
    // The band of a drag is taken back and drawn again in another place, as many operations as
    // before: the index by place is made anew.
    DrawSurface surface(200, 100);
    prepare_paper(surface);
    surface.set_window(true, 0, 0, 199, 99);
    const ImageBuffer saved = saved_pixels(surface, 0, 99, 199, 0);
    const auto found_at = [&](const PixelRect& place) {
        bool found = false;
        surface.read_indexed_record([&](const DrawRecord& record, const RecordIndex& index) {
            const std::vector<std::uint32_t> ops = index.ops_in(place);
            found = std::find(ops.begin(), ops.end(), record.ops().size() - 1) != ops.end();
        });
        return found;
    };
    surface.rectangle_w(kFillOutline, 2, 90, 20, 80);
    EXPECT_TRUE(found_at({0, 0, 30, 30}));
    surface.put_image_w(0, 99, saved, kActionCopy);
    surface.rectangle_w(kFillOutline, 150, 90, 190, 80);
    EXPECT_TRUE(found_at({140, 0, 60, 30}));
    EXPECT_FALSE(found_at({0, 0, 30, 30}));
}

TEST(DrawRecord, AMarkBehindALaterCutNoLongerHolds)
{
    DrawRecord record;
    const std::uint32_t look = record.look_index({});
    record.clear(look);
    const PixelRect all{0, 0, 100, 100};
    const RecordMark one = record.mark();
    record.add_line(look, {0, 0}, {1, 1});
    const RecordMark two = record.mark();
    record.add_line(look, {0, 0}, {2, 2});
    record.restore(two, all, true); // back to two lines
    ASSERT_EQ(record.ops().size(), 2u);
    record.restore(one, all, true); // back to the clear
    ASSERT_EQ(record.ops().size(), 1u);
    record.add_line(look, {5, 5}, {6, 6});
    record.add_line(look, {7, 7}, {8, 8});
    record.restore(two, all, true); // mark two lay beyond the cut to one: nothing changes
    EXPECT_EQ(record.ops().size(), 3u);
    record.restore(one, all, true); // mark one still holds
    EXPECT_EQ(record.ops().size(), 1u);
    DrawRecord other;
    other.add_line(other.look_index({}), {0, 0}, {1, 1});
    other.restore(one, all, true); // a mark of another record
    EXPECT_EQ(other.ops().size(), 1u);
}


// The packed store reads back every operation as it was added, against a plain list of them:
// runs of lines of one look, looks changing, lines too long to pack, shapes between them, and
// cuts anywhere followed by more operations.
TEST(DrawRecord, PackedOperationsReadBackAsAdded)
{
    std::mt19937 random(17);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    OpStore store;
    std::vector<DrawOp> plain;
    for (int round = 0; round < 40; ++round) {
        for (int i = pick(3000); i > 0; --i) {
            DrawOp op{RecordOp::line, false, static_cast<std::uint32_t>(pick(3)), pick(2000) - 1000,
                      pick(2000), pick(70000) - 35000, pick(2000)};
            if (pick(10) == 0)
                op = {RecordOp::rectangle, pick(2) == 1, 1, pick(50), pick(50), pick(50), pick(50)};
            store.push_back(op);
            plain.push_back(op);
        }
        const std::size_t kept = plain.empty() ? 0 : static_cast<std::size_t>(pick(static_cast<int>(plain.size())) + 1);
        store.truncate(kept);
        plain.resize(kept);
        ASSERT_EQ(store.size(), plain.size());
        std::size_t i = 0;
        for (const DrawOp& op : store)
            ASSERT_EQ(op, plain[i++]) << "operation " << i - 1;
        for (std::size_t k = 0; k < plain.size(); k += 97)
            ASSERT_EQ(store[k], plain[k]);
    }
}

// Lines handed over together leave the pixels, the record and the current position that one
// move and one line each leave, with the status of the last line; in a line style, partly and
// wholly outside the area.
TEST(DrawRecord, LinesTogetherDrawAsOneByOne)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-60.0, 260.0);
    std::vector<WindowLine> lines(500);
    for (WindowLine& line : lines)
        line = {{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}};
    lines.push_back({{-50.0, -50.0}, {-40.0, -10.0}}); // last one wholly outside

    DrawSurface together(200, 200);
    DrawSurface one_by_one(200, 200);
    for (DrawSurface* surface : {&together, &one_by_one}) {
        prepare_paper(*surface);
        surface->set_line_style(0xF0F0);
    }
    together.lines_w(lines);
    const GraphicsStatus status_together = DrawSurface::get_graphics_status();
    for (const WindowLine& line : lines) {
        one_by_one.move_to_w(line.from.x, line.from.y);
        one_by_one.line_to_w(line.to.x, line.to.y);
    }
    EXPECT_EQ(status_together, DrawSurface::get_graphics_status());
    EXPECT_EQ(together.image_copy(), one_by_one.image_copy());
    EXPECT_EQ(rows_of(together), rows_of(one_by_one));
    EXPECT_EQ(together.current_position(), one_by_one.current_position());
}

} // namespace
} // namespace vorax::gwl
