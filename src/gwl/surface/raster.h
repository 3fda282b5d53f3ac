// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rasteriser of the drawing surface: exact pixels on a 32-bit pixel buffer.
//
// Lines, outlines, ellipses, polygon fills and 8 x 8 pattern fills are drawn here pixel by pixel
// rather than through a general painter, for two reasons: every pixel is defined (no
// antialiasing, no painter-version differences, the same pixels on screen and in a headless
// export), and the one-pixel solid line, which a graph draws by the thousand, runs at several
// million lines per second. Nothing here knows Qt.
//
// Contents: PixelBuffer, PenStyle and LinePattern, ClipOutcome, draw_line, draw_outline, Fill and
// fill_span,
// fill_rectangle, draw_ellipse, fill_polygon.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "gwl/types.h"

namespace vorax::gwl::raster {

// A view of W x H pixels of 32 bits each; `stride` counts pixels from one row to the next.
struct PixelBuffer {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t& at(int x, int y) const { return bits[y * stride + x]; }
};

// The pen styles a 16-bit line style mask chooses between (by its number of set bits).
enum class PenStyle { solid, dash, dash_dot, dash_dot_dot, dot, invisible };

PenStyle pen_style_for_mask(std::uint16_t mask);

// The pixel runs of a patterned pen style, alternately on and off, starting with on; none for
// the solid and the invisible style.
std::span<const int> dash_runs(PenStyle style);

// The on/off sequence of a pen style, repeated along a line and continued around an outline.
class LinePattern {
public:
    explicit LinePattern(PenStyle style);

    bool solid() const { return style_ == PenStyle::solid; }
    bool invisible() const { return style_ == PenStyle::invisible; }
    // Whether the pixel at `index` (counted along the line from the pattern's start) is drawn.
    bool on(long long index) const
    {
        return ((bits_ >> static_cast<unsigned>(index % period_)) & 1u) != 0;
    }

private:
    PenStyle style_;
    std::uint32_t bits_ = 1;
    int period_ = 1;
};

// Where a figure lay with respect to the drawing area.
enum class ClipOutcome { inside, partly, outside };

// Draws the line from `a` to `b`, both end pixels included, in `color`. Along the longer axis
// every step sets one pixel; the shorter coordinate at step i is a + floor((2 i d + D) / (2 D))
// (D the longer, d the shorter extent), so a half-way value goes away from `a`. `phase` is the
// pattern index of the pixel at `a`. Only pixels inside the buffer are touched, whatever the
// end points, and the work is proportional to the visible part.
ClipOutcome draw_line(const PixelBuffer& buffer, PixelPoint a, PixelPoint b, std::uint32_t color,
                      const LinePattern& pattern, long long phase = 0);

// The closed outline through `points` (the last joined back to the first), its pattern
// continuing from one side to the next.
void draw_outline(const PixelBuffer& buffer, std::span<const PixelPoint> points,
                  std::uint32_t color, const LinePattern& pattern);

// How an interior is filled: solid in `fore`, or with an 8 x 8 pattern aligned to pixel (0, 0)
// of the buffer (a set bit gives `fore`, a clear bit `back`; byte 0 is the top row, the most
// significant bit the leftmost pixel).
struct Fill {
    std::uint32_t fore = 0;
    std::uint32_t back = 0;
    std::optional<std::array<std::uint8_t, 8>> mask;
};

// Whether a fill mask (8 rows of 8 bits, the high bit leftmost) sets the pixel at x, y: the
// pattern repeats every 8 pixels from the drawing area's corner.
inline bool mask_sets(const std::array<std::uint8_t, 8>& mask, int x, int y)
{
    return ((mask[static_cast<std::size_t>(y & 7)] >> (7 - (x & 7))) & 1u) != 0;
}

// Fills the pixels x0..x1 (inclusive) of row y, clipped to the buffer.
void fill_span(const PixelBuffer& buffer, int y, int x0, int x1, const Fill& fill);

// Fills the box left..right x top..bottom (inclusive, ordered), clipped.
void fill_rectangle(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                    const Fill& fill);

// The ellipse inscribed in the box left..right x top..bottom (inclusive, ordered): the pixels
// whose centre lies inside the ellipse through the box's outer edges, with the middle row(s)
// reaching both sides and every row keeping its middle pixel, so that the ellipse touches all
// four sides and a one-pixel box is that pixel. The outline (the pixels of that set with a
// neighbour above, below, left or right outside it) is drawn solid in `outline`; with
// `interior` the whole set is filled first.
void draw_ellipse(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                  std::uint32_t outline, const Fill* interior);

// Fills the polygon through the pixel centres of `points` (closed, even-odd rule): a pixel is
// filled when its centre lies inside.
void fill_polygon(const PixelBuffer& buffer, std::span<const PixelPoint> points, const Fill& fill);

} // namespace vorax::gwl::raster
