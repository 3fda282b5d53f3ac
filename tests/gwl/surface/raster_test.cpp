// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "gwl/surface/raster.h"

namespace vorax::gwl::raster {
namespace {

constexpr std::uint32_t kInk = 0xFF000000u;
constexpr std::uint32_t kPaper = 0xFFFFFFFFu;

struct Canvas {
    Canvas(int w, int h) : pixels(static_cast<std::size_t>(w * h), kPaper), buffer{nullptr, w, h, w}
    {
        buffer.bits = pixels.data();
    }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * buffer.width + x)]; }
    std::set<std::pair<int, int>> inked() const
    {
        std::set<std::pair<int, int>> set;
        for (int y = 0; y < buffer.height; ++y)
            for (int x = 0; x < buffer.width; ++x)
                if (at(x, y) == kInk)
                    set.insert({x, y});
        return set;
    }
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer;
};

long long floor_div(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The line as defined, one pixel per step along the longer axis, computed directly for every
// step without clipping or incremental error terms.
std::vector<std::pair<int, int>> reference_line(PixelPoint a, PixelPoint b)
{
    const long long dx = b.x - a.x;
    const long long dy = b.y - a.y;
    const long long adx = std::llabs(dx);
    const long long ady = std::llabs(dy);
    const long long n = std::max(adx, ady);
    std::vector<std::pair<int, int>> pixels;
    for (long long i = 0; i <= n; ++i) {
        if (n == 0) {
            pixels.push_back({a.x, a.y});
        } else if (adx >= ady) {
            const long long m = floor_div(2 * i * ady + adx, 2 * adx);
            pixels.push_back({static_cast<int>(a.x + (dx < 0 ? -i : i)),
                              static_cast<int>(a.y + (dy < 0 ? -m : m))});
        } else {
            const long long m = floor_div(2 * i * adx + ady, 2 * ady);
            pixels.push_back({static_cast<int>(a.x + (dx < 0 ? -m : m)),
                              static_cast<int>(a.y + (dy < 0 ? -i : i))});
        }
    }
    return pixels;
}

void expect_matches_reference(PixelPoint a, PixelPoint b, int range)
{
    Canvas canvas(60, 40);
    const ClipOutcome outcome =
        draw_line(canvas.buffer, a, b, kInk, LinePattern(PenStyle::solid));
    std::set<std::pair<int, int>> expected;
    std::size_t total = 0;
    for (const auto& p : reference_line(a, b)) {
        ++total;
        if (canvas.buffer.contains(p.first, p.second))
            expected.insert(p);
    }
    ASSERT_EQ(canvas.inked(), expected)
        << "line (" << a.x << "," << a.y << ")-(" << b.x << "," << b.y << ") range " << range;
    const ClipOutcome wanted = expected.empty()            ? ClipOutcome::outside
                               : expected.size() == total ? ClipOutcome::inside
                                                          : ClipOutcome::partly;
    EXPECT_EQ(outcome, wanted);
}

TEST(RasterLine, EqualsTheReferenceOnRandomLines)
{
    std::mt19937 random(12345);
    for (int range : {10, 100, 3000}) {
        std::uniform_int_distribution<int> coordinate(-range, 60 + range);
        for (int k = 0; k < 1500; ++k) {
            const PixelPoint a{coordinate(random), coordinate(random) * 2 / 3};
            const PixelPoint b{coordinate(random), coordinate(random) * 2 / 3};
            expect_matches_reference(a, b, range);
        }
    }
}

TEST(RasterLine, EqualsTheReferenceOnEveryDirection)
{
    // All lines from the centre to the border of a square, and their reverses.
    for (int t = -15; t <= 15; ++t) {
        for (const PixelPoint end : {PixelPoint{30 + t, 5}, PixelPoint{30 + t, 35},
                                     PixelPoint{15, 20 + t}, PixelPoint{45, 20 + t}}) {
            expect_matches_reference({30, 20}, end, 0);
            expect_matches_reference(end, {30, 20}, 0);
        }
    }
}

TEST(RasterLine, CoversBothEndPixelsAndOnePixelPerStep)
{
    Canvas canvas(60, 40);
    draw_line(canvas.buffer, {3, 4}, {50, 30}, kInk, LinePattern(PenStyle::solid));
    EXPECT_EQ(canvas.at(3, 4), kInk);
    EXPECT_EQ(canvas.at(50, 30), kInk);
    EXPECT_EQ(canvas.inked().size(), 48u); // 47 steps along x
}

TEST(RasterLine, FarEndPointsAreClippedWithoutWalkingTheWholeLine)
{
    // A line of about 2^29 steps crossing the canvas: only the visible part is drawn.
    Canvas canvas(60, 40);
    const ClipOutcome outcome = draw_line(canvas.buffer, {-(1 << 28), 20}, {(1 << 28), 21}, kInk,
                                          LinePattern(PenStyle::solid));
    EXPECT_EQ(outcome, ClipOutcome::partly);
    EXPECT_EQ(canvas.inked().size(), 60u);
    EXPECT_EQ(draw_line(canvas.buffer, {-(1 << 28), -5}, {(1 << 28), -5}, kInk,
                        LinePattern(PenStyle::solid)),
              ClipOutcome::outside);
}

TEST(LineStyle, NumberOfSetBitsChoosesThePen)
{
    struct Case {
        std::uint16_t mask;
        PenStyle style;
    };
    const Case cases[] = {{0xFFFF, PenStyle::solid},      {0xFFFE, PenStyle::dash},
                          {0x07FF, PenStyle::dash},       {0x03FF, PenStyle::dash_dot},
                          {0x01FF, PenStyle::dash_dot_dot}, {0xAAAA, PenStyle::dot},
                          {0x0001, PenStyle::dot},        {0x0000, PenStyle::invisible}};
    for (const Case& c : cases)
        EXPECT_EQ(pen_style_for_mask(c.mask), c.style) << std::hex << c.mask;
}

TEST(LineStyle, PatternsDrawOnlyPartOfTheReferencePixels)
{
    for (PenStyle style :
         {PenStyle::dash, PenStyle::dash_dot, PenStyle::dash_dot_dot, PenStyle::dot}) {
        Canvas canvas(60, 40);
        draw_line(canvas.buffer, {0, 10}, {59, 10}, kInk, LinePattern(style));
        const auto inked = canvas.inked();
        EXPECT_GT(inked.size(), 10u);
        EXPECT_LT(inked.size(), 60u);
        EXPECT_EQ(canvas.at(0, 10), kInk); // every pattern starts on
        for (const auto& p : inked)
            EXPECT_EQ(p.second, 10);
        // Its gaps are of one length: dots stand evenly between the dashes.
        std::set<int> gaps;
        for (int x = 1, gap = 0; x < 60; ++x) {
            gap = canvas.at(x, 10) == kInk ? 0 : gap + 1;
            if (gap > 0 && x + 1 < 60 && canvas.at(x + 1, 10) == kInk)
                gaps.insert(gap);
        }
        EXPECT_EQ(gaps.size(), 1u);
    }
    Canvas dotted(60, 40);
    draw_line(dotted.buffer, {0, 0}, {9, 0}, kInk, LinePattern(PenStyle::dot));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(dotted.at(x, 0), x % 2 == 0 ? kInk : kPaper) << x;
    Canvas none(60, 40);
    EXPECT_EQ(draw_line(none.buffer, {0, 0}, {59, 39}, kInk, LinePattern(PenStyle::invisible)),
              ClipOutcome::inside);
    EXPECT_TRUE(none.inked().empty());
}

TEST(LineStyle, PatternContinuesAroundAClosedOutline)
{
    // A dotted square of side 10: along the way round, the pixel at (x, y) has index x + y or
    // a number of the same parity, so exactly the boundary pixels with even x + y are inked.
    Canvas canvas(40, 30);
    const PixelPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    draw_outline(canvas.buffer, square, kInk, LinePattern(PenStyle::dot));
    std::set<std::pair<int, int>> expected;
    for (int k = 0; k <= 10; ++k)
        for (const auto& p : {std::pair{k, 0}, std::pair{k, 10}, std::pair{0, k}, std::pair{10, k}})
            if ((p.first + p.second) % 2 == 0)
                expected.insert(p);
    EXPECT_EQ(canvas.inked(), expected);
    EXPECT_EQ(expected.size(), 20u);
}

TEST(Fill, PatternIsAlignedToTheBuffer)
{
    Canvas canvas(40, 30);
    Fill fill{kInk, 0xFF00FF00u, std::array<std::uint8_t, 8>{0x80, 0, 0, 0, 0, 0, 0, 0x01}};
    fill_rectangle(canvas.buffer, 3, 2, 35, 27, fill);
    for (int y = 2; y <= 27; ++y) {
        for (int x = 3; x <= 35; ++x) {
            const bool set = (y % 8 == 0 && x % 8 == 0) || (y % 8 == 7 && x % 8 == 7);
            ASSERT_EQ(canvas.at(x, y), set ? kInk : 0xFF00FF00u) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.at(2, 2), kPaper);
    EXPECT_EQ(canvas.at(36, 27), kPaper);
}

TEST(Ellipse, StaysInItsBoxTouchesEverySideAndIsSymmetric)
{
    for (int w = 1; w <= 17; ++w) {
        for (int h = 1; h <= 13; ++h) {
            for (bool filled : {false, true}) {
                Canvas canvas(40, 30);
                const Fill fill{kInk, kInk, std::nullopt};
                const int left = 5, top = 4, right = left + w - 1, bottom = top + h - 1;
                draw_ellipse(canvas.buffer, left, top, right, bottom, kInk, filled ? &fill : nullptr);
                const auto inked = canvas.inked();
                bool touches_left = false, touches_right = false, touches_top = false,
                     touches_bottom = false;
                for (const auto& [x, y] : inked) {
                    ASSERT_TRUE(x >= left && x <= right && y >= top && y <= bottom);
                    touches_left |= x == left;
                    touches_right |= x == right;
                    touches_top |= y == top;
                    touches_bottom |= y == bottom;
                    EXPECT_TRUE(inked.count({left + right - x, y})) << w << "x" << h;
                    EXPECT_TRUE(inked.count({x, top + bottom - y})) << w << "x" << h;
                }
                EXPECT_TRUE(touches_left && touches_right && touches_top && touches_bottom)
                    << w << "x" << h;
                if (w == 1 && h == 1) {
                    EXPECT_EQ(inked.size(), 1u);
                }
                if (!filled && w >= 5 && h >= 5) {
                    EXPECT_EQ(canvas.at((left + right) / 2, (top + bottom) / 2), kPaper)
                        << w << "x" << h;
                }
                if (filled) {
                    // Every row is one unbroken run.
                    for (int y = top; y <= bottom; ++y) {
                        int runs = 0;
                        for (int x = left; x <= right + 1; ++x)
                            runs += canvas.at(x, y) == kInk && canvas.at(x - 1, y) != kInk;
                        EXPECT_EQ(runs, 1) << w << "x" << h << " row " << y;
                    }
                }
            }
        }
    }
}

TEST(Ellipse, OutlineIsTheBorderOfTheFilledShape)
{
    Canvas outline(40, 30);
    Canvas filled(40, 30);
    const Fill fill{0xFF123456u, 0, std::nullopt};
    draw_ellipse(outline.buffer, 3, 2, 30, 20, kInk, nullptr);
    draw_ellipse(filled.buffer, 3, 2, 30, 20, kInk, &fill);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            // Outline pixels are the same in both; the filled one adds only interior colour.
            if (outline.at(x, y) == kInk) {
                EXPECT_EQ(filled.at(x, y), kInk);
            } else if (filled.at(x, y) != kPaper) {
                EXPECT_EQ(filled.at(x, y), 0xFF123456u);
            }
        }
    }
}

