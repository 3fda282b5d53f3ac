// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/vector_writers.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

using testing::kBlue;
using testing::kRed;
using testing::Pixels;
using testing::prepare_paper;
using testing::saved_pixels;

TEST(SurfaceState, OpensBlackWithWhiteInkAndSettersReturnThePreviousValue)
{
    // A large picture is held in memory of its own; a copy read from it outlives the surface.
    QImage kept;
    {
        DrawSurface large(1600, 1200);
        EXPECT_EQ(Pixels(large).count(kBlack), 1600 * 1200);
        large.set_bk_color_rgb(kRed);
        large.clear_screen(0);
        large.read_image([&kept](const QImage& image) { kept = image; });
    }
    ASSERT_EQ(kept.size(), QSize(1600, 1200));
    EXPECT_EQ(Pixels(kept).count(kRed), 1600 * 1200);

    DrawSurface surface(40, 30);
    EXPECT_EQ(Pixels(surface).count(kBlack), 40 * 30);
    EXPECT_EQ(surface.set_color_rgb(kRed), kWhite);
    EXPECT_EQ(surface.set_color_rgb(kBlue), kRed);
    EXPECT_EQ(surface.set_bk_color_rgb(kWhite), kBlack);
    EXPECT_EQ(surface.set_text_color_rgb(kBlue), kWhite);
    EXPECT_EQ(surface.set_text_color_rgb(kRed), kBlue);
    EXPECT_FALSE(surface.display_cursor(true));
    EXPECT_TRUE(surface.display_cursor(false));
    EXPECT_FALSE(surface.cursor_shown());
}

TEST(SurfaceState, ClearScreenAreas)
{
    for (int area : {0, 1, 2}) {
        DrawSurface surface(40, 30);
        surface.set_bk_color_rgb(kRed);
        surface.clear_screen(area);
        EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
        EXPECT_EQ(Pixels(surface).count(kRed), 40 * 30) << area;
    }
    DrawSurface surface(40, 30);
    surface.set_bk_color_rgb(kRed);
    surface.clear_screen(3);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -4);
    EXPECT_EQ(Pixels(surface).count(kBlack), 40 * 30);
}

TEST(SurfaceState, WindowConfigurationComesFromTheAreaAndTheTextFont)
{
    DrawSurface surface(1024, 768);
    WindowConfig config;
    surface.fill_window_config(config);
    EXPECT_EQ(config.pixels_x, 1024);
    EXPECT_EQ(config.pixels_y, 768);
    EXPECT_EQ(config.text_rows, 768 / 16);
    EXPECT_GT(config.text_columns, 80);
    EXPECT_EQ(config.bits_per_pixel, 32);
    // An area of no pixels one way has one that way.
    const DrawSurface flat(0, 0);
    EXPECT_EQ(flat.width(), 1);
    EXPECT_EQ(flat.height(), 1);
}

TEST(SurfaceLines, DrawBothEndsMoveThePositionAndTellWhatWasVisible)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.move_to_w(2, 3);
    EXPECT_EQ(surface.line_to_w(30, 3), 1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    EXPECT_EQ(surface.current_position(), (PixelPoint{30, 3}));
    const Pixels picture(surface);
    EXPECT_EQ(picture.at(2, 3), kBlack);
    EXPECT_EQ(picture.at(30, 3), kBlack);
    EXPECT_EQ(picture.at(31, 3), kWhite);
    EXPECT_EQ(picture.count(kBlack), 29);

    struct Case {
        const char* name;
        WindowPoint from, to;
        GraphicsStatus status;
    };
    const Case cases[] = {{"inside", {1, 1}, {20, 20}, 0},
                          {"partly", {-10, 5}, {20, 5}, 2},
                          {"outside", {-10, -5}, {100, -5}, 1},
                          {"far outside", {1e30, 1e30}, {-1e30, 1e30}, 1}};
    for (const Case& c : cases) {
        DrawSurface fresh(40, 30);
        fresh.move_to_w(c.from.x, c.from.y);
        EXPECT_EQ(fresh.line_to_w(c.to.x, c.to.y), 1) << c.name;
        EXPECT_EQ(DrawSurface::get_graphics_status(), c.status) << c.name;
    }
}

