// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FittedView: a whole drawing area shown in a viewport ("Size To Fit").
//
// The area is shrunk, never enlarged, with one scale for both axes, so that the structure keeps
// its proportions; it sits at the viewport's top-left corner, as it does at 1:1. Each viewport
// pixel shows a box of whole area pixels, and of its box the pixel that stands out most from the
// paper: a one-pixel line never drops out and no pixel is blended into grey, so thin lines and
// small numbers stay sharp. A mouse position maps to the first pixel of the box under it, the
// same box that the screen shows there.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "core/color.h"
#include "gwl/types.h"

namespace vorax::gwl {

class FittedView {
public:
    FittedView(QSize area, QSize viewport);

    // The size of the picture on screen: the area's own size when it fits the viewport.
    QSize shown() const { return shown_; }
    // The area pixel under a viewport position; beyond the shown picture it lies beyond the area.
    PixelPoint area_pixel_at(QPointF position) const;
    // The middle of the box under a viewport position, in area pixels with fractions.
    QPointF area_point_at(QPointF position) const;
    // How many area pixels a viewport pixel spans (the larger of the two directions).
    double area_pixels_per_view_pixel() const;
    // The viewport pixels whose boxes hold any of the area pixels.
    QRect view_rect_of(const PixelRect& pixels) const;
    // The viewport pixels `part` (clipped to the shown picture) of the area's image, each taken
    // from its box as the pixel farthest from the paper colour.
    QImage sample(const QImage& image, const QRect& part, Rgb paper) const;

private:
    QSize area_;
    QSize shown_;
};

} // namespace vorax::gwl