TEST(Ellipse, HugeBoxesAreClipped)
{
    Canvas canvas(40, 30);
    draw_ellipse(canvas.buffer, -(1 << 27), -(1 << 27), 1 << 27, 1 << 27, kInk, nullptr);
    EXPECT_TRUE(canvas.inked().empty()); // the rim is far outside
    const Fill fill{kInk, kInk, std::nullopt};
    draw_ellipse(canvas.buffer, -(1 << 27), -(1 << 27), 1 << 27, 1 << 27, kInk, &fill);
    EXPECT_EQ(canvas.inked().size(), 40u * 30u);
}

TEST(Polygon, FillsPixelsWhoseCentreIsInsideByTheEvenOddRule)
{
    Canvas canvas(40, 30);
    const PixelPoint square[] = {{5, 5}, {20, 5}, {20, 15}, {5, 15}};
    fill_polygon(canvas.buffer, square, Fill{kInk, kInk, std::nullopt});
    // Centres on the left and top edges count, the right and bottom edges do not.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(canvas.at(x, y), (x >= 5 && x < 20 && y >= 5 && y < 15) ? kInk : kPaper);

    Canvas star_canvas(40, 30);
    // A five-pointed star: its middle pentagon is crossed twice and stays empty.
    const PixelPoint star[] = {{20, 1}, {31, 28}, {3, 11}, {37, 11}, {9, 28}};
    fill_polygon(star_canvas.buffer, star, Fill{kInk, kInk, std::nullopt});
    EXPECT_EQ(star_canvas.at(20, 15), kPaper);
    EXPECT_EQ(star_canvas.at(20, 6), kInk);
}

} // namespace
} // namespace vorax::gwl::raster