// A surface of the record alone gives, operation by operation, the status and positions of one
// that draws its pixels, and in the end the same record; its pixels stay as they were made. One
// of the pixels alone gives the same status, positions and pixels, and records nothing.
TEST(SurfaceRecordOnly, SameRecordStatusAndPositionsWithoutAPixel)
{
    DrawSurface drawn(40, 30);
    DrawSurface recorded(40, 30, SurfaceDrawing::record_only);
    DrawSurface painted(40, 30, SurfaceDrawing::pixels_only);
    const std::array<WindowLine, 2> batch{{{{1, 1}, {20, 9}}, {{-5, 3}, {10, 3}}}};
    const std::array<WindowPoint, 3> triangle{{{-3, 2}, {20, 25}, {30, 4}}};
    std::map<const DrawSurface*, ImageBuffer> saved; // each surface its own
    const std::vector<std::function<void(DrawSurface&)>> steps = {
        [](DrawSurface& s) { s.set_color_rgb(kRed); },
        [](DrawSurface& s) { s.move_to_w(2, 3); },
        [](DrawSurface& s) { s.line_to_w(30, 3); },
        [](DrawSurface& s) { s.line_to_w(60, 3); },
        [](DrawSurface& s) { s.line_to_w(70, -8); },
        [&](DrawSurface& s) { s.lines_w(batch); },
        [&](DrawSurface& s) { s.get_image_w(0, 0, 39, 29, saved[&s]); },
        [](DrawSurface& s) { s.set_fill_mask(std::array<std::uint8_t, 8>{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}); },
        [](DrawSurface& s) { s.rectangle_w(kFillInterior, 3, 3, 50, 20); },
        [](DrawSurface& s) { s.ellipse_w(kFillInterior, 5, 5, 25, 15); },
        [&](DrawSurface& s) { s.polygon_w(kFillInterior, triangle); },
        [](DrawSurface& s) { s.set_line_style(0xAAAA); },
        [](DrawSurface& s) { s.rectangle_w(kFillOutline, -4, 25, 30, 2); },
        [](DrawSurface& s) { s.ellipse_w(kFillOutline, 1, 1, 9, 9); },
        [&](DrawSurface& s) { s.put_image_w(0, 10, saved[&s], 3); },
        [](DrawSurface& s) { s.rectangle_w(kFillInterior, 30, 20, 35, 25); },
        [](DrawSurface& s) { s.init_fonts(); },
        [](DrawSurface& s) { s.move_to_w(4, 4); },
        [](DrawSurface& s) { s.out_gtext("12"); },
        [](DrawSurface& s) { s.out_text("A"); },
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i](drawn);
        const GraphicsStatus status = DrawSurface::get_graphics_status();
        for (DrawSurface* other : {&recorded, &painted}) {
            steps[i](*other);
            EXPECT_EQ(DrawSurface::get_graphics_status(), status) << "step " << i;
            EXPECT_EQ(other->current_position(), drawn.current_position()) << "step " << i;
            EXPECT_EQ(other->text_position().column, drawn.text_position().column) << "step " << i;
        }
    }
    const auto svg_of = [](const DrawSurface& s) {
        std::string svg;
        s.read_record([&](const DrawRecord& r) { svg = svg_text(r, 40, 30, ""); });
        return svg;
    };
    EXPECT_EQ(svg_of(recorded), svg_of(drawn));
    EXPECT_NE(svg_of(drawn).find("<text"), std::string::npos);
    EXPECT_LT(Pixels(drawn).count(kBlack), 40 * 30);
    EXPECT_EQ(Pixels(recorded).count(kBlack), 40 * 30);
    EXPECT_EQ(painted.image_copy(), drawn.image_copy());
    painted.read_record([](const DrawRecord& r) { EXPECT_EQ(r.ops().size(), 0u); });
}

