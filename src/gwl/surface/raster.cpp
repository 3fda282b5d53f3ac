// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <vector>

namespace vorax::gwl::raster {

namespace {

// Products of two coordinates of up to 2^30 squared need more than 64 bits.
__extension__ typedef __int128 Wide;

long long ceil_div(long long numerator, long long denominator) // both >= 0, denominator > 0
{
    return (numerator + denominator - 1) / denominator;
}

// Run lengths alternate on, off, on, ... starting with on.
std::uint32_t pattern_bits(std::span<const int> runs, int& period)
{
    std::uint32_t bits = 0;
    period = 0;
    bool on = true;
    for (int run : runs) {
        for (int k = 0; k < run; ++k, ++period)
            if (on)
                bits |= 1u << period;
        on = !on;
    }
    return bits;
}

} // namespace

PenStyle pen_style_for_mask(std::uint16_t mask)
{
    const int n = std::popcount(mask);
    if (n == 16)
        return PenStyle::solid;
    if (n >= 11)
        return PenStyle::dash;
    if (n == 10)
        return PenStyle::dash_dot;
    if (n == 9)
        return PenStyle::dash_dot_dot;
    if (n >= 1)
        return PenStyle::dot;
    return PenStyle::invisible;
}

std::span<const int> dash_runs(PenStyle style)
{
    static constexpr int kDash[] = {6, 3};
    static constexpr int kDashDot[] = {6, 2, 2, 2};
    static constexpr int kDashDotDot[] = {6, 2, 2, 2, 2, 2};
    static constexpr int kDot[] = {1, 1};
    switch (style) {
    case PenStyle::dash: return kDash;
    case PenStyle::dash_dot: return kDashDot;
    case PenStyle::dash_dot_dot: return kDashDotDot;
    case PenStyle::dot: return kDot;
    case PenStyle::solid:
    case PenStyle::invisible: break;
    }
    return {};
}

LinePattern::LinePattern(PenStyle style) : style_(style)
{
    switch (style) {
    case PenStyle::solid: bits_ = 1; period_ = 1; break;
    case PenStyle::invisible: bits_ = 0; period_ = 1; break;
    default: bits_ = pattern_bits(dash_runs(style), period_); break;
    }
}


ClipOutcome draw_line(const PixelBuffer& buffer, PixelPoint a, PixelPoint b, std::uint32_t color,
                      const LinePattern& pattern, long long phase)
{
    const long long dx = static_cast<long long>(b.x) - a.x;
    const long long dy = static_cast<long long>(b.y) - a.y;
    const bool x_major = std::llabs(dx) >= std::llabs(dy);
    // Work along the longer ("major") axis; the shorter one is the "minor" axis.
    const long long major_len = x_major ? std::llabs(dx) : std::llabs(dy);
    const long long minor_len = x_major ? std::llabs(dy) : std::llabs(dx);
    const int major_sign = (x_major ? dx : dy) < 0 ? -1 : 1;
    const int minor_sign = (x_major ? dy : dx) < 0 ? -1 : 1;
    const long long major0 = x_major ? a.x : a.y;
    const long long minor0 = x_major ? a.y : a.x;
    const long long major_size = x_major ? buffer.width : buffer.height;
    const long long minor_size = x_major ? buffer.height : buffer.width;

    // The steps i in [first, last] whose pixel lies inside the buffer.
    long long first = 0;
    long long last = major_len;
    if (major_sign > 0) {
        first = std::max(first, -major0);
        last = std::min(last, major_size - 1 - major0);
    } else {
        first = std::max(first, major0 - (major_size - 1));
        last = std::min(last, major0);
    }
    // The minor offset m(i) is non-decreasing in i; it has to stay within [m_lo, m_hi].
    const long long m_lo = minor_sign > 0 ? -minor0 : minor0 - (minor_size - 1);
    const long long m_hi = minor_sign > 0 ? minor_size - 1 - minor0 : minor0;
    if (minor_len == 0) {
        if (m_lo > 0 || m_hi < 0)
            last = -1;
    } else {
        // m(i) >= k  <=>  i >= D (2k - 1) / (2d);  m(i) <= K  <=>  i < D (2K + 1) / (2d).
        if (m_lo > 0)
            first = std::max(first, ceil_div(major_len * (2 * m_lo - 1), 2 * minor_len));
        if (m_hi < 0)
            last = -1;
        else
            last = std::min(last, ceil_div(major_len * (2 * m_hi + 1), 2 * minor_len) - 1);
    }
    if (first > last)
        return ClipOutcome::outside;
    const ClipOutcome outcome =
        (first == 0 && last == major_len) ? ClipOutcome::inside : ClipOutcome::partly;
    if (pattern.invisible())
        return outcome;

    const long long two_major = 2 * major_len;
    // Where the first drawn step lies across, and the error term there. A line that starts
    // inside (most of them) starts at offset 0 with half a step of error, without the division.
    long long minor_offset = 0;
    long long remainder = major_len;
    if (first > 0) {
        const long long numerator = 2 * first * minor_len + major_len;
        minor_offset = numerator / two_major;
        remainder = numerator % two_major;
    }
    const long long major_pos = major0 + major_sign * first;
    const long long minor_pos = minor0 + minor_sign * minor_offset;
    const long long x = x_major ? major_pos : minor_pos;
    const long long y = x_major ? minor_pos : major_pos;
    std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(y * buffer.stride + x);
    const std::ptrdiff_t major_step = x_major ? major_sign : major_sign * buffer.stride;
    const std::ptrdiff_t minor_step = x_major ? minor_sign * buffer.stride : minor_sign;
    const long long two_minor = 2 * minor_len;
    std::uint32_t* const bits = buffer.bits;

    // One loop for both cases; the solid one, which graphs draw by the thousand, is compiled
    // without the pattern test.
    const auto walk = [&](auto patterned) {
        for (long long i = first;; ++i) {
            if (!decltype(patterned)::value || pattern.on(phase + i))
                bits[offset] = color;
            if (i == last)
                break;
            offset += major_step;
            remainder += two_minor;
            if (remainder >= two_major) {
                remainder -= two_major;
                offset += minor_step;
            }
        }
    };
    if (pattern.solid())
        walk(std::false_type{});
    else
        walk(std::true_type{});
    return outcome;
}

void draw_outline(const PixelBuffer& buffer, std::span<const PixelPoint> points,
                  std::uint32_t color, const LinePattern& pattern)
{
    long long phase = 0;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const PixelPoint from = points[k];
        const PixelPoint to = points[(k + 1) % points.size()];
        draw_line(buffer, from, to, color, pattern, phase);
        // The next side starts on this side's last pixel, which had index `phase + steps`.
        phase += std::max(std::llabs(static_cast<long long>(to.x) - from.x),
                          std::llabs(static_cast<long long>(to.y) - from.y));
    }
}

