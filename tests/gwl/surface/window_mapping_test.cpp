// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gwl/surface/draw_surface.h"
#include "gwl/surface/window_mapping.h"

namespace vorax::gwl {
namespace {

TEST(Rounding, HalfWayGoesAwayFromZero)
{
    struct Case {
        double value;
        int expected;
    };
    const Case cases[] = {{2.5, 3},   {-2.5, -3}, {2.49, 2}, {-2.49, -2}, {0.0, 0},
                          {-0.0, 0},  {0.5, 1},   {-0.5, -1}, {399.5, 400}, {1e300, kPixelLimit},
                          {-1e300, -kPixelLimit}};
    for (const Case& c : cases)
        EXPECT_EQ(round_half_away(c.value), c.expected) << c.value;
    EXPECT_EQ(round_half_away(std::numeric_limits<double>::quiet_NaN()), kPixelLimit);
}

// A 401 x 201 area with the window 0..100 x 0..50: sx = 400 / 100 = 4, sy = 200 / 50 = 4.
struct MappingCase {
    const char* name;
    bool invert;
    WindowPoint window;
    PixelPoint pixel;
};

TEST(WindowMapping, MapsTheCornersAndTheCentreOf401By201)
{
    const MappingCase cases[] = {
        {"origin", false, {0, 0}, {0, 0}},
        {"far corner", false, {100, 50}, {400, 200}},
        {"centre", false, {50, 25}, {200, 100}},
        {"origin inverted", true, {0, 0}, {0, 200}},         // py = 200 - 0
        {"far corner inverted", true, {100, 50}, {400, 0}},  // py = 200 - 200
        {"centre inverted", true, {50, 25}, {200, 100}},
        {"outside left", false, {-10, 0}, {-40, 0}},
        {"quarter pixel", false, {0.1, 0.1}, {0, 0}},        // 0.4 rounds down
        {"half pixel", false, {0.125, 0.125}, {1, 1}},       // 0.5 rounds up
        {"negative half pixel", false, {-0.125, -0.125}, {-1, -1}},
    };
    for (const MappingCase& c : cases) {
        WindowMapping mapping(401, 201);
        bool reordered = true;
        ASSERT_TRUE(mapping.set_window(c.invert, 0, 0, 100, 50, reordered));
        EXPECT_FALSE(reordered);
        EXPECT_EQ(mapping.to_pixel(c.window), c.pixel) << c.name;
    }
}

TEST(WindowMapping, CornersInAnyOrderMapAlikeButReportTheReordering)
{
    const double corners[][4] = {{0, 50, 100, 0}, {100, 0, 0, 50}, {100, 50, 0, 0}};
    for (const auto& c : corners) {
        for (bool invert : {false, true}) {
            WindowMapping ordered(401, 201);
            WindowMapping swapped(401, 201);
            bool reordered = false;
            ASSERT_TRUE(ordered.set_window(invert, 0, 0, 100, 50, reordered));
            ASSERT_TRUE(swapped.set_window(invert, c[0], c[1], c[2], c[3], reordered));
            EXPECT_TRUE(reordered);
            for (WindowPoint p : {WindowPoint{0, 0}, WindowPoint{100, 50}, WindowPoint{33, 17}})
                EXPECT_EQ(swapped.to_pixel(p), ordered.to_pixel(p));
        }
    }
}

TEST(WindowMapping, OpeningMappingIsPixelsAndEqualBoundsAreRefusedKeepingTheMapping)
{
    const WindowMapping opening(40, 30);
    EXPECT_EQ(opening.to_pixel({0, 0}), (PixelPoint{0, 0}));
    EXPECT_EQ(opening.to_pixel({39, 29}), (PixelPoint{39, 29}));
    EXPECT_EQ(opening.to_window({12, 7}), (WindowPoint{12, 7}));

    WindowMapping mapping(401, 201);
    bool reordered = false;
    ASSERT_TRUE(mapping.set_window(false, 0, 0, 100, 50, reordered));
    EXPECT_FALSE(mapping.set_window(false, 7, 0, 7, 50, reordered));
    EXPECT_FALSE(mapping.set_window(false, 0, 3, 100, 3, reordered));
    EXPECT_EQ(mapping.to_pixel({100, 50}), (PixelPoint{400, 200}));
}

TEST(WindowMapping, PixelToWindowToPixelRoundTrip)
{
    // Window -> pixel -> window lands within half a pixel; pixel -> window -> pixel is exact.
    struct Window {
        bool invert;
        double x1, y1, x2, y2;
    };
    const Window windows[] = {{false, 0, 0, 100, 50},
                              {true, -3.7, 12.5, 88.1, -40.25},
                              {true, 1e-3, 2e-3, 5e-3, 9e-3},
                              {false, -1e6, -2e6, 3e6, 1e6}};
    for (const Window& w : windows) {
        WindowMapping mapping(401, 201);
        bool reordered = false;
        ASSERT_TRUE(mapping.set_window(w.invert, w.x1, w.y1, w.x2, w.y2, reordered));
        const double half_x = 0.5 * (mapping.x_hi() - mapping.x_lo()) / 400;
        const double half_y = 0.5 * (mapping.y_hi() - mapping.y_lo()) / 200;
        for (int px = 0; px <= 400; px += 7) {
            for (int py = 0; py <= 200; py += 11) {
                const WindowPoint back = mapping.to_window({px, py});
                EXPECT_EQ(mapping.to_pixel(back), (PixelPoint{px, py}));
                // A point inside the pixel maps to it and back to within half a pixel.
                const WindowPoint inside{back.x + 0.4 * half_x, back.y - 0.4 * half_y};
                const WindowPoint again = mapping.to_window(mapping.to_pixel(inside));
                EXPECT_LE(std::abs(again.x - inside.x), half_x * 1.000001);
                EXPECT_LE(std::abs(again.y - inside.y), half_y * 1.000001);
            }
        }
    }
}

TEST(WindowMapping, SinglePixelAreaHasNoDivisionByZero)
{
    WindowMapping mapping(1, 1);
    bool reordered = false;
    ASSERT_TRUE(mapping.set_window(false, 5, 5, 10, 10, reordered));
    EXPECT_EQ(mapping.to_pixel({7, 9}), (PixelPoint{0, 0}));
    const WindowPoint p = mapping.to_window({0, 0});
    EXPECT_EQ(p, (WindowPoint{5, 5}));
}

// The same mapping through the surface: status codes and the refused call.
TEST(SurfaceMapping, StatusOfSetWindowAndMoveToReturnsThePreviousPositionInWindowCoordinates)
{
    DrawSurface surface(401, 201);
    EXPECT_EQ(surface.set_window(false, 0, 0, 100, 50), 1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    EXPECT_EQ(surface.set_window(true, 0, 50, 100, 0), 1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 3);
    EXPECT_EQ(surface.to_pixel({0, 0}), (PixelPoint{0, 200}));
    EXPECT_EQ(surface.set_window(false, 5, 0, 5, 50), 0);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    EXPECT_EQ(surface.to_pixel({0, 0}), (PixelPoint{0, 200})); // still the inverted mapping
    EXPECT_EQ(surface.get_window_coord(400, 0), (WindowPoint{100, 50}));
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);

    DrawSurface opened(401, 201);
    EXPECT_EQ(opened.current_position(), (PixelPoint{200, 100})); // the centre when opened
    opened.set_window(false, 0, 0, 100, 50);
    EXPECT_EQ(opened.move_to_w(10, 20), (WindowPoint{50, 25}));
    EXPECT_EQ(opened.current_position(), (PixelPoint{40, 80}));
    EXPECT_EQ(opened.move_to_w(0, 0), (WindowPoint{10, 20}));
}

} // namespace
} // namespace vorax::gwl