TEST(SurfaceShapes, DottedRectangleButSolidEllipse)
{
    DrawSurface dotted_rect(40, 30), solid_rect(40, 30), dotted_ellipse(40, 30), solid_ellipse(40, 30);
    for (DrawSurface* s : {&dotted_rect, &solid_rect, &dotted_ellipse, &solid_ellipse})
        prepare_paper(*s);
    dotted_rect.set_line_style(0xAAAA);
    dotted_ellipse.set_line_style(0xAAAA);
    dotted_rect.rectangle_w(kFillOutline, 5, 5, 30, 20);
    solid_rect.rectangle_w(kFillOutline, 5, 5, 30, 20);
    dotted_ellipse.ellipse_w(kFillOutline, 5, 5, 30, 20);
    solid_ellipse.ellipse_w(kFillOutline, 5, 5, 30, 20);

    const Pixels solid(solid_rect);
    const Pixels dotted(dotted_rect);
    EXPECT_EQ(solid.count(kBlack), 2 * 26 + 2 * 14);
    // Every other pixel of the outline: dots with gaps.
    for (int x = 5; x < 30; ++x)
        EXPECT_NE(dotted.at(x, 5), dotted.at(x + 1, 5)) << x;
    EXPECT_NEAR(dotted.count(kBlack), solid.count(kBlack) / 2, 2);
    EXPECT_EQ(Pixels(dotted_ellipse), Pixels(solid_ellipse));
    EXPECT_GT(Pixels(solid_ellipse).count(kBlack), 50);
}

TEST(SurfaceShapes, RectangleStatusAndOrder)
{
    struct Case {
        const char* name;
        double x1, y1, x2, y2;
        GraphicsStatus status;
    };
    const Case cases[] = {{"ordered", 2, 2, 10, 10, 0},     {"swapped", 10, 10, 2, 2, 3},
                          {"sticks out", -5, 2, 10, 10, 2}, {"wholly outside", 50, 50, 60, 60, 1},
                          {"one pixel", 7, 7, 7, 7, 0}};
    for (const Case& c : cases) {
        DrawSurface surface(40, 30);
        prepare_paper(surface);
        EXPECT_EQ(surface.rectangle_w(kFillOutline, c.x1, c.y1, c.x2, c.y2), 1) << c.name;
        EXPECT_EQ(DrawSurface::get_graphics_status(), c.status) << c.name;
    }
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.rectangle_w(kFillOutline, 7, 7, 7, 7);
    EXPECT_EQ(Pixels(surface).count(kBlack), 1);
    EXPECT_EQ(Pixels(surface).at(7, 7), kBlack);
    surface.ellipse_w(kFillInterior, 9, 9, 9, 9);
    EXPECT_EQ(Pixels(surface).at(9, 9), kBlack);
    EXPECT_EQ(surface.ellipse_w(kFillOutline, 20, 20, 10, 10), 1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 3);
}

TEST(SurfaceShapes, UnknownControlDrawsNothing)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    const WindowPoint triangle[] = {{1, 1}, {30, 1}, {15, 20}};
    for (int control : {0, 1, 4, -2}) {
        EXPECT_EQ(surface.rectangle_w(control, 1, 1, 20, 20), 0);
        EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
        EXPECT_EQ(surface.ellipse_w(control, 1, 1, 20, 20), 0);
        EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
        EXPECT_EQ(surface.polygon_w(control, triangle), 0);
        EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    }
    EXPECT_EQ(Pixels(surface).count(kWhite), 40 * 30);
}