void fill_span(const PixelBuffer& buffer, int y, int x0, int x1, const Fill& fill)
{
    if (y < 0 || y >= buffer.height)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, buffer.width - 1);
    if (x0 > x1)
        return;
    std::uint32_t* row = buffer.bits + static_cast<std::ptrdiff_t>(y) * buffer.stride;
    if (!fill.mask) {
        std::fill(row + x0, row + x1 + 1, fill.fore);
        return;
    }
    for (int x = x0; x <= x1; ++x)
        row[x] = mask_sets(*fill.mask, x, y) ? fill.fore : fill.back;
}

void fill_rectangle(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                    const Fill& fill)
{
    for (int y = std::max(top, 0); y <= std::min(bottom, buffer.height - 1); ++y)
        fill_span(buffer, y, left, right, fill);
}

namespace {

// The ellipse of a box in exact integer terms. With A and B the box's width and height, the
// pixel (x, y) belongs to the ellipse when its centre lies inside the ellipse through the box's
// outer edges: (DX / A)^2 + (DY / B)^2 <= 1, where DX = 2x - left - right is twice the centre's
// horizontal distance from the middle, and DY likewise. Very flat or very narrow boxes would
// lose their end pixels that way, so the middle row (two rows for an even height) always spans
// the whole box and every row keeps its middle pixel: the ellipse touches all four sides.
class EllipseRows {
public:
    EllipseRows(long long left, long long top, long long right, long long bottom)
        : left_(left), top_(top), right_(right), bottom_(bottom),
          a2_(static_cast<Wide>(right - left + 1) * (right - left + 1)),
          b2_(static_cast<Wide>(bottom - top + 1) * (bottom - top + 1))
    {
    }

