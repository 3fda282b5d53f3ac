// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window mapping of a drawing surface: real window coordinates to pixels and back.
//
// This is the only place where the two kinds of coordinates meet. Everything that converts a
// WindowPoint to a PixelPoint (lines, shapes, text positions, images) goes through to_pixel, and
// everything that turns a pixel back into window coordinates (the mouse, the previous position
// of move_to_w) goes through to_window.
//
// Contents: round_half_away, WindowMapping.

#include <cstdint>

#include "gwl/types.h"

namespace vorax::gwl {

// Pixel coordinates are held within +-2^28 so that the rasteriser's exact integer arithmetic
// never overflows; anything that far out is off the drawing area anyway and clipped.
inline constexpr int kPixelLimit = 1 << 28;

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3) and clamps to +-kPixelLimit; NaN lands on
// the positive limit, which is off the drawing area. (Inline, as to_pixel: a large graph calls
// them for every end of every line.)
inline int round_half_away(double value)
{
    double r = value > 0.0 ? value + 0.5 : value - 0.5;
    constexpr double limit = kPixelLimit;
    if (!(r < limit))
        r = limit;
    if (r < -limit)
        r = -limit;
    return static_cast<int>(r); // the conversion drops the fraction
}

// The mapping of one drawing area of W x H pixels.
class WindowMapping {
public:
    // Window coordinates equal pixels: x 0..W-1, y 0..H-1, not inverted.
    WindowMapping(int width, int height);

    // Defines the window. Returns false (and changes nothing) when a pair of bounds is equal;
    // `reordered` tells whether a pair came in descending order.
    bool set_window(bool invert, double wx1, double wy1, double wx2, double wy2, bool& reordered);

    PixelPoint to_pixel(WindowPoint p) const
    {
        const int px = round_half_away((p.x - x_lo_) * sx_);
        const int dy = round_half_away((p.y - y_lo_) * sy_);
        return {px, invert_ ? (height_ - 1) - dy : dy};
    }
    WindowPoint to_window(PixelPoint p) const;

    bool inverted() const { return invert_; }
    double x_lo() const { return x_lo_; }
    double x_hi() const { return x_hi_; }
    double y_lo() const { return y_lo_; }
    double y_hi() const { return y_hi_; }

private:
    int width_;
    int height_;
    bool invert_ = false;
    double x_lo_ = 0.0;
    double x_hi_ = 0.0;
    double y_lo_ = 0.0;
    double y_hi_ = 0.0;
    double sx_ = 1.0;
    double sy_ = 1.0;
};

} // namespace vorax::gwl