TEST(SurfaceFill, StripesFromMask55AndSolidFromMaskFF)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.set_bk_color_rgb(kRed);
    surface.set_fill_mask(std::array<std::uint8_t, 8>{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55});
    const WindowPoint triangle[] = {{2, 2}, {37, 2}, {20, 27}};
    EXPECT_EQ(surface.polygon_w(3, triangle), 1);
    Pixels striped(surface);
    // 0x55 = 01010101, leftmost pixel first: even columns background, odd columns ink.
    for (int y = 4; y <= 10; ++y)
        for (int x = 12; x <= 28; ++x)
            ASSERT_EQ(striped.at(x, y), x % 2 == 1 ? kBlack : kRed) << x << "," << y;

    surface.set_fill_mask(std::array<std::uint8_t, 8>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    surface.polygon_w(3, triangle);
    Pixels solid(surface);
    for (int y = 4; y <= 10; ++y)
        for (int x = 12; x <= 28; ++x)
            ASSERT_EQ(solid.at(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(solid.count(kRed), 0);
}

TEST(SurfaceFill, RectangleAndEllipseInteriors)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.set_color_rgb(kBlue);
    surface.rectangle_w(kFillInterior, 2, 2, 12, 12);
    surface.ellipse_w(kFillInterior, 20, 2, 36, 26);
    const Pixels picture(surface);
    for (int y = 2; y <= 12; ++y)
        for (int x = 2; x <= 12; ++x)
            EXPECT_EQ(picture.at(x, y), kBlue);
    EXPECT_EQ(picture.at(28, 14), kBlue);  // the ellipse's middle
    EXPECT_EQ(picture.at(20, 2), kWhite);  // its box corner
}

TEST(SurfacePolygon, CountLimits)
{
    struct Case {
        std::size_t count;
        int result;
        GraphicsStatus status;
    };
    const Case cases[] = {{0, 0, -4}, {2, 0, -4}, {3, 1, 0}, {16381, 1, 0}, {16382, 0, -4}};
    for (const Case& c : cases) {
        DrawSurface surface(40, 30);
        prepare_paper(surface);
        std::vector<WindowPoint> points(c.count);
        for (std::size_t k = 0; k < c.count; ++k)
            points[k] = {static_cast<double>(5 + k % 3 * 10), static_cast<double>(5 + k % 2 * 10)};
        EXPECT_EQ(surface.polygon_w(2, points), c.result) << c.count;
        EXPECT_EQ(DrawSurface::get_graphics_status(), c.status) << c.count;
        if (c.result == 0) {
            EXPECT_EQ(Pixels(surface).count(kWhite), 40 * 30) << c.count;
        } else {
            EXPECT_GT(Pixels(surface).count(kBlack), 0) << c.count;
        }
    }
}

TEST(SurfacePolygon, ClosedOutlineAndFirstPointOutside)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    const WindowPoint open_v[] = {{5, 5}, {20, 25}, {35, 5}};
    surface.polygon_w(2, open_v);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    const Pixels picture(surface);
    for (int x = 5; x <= 35; ++x)
        EXPECT_EQ(picture.at(x, 5), kBlack) << x; // the closing side
    const WindowPoint outside_first[] = {{-5, 5}, {20, 25}, {35, 5}};
    surface.polygon_w(2, outside_first);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 2);
}

TEST(SurfaceImages, GetThenPutRestoresThePicture)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.set_window(true, 0, 0, 39, 29); // as for a graph: y grows upwards
    surface.rectangle_w(kFillInterior, 3, 3, 20, 20);
    surface.set_color_rgb(kRed);
    surface.ellipse_w(kFillOutline, 10, 5, 35, 28);
    const Pixels before(surface);

    // The zoom saves the whole window from its top-left corner (min x, max y) and puts the
    // picture back there after drawing a band over it.
    const std::size_t size = surface.image_size_w(0, 29, 39, 0);
    EXPECT_GE(size, 40u * 30u * 4u);
    ImageBuffer saved(size);
    surface.get_image_w(0, 29, 39, 0, saved);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    surface.set_line_style(0xAAAA);
    surface.rectangle_w(kFillOutline, 4, 25, 30, 2);
    surface.line_to_w(39, 0);
    EXPECT_FALSE(Pixels(surface) == before);
    surface.put_image_w(0, 29, saved, 3);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    EXPECT_TRUE(Pixels(surface) == before);
}

TEST(SurfaceImages, SwappedCornersGiveTheSameRectangleAndASmallBufferGrows)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.rectangle_w(kFillOutline, 5, 5, 15, 12);
    const ImageBuffer ordered = saved_pixels(surface, 4, 4, 16, 13);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    const ImageBuffer swapped = saved_pixels(surface, 16, 13, 4, 4);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 3);
    EXPECT_EQ(ordered, swapped);
    ImageBuffer small;
    surface.get_image_w(0, 0, 9, 9, small);
    EXPECT_EQ(small.size(), surface.image_size_w(0, 0, 9, 9));
}

TEST(SurfaceImages, PutElsewhereCopiesTheRectangleAndClips)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.rectangle_w(kFillInterior, 0, 0, 3, 3);
    ImageBuffer saved(surface.image_size_w(0, 0, 4, 4));
    EXPECT_EQ(saved.size(), surface.image_size_w(4, 4, 0, 0));
    surface.get_image_w(0, 0, 4, 4, saved);
    surface.put_image_w(20, 10, saved, 3);
    surface.put_image_w(37, 27, saved, 3); // only its top-left 3 x 3 pixels fit
    const Pixels picture(surface);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(picture.at(20 + x, 10 + y), picture.at(x, y)) << x << "," << y;
    EXPECT_EQ(picture.count(kBlack), 16 + 16 + 9);
}

