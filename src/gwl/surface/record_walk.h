// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one walk through a drawing record (draw_record.h) that every vector output shares: the
// QPainter replay (vector_output.h) and the direct writers of SVG text and PDF content
// (vector_writers.h) receive the same calls and only say them in their own terms.
//
// The walk resolves what the record leaves implicit: lines that continue one another become one
// polyline (a point that goes straight on in the same direction replaces the one before it, so a
// straight run of many lines is one segment); a line from a pixel to itself, a box one pixel thin
// and a cell behind layer text are boxes of pixels; a patterned fill becomes the runs of pixels
// of each of its two colours, found by filling the shape as the rasteriser does. Nothing here
// knows Qt.
//
// Coordinates are the surface's pixels: a box (x, y, w, h) covers whole pixels, lines and
// outlines run through pixel centres, so a point (x, y) stands for (x + 0.5, y + 0.5).
//
// Contents: LinePen, Shape, VectorSink, walk_record.

#include <cstdint>
#include <vector>
#include <span>
#include <string_view>

#include "core/color.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/raster.h"
#include "gwl/types.h"

namespace vorax::gwl {

// How lines and outlines are stroked: one pixel wide, solid with square caps (covering the end
// pixels) or patterned with flat caps and the style's dash runs in pixels.
struct LinePen {
    Rgb color = kBlack;
    raster::PenStyle style = raster::PenStyle::solid; // never invisible when drawn
    friend bool operator==(const LinePen&, const LinePen&) = default;
};

// A rectangle, an ellipse or a polygon of the record: kind, its box a..c x b..d (inclusive
// pixels) and, for a polygon, its points.
struct Shape {
    RecordOp kind = RecordOp::rectangle;
    int a = 0, b = 0, c = 0, d = 0;
    std::span<const PixelPoint> points;
};

class VectorSink {
public:
    virtual ~VectorSink() = default;
    // Whole pixels in one colour.
    virtual void fill_box(const PixelRect& box, Rgb color) = 0;
    // Many boxes of one colour (the runs of a patterned fill).
    virtual void fill_boxes(std::span<const PixelRect> boxes, Rgb color) = 0;
    // A solid polyline through the centres of two or more points.
    virtual void polyline(const LinePen& pen, std::span<const PixelPoint> points) = 0;
    // A patterned line, reaching half a pixel beyond the centres of its two distinct ends.
    virtual void patterned_line(const LinePen& pen, PixelPoint from, PixelPoint to) = 0;
    // The outline of a shape through the centres of its edge pixels (an ellipse: inscribed in
    // the box of centres), at least two pixels wide and high unless a polygon.
    virtual void outline(const LinePen& pen, const Shape& shape) = 0;
    // The interior of a shape in one colour: a box or an ellipse over whole pixels, a polygon
    // through its points' centres filled by the even-odd rule.
    virtual void fill_shape(const Shape& shape, Rgb color) = 0;
    // An ellipse filled in one colour and outlined with a pen: fill_shape, then outline, unless
    // a writer paints both at once.
    virtual void fill_and_outline(const Shape& ellipse, Rgb color, const LinePen& pen)
    {
        fill_shape(ellipse, color);
        outline(pen, ellipse);
    }
    // A text (UTF-8) in the record's font `font_index`, its left end at x on the baseline.
    virtual void text(std::int32_t font_index, Rgb color, int x, int baseline, std::string_view text) = 0;
};

// Walks the operations of `record` in order onto `sink`, or those of `only` (indices, in
// drawing order); the drawing area is width x height pixels (a patterned fill is cut to it).
void walk_record(const DrawRecord& record, int width, int height, VectorSink& sink,
                 const std::vector<std::uint32_t>* only = nullptr);

} // namespace vorax::gwl