    bool has_row(long long y) const { return y >= top_ && y <= bottom_; }

    // The leftmost pixel of row y.
    long long row_left(long long y) const
    {
        if (std::llabs(2 * y - top_ - bottom_) <= 1)
            return left_;
        const long long middle = (left_ + right_) >> 1; // floor: the middle, or the left of two
        if (!inside(middle, y))
            return middle;
        long long lo = left_;
        long long hi = middle;
        while (lo < hi) {
            const long long mid = lo + ((hi - lo) >> 1);
            if (inside(mid, y))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    }
    long long mirror(long long x) const { return left_ + right_ - x; }

private:
    bool inside(long long x, long long y) const
    {
        const Wide dx = 2 * x - left_ - right_;
        const Wide dy = 2 * y - top_ - bottom_;
        return dx * dx * b2_ + dy * dy * a2_ <= a2_ * b2_;
    }

    long long left_, top_, right_, bottom_;
    Wide a2_, b2_;
};

} // namespace

void draw_ellipse(const PixelBuffer& buffer, int left, int top, int right, int bottom,
                  std::uint32_t outline, const Fill* interior)
{
    const EllipseRows rows(left, top, right, bottom);
    constexpr long long none = std::numeric_limits<long long>::max();
    const Fill outline_fill{outline, outline, std::nullopt};
    // Each row's left end is found once, as the row below of one row, itself, and the row above
    // of the next.
    const auto left_of = [&rows](long long y) { return rows.has_row(y) ? rows.row_left(y) : none; };
    const long long first = std::max<long long>(top, 0);
    const long long last = std::min(bottom, buffer.height - 1);
    long long above = left_of(first - 1);
    long long here = left_of(first);
    for (long long y = first; y <= last; ++y) {
        const long long below = left_of(y + 1);
        const long long xl = here;
        const long long xr = rows.mirror(xl);
        const int row = static_cast<int>(y);
        if (interior)
            fill_span(buffer, row, static_cast<int>(xl), static_cast<int>(xr), *interior);
        // A pixel is on the outline when the pixel above or below it is outside, so the
        // outline of a row runs from its left end to where the narrower of the rows above and
        // below begins (a row beyond the box is empty: the whole row is outline).
        const long long inner = std::max(above, below);
        const long long end = inner == none ? xr : std::min(std::max(xl, inner - 1), xr);
        fill_span(buffer, row, static_cast<int>(xl), static_cast<int>(end), outline_fill);
        fill_span(buffer, row, static_cast<int>(rows.mirror(end)), static_cast<int>(xr), outline_fill);
        above = here;
        here = below;
    }
}

void fill_polygon(const PixelBuffer& buffer, std::span<const PixelPoint> points, const Fill& fill)
{
    if (points.size() < 3)
        return;
    int y_min = points[0].y;
    int y_max = points[0].y;
    for (const PixelPoint& p : points) {
        y_min = std::min(y_min, p.y);
        y_max = std::max(y_max, p.y);
    }
    std::vector<double> crossings;
    const std::size_t n = points.size();
    for (int y = std::max(y_min, 0); y <= std::min(y_max, buffer.height - 1); ++y) {
        crossings.clear();
        for (std::size_t k = 0; k < n; ++k) {
            const PixelPoint p = points[k];
            const PixelPoint q = points[(k + 1) % n];
            if (p.y == q.y)
                continue;
            // Half-open in y, so that a vertex shared by two edges counts once.
            if (y < std::min(p.y, q.y) || y >= std::max(p.y, q.y))
                continue;
            crossings.push_back(p.x + static_cast<double>(y - p.y) * (q.x - p.x) / (q.y - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Pixels whose centre x lies in [from, to).
            const double from = std::ceil(crossings[k]);
            const double to = std::ceil(crossings[k + 1]) - 1.0;
            if (from <= to)
                fill_span(buffer, y, static_cast<int>(from), static_cast<int>(to), fill);
        }
    }
}

} // namespace vorax::gwl::raster