TEST(SurfaceImages, RectanglePartlyOutsideKeepsItsPlace)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.rectangle_w(kFillInterior, 0, 0, 1, 1);
    // The rectangle starts 3 pixels left of and above the area; its stored part keeps that.
    const ImageBuffer saved = saved_pixels(surface, -3, -3, 4, 4);
    surface.put_image_w(10, 10, saved, 3);
    const Pixels picture(surface);
    EXPECT_EQ(picture.at(13, 13), kBlack);
    EXPECT_EQ(picture.at(14, 14), kBlack);
    EXPECT_EQ(picture.at(12, 12), kWhite);
    EXPECT_EQ(picture.at(15, 15), kWhite);
}

TEST(SurfaceImages, ActionsAndBadBuffers)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    surface.set_color_rgb(kRed);
    surface.rectangle_w(kFillInterior, 0, 0, 1, 1);
    const ImageBuffer saved = saved_pixels(surface, 0, 0, 1, 1);

    surface.put_image_w(10, 10, saved, 5);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -4);
    surface.put_image_w(10, 10, ImageBuffer(8, 0), 3);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    ImageBuffer cut_short(saved.begin(), saved.end() - 4);
    surface.put_image_w(10, 10, cut_short, 3);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    EXPECT_EQ(Pixels(surface).count(kRed), 4);

    struct Case {
        int action;
        Rgb result; // on white paper, with red saved
    };
    const Case cases[] = {{0, kWhite}, {1, kRed}, {2, make_rgb(0, 255, 255)}, {3, kRed},
                          {4, make_rgb(0, 255, 255)}};
    for (const Case& c : cases) {
        surface.set_bk_color_rgb(kWhite);
        surface.clear_screen(0);
        surface.put_image_w(10, 10, saved, c.action);
        EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
        EXPECT_EQ(Pixels(surface).at(10, 10), c.result) << c.action;
    }
}

TEST(SurfaceTextLayer, PositionIsClampedAndThePreviousReturned)
{
    DrawSurface surface(400, 160); // 10 rows of 16 pixels
    WindowConfig config;
    surface.fill_window_config(config);
    ASSERT_EQ(config.text_rows, 10);
    struct Case {
        int row, column;
        TextPosition expected;
    };
    const Case cases[] = {{2, 10, {2, 10}},   {0, -3, {1, 1}},
                          {11, 9999, {10, config.text_columns}}, {10, 1, {10, 1}}};
    TextPosition previous{1, 1};
    for (const Case& c : cases) {
        const TextPosition returned = surface.set_text_position(c.row, c.column);
        EXPECT_EQ(returned.row, previous.row);
        EXPECT_EQ(returned.column, previous.column);
        EXPECT_EQ(surface.text_position().row, c.expected.row);
        EXPECT_EQ(surface.text_position().column, c.expected.column);
        previous = c.expected;
    }
}

TEST(SurfaceTextLayer, OutTextWritesInTheTextColourAndMovesOn)
{
    DrawSurface surface(400, 160);
    prepare_paper(surface);
    surface.set_text_color_rgb(kBlue);
    surface.set_text_position(2, 3);
    surface.out_text("VORAX");
    EXPECT_EQ(surface.text_position().row, 2);
    EXPECT_EQ(surface.text_position().column, 8);
    const Pixels picture(surface);
    const PixelRect cell = surface.text_cursor_rect();
    int blue_in_row = 0;
    for (int y = 16; y < 32; ++y)
        for (int x = 0; x < 400; ++x)
            blue_in_row += picture.at(x, y) == kBlue;
    EXPECT_GT(blue_in_row, 20);
    EXPECT_EQ(picture.count(kBlue), blue_in_row); // nothing outside row 2
    EXPECT_EQ(cell.y, 16);
}

