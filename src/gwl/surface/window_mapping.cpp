// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/window_mapping.h"

#include <algorithm>

namespace vorax::gwl {

WindowMapping::WindowMapping(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      x_hi_(static_cast<double>(std::max(width, 1) - 1)),
      y_hi_(static_cast<double>(std::max(height, 1) - 1))
{
    // A one-pixel-wide area has no span to scale over; its scale stays 1 (see to_window).
    if (width_ == 1)
        x_hi_ = 1.0;
    if (height_ == 1)
        y_hi_ = 1.0;
    sx_ = width_ == 1 ? 0.0 : 1.0;
    sy_ = height_ == 1 ? 0.0 : 1.0;
}

bool WindowMapping::set_window(bool invert, double wx1, double wy1, double wx2, double wy2,
                               bool& reordered)
{
    reordered = false;
    if (wx1 == wx2 || wy1 == wy2)
        return false;
    reordered = wx1 > wx2 || wy1 > wy2;
    invert_ = invert;
    x_lo_ = std::min(wx1, wx2);
    x_hi_ = std::max(wx1, wx2);
    y_lo_ = std::min(wy1, wy2);
    y_hi_ = std::max(wy1, wy2);
    sx_ = (width_ - 1) / (x_hi_ - x_lo_);
    sy_ = (height_ - 1) / (y_hi_ - y_lo_);
    return true;
}

WindowPoint WindowMapping::to_window(PixelPoint p) const
{
    // With a single pixel across there is nothing to divide by: every pixel is the low bound.
    const double x = width_ == 1 ? x_lo_ : x_lo_ + p.x * (x_hi_ - x_lo_) / (width_ - 1);
    const int rows_up = invert_ ? (height_ - 1) - p.y : p.y;
    const double y = height_ == 1 ? y_lo_ : y_lo_ + rows_up * (y_hi_ - y_lo_) / (height_ - 1);
    return {x, y};
}

} // namespace vorax::gwl
