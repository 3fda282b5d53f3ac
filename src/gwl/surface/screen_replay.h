// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drawing record (draw_record.h) drawn again on a screen's image, magnified: what a graph
// window shows above 1:1. Lines and outlines stay one screen pixel wide; marks, fills and texts
// grow with the magnification. Everything goes straight into the image's pixels through the
// rasteriser (raster.h): a magnified view of a large graph draws a hundred thousand operations,
// which a general painter's paths and scaled glyph outlines make far too slow.
//
// Contents: replay_on_screen.

#include <cstdint>
#include <vector>

#include "gwl/surface/raster.h"

class QPoint;
class QRect;
class QSize;

namespace vorax::gwl {

class DrawRecord;

// Draws the record on a screen's image magnified `scale` times, the drawing area's corner at
// -offset, only within `part` of the image: lines one screen pixel wide, texts and marks grown.
// A painter must not be drawing on the image meanwhile. Only `only` of the operations, when
// given (indices in drawing order).
void replay_on_screen(const DrawRecord& record, const raster::PixelBuffer& image, const QSize& area, double scale,
                      QPoint offset, const QRect& part, const std::vector<std::uint32_t>* only = nullptr);

} // namespace vorax::gwl