TEST(SurfaceListener, HearsTheChangedPixels)
{
    DrawSurface surface(40, 30);
    std::vector<PixelRect> heard;
    surface.set_change_listener([&](const PixelRect& r) { heard.push_back(r); });
    surface.move_to_w(30, 20);
    EXPECT_TRUE(heard.empty());
    surface.line_to_w(5, 2);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard.back(), (PixelRect{5, 2, 26, 19}));
    surface.rectangle_w(kFillOutline, -10, -10, 3, 4);
    EXPECT_EQ(heard.back(), (PixelRect{0, 0, 4, 5}));
    surface.clear_screen(0);
    EXPECT_EQ(heard.back(), (PixelRect{0, 0, 40, 30}));
    surface.set_change_listener(nullptr);
    surface.line_to_w(0, 0);
    EXPECT_EQ(heard.size(), 3u);
}

TEST(SurfaceListener, HearsTheBoundsOfManyLinesOfAPolygonAndOfPutPixels)
{
    DrawSurface surface(40, 30);
    std::vector<PixelRect> heard;
    surface.set_change_listener([&](const PixelRect& r) { heard.push_back(r); });
    const std::array<WindowLine, 2> lines{{{{2, 3}, {10, 4}}, {{7, 25}, {1, 8}}}};
    surface.lines_w(lines);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard.back(), (PixelRect{1, 3, 10, 23}));
    const std::array<WindowPoint, 3> triangle{{{35, 5}, {45, 10}, {30, 12}}};
    surface.polygon_w(2, triangle);
    EXPECT_EQ(heard.back(), (PixelRect{30, 5, 10, 8}));
    const ImageBuffer saved = saved_pixels(surface, 0, 0, 3, 2);
    EXPECT_EQ(heard.size(), 2u);
    surface.put_image_w(38, 28, saved, kActionCopy);
    EXPECT_EQ(heard.back(), (PixelRect{38, 28, 2, 2}));
    surface.put_image_w(-1e12, -1e12, saved, kActionCopy); // far outside: nothing to hear
    surface.put_image_w(1e12, 1e12, saved, kActionCopy);
    EXPECT_EQ(heard.size(), 3u);
}

TEST(SurfaceListener, MayReadTheImageWhileHearing)
{
    // A widget repaints from the image inside the listener: the lock is free by then.
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    Rgb seen = kWhite;
    surface.set_change_listener([&](const PixelRect&) {
        surface.read_image([&](const QImage& image) {
            const QRgb p = image.pixel(3, 3);
            seen = make_rgb(qRed(p), qGreen(p), qBlue(p));
        });
    });
    surface.move_to_w(3, 3);
    surface.line_to_w(3, 3);
    EXPECT_EQ(seen, kBlack);
}

TEST(SurfaceConcurrency, ARepaintNeverSeesHalfAnOperation)
{
    DrawSurface surface(40, 30);
    prepare_paper(surface);
    std::atomic<bool> drawn{false};
    std::thread painter;
    surface.read_image([&](const QImage& image) {
        painter = std::thread([&] {
            surface.rectangle_w(kFillInterior, 0, 0, 39, 29);
            drawn = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        // The drawing thread waits for the lock: the image is untouched and nothing finished.
        EXPECT_FALSE(drawn.load());
        EXPECT_EQ(image.pixel(20, 15), qRgb(255, 255, 255));
    });
    painter.join();
    EXPECT_TRUE(drawn.load());
    EXPECT_EQ(Pixels(surface).at(20, 15), kBlack);
}

TEST(SurfaceDump, WritesAPngWhenDestroyedIfItDrawsPixels)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    qputenv("VORAX_DUMP_SURFACES", folder.path().toLocal8Bit());
    {
        DrawSurface surface(40, 30);
        surface.set_name("graph 1: test");
        prepare_paper(surface);
        surface.rectangle_w(kFillInterior, 5, 5, 10, 10);
        DrawSurface record_only(40, 30, SurfaceDrawing::record_only); // has no picture to dump
        record_only.rectangle_w(kFillInterior, 5, 5, 10, 10);
    }
    qunsetenv("VORAX_DUMP_SURFACES");
    const QStringList files = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files.front().endsWith(QStringLiteral("-graph_1__test.png"))) << files.front().toStdString();
    const QImage dumped(QDir(folder.path()).filePath(files.front()));
    EXPECT_EQ(dumped.size(), QSize(40, 30));
    EXPECT_EQ(dumped.pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_EQ(dumped.pixel(20, 20), qRgb(255, 255, 255));
}

} // namespace
} // namespace vorax::gwl
