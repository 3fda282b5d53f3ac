// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom pick: a rubber band dragged with the left mouse button over the last graph window,
// and the nodes whose plot positions lie inside it.

#include <optional>
#include <vector>

#include "gwl/types.h"
#include "model/structure_model.h"

namespace vorax::gwl {
class DrawSurface;
class GraphicsWindow;
} // namespace vorax::gwl

namespace vorax {

// The picked rectangle: where the left button went down and where the pointer was at the last
// event (the release). The corners come in any order.
struct ZoomRectangle {
    gwl::WindowPoint p0;
    gwl::WindowPoint p1;
};

// The window rectangle of the graph being zoomed, in its window coordinates.
struct ZoomWindow {
    double x1 = 0.0;
    double x2 = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
    bool reverse_vertical = false; // the window's y axis points down
};

// Pause lengths of the band's display, in milliseconds.
inline constexpr int kBandPauseMs = 100;
inline constexpr int kFinalBandPauseMs = 800;

// Lets the user drag the rectangle: saves the picture, waits for the left button, shows the
// dotted band between the press point and the pointer at every event (at least 100 ms each and
// until the next event, 800 ms after the release), restoring the picture before the next band
// and at the end. Nothing when the window went away meanwhile.
// The line style is left dotted.
std::optional<ZoomRectangle> pick_zoom_rectangle(gwl::GraphicsWindow& window,
                                                 const ZoomWindow& area);

// The dotted band in the current drawing colour.
void draw_rubber_band(gwl::DrawSurface& surface, const ZoomRectangle& band);
// The band drawn over in white with the line style in force, then solid lines again.
void erase_rubber_band(gwl::DrawSurface& surface, const ZoomRectangle& band);

// Marks the nodes whose plot positions lie in the rectangle (edges included) as selected and
// every other node as not selected; returns how many were selected. Only the nodes that the
// last graph drew (`drawn`, by node number - 1) can be selected: the others keep plot positions
// of an older graph, or none.
std::int32_t select_nodes_in_rectangle(StructureModel& model, const ZoomRectangle& rectangle,
                                       const std::vector<bool>& drawn);

} // namespace vorax
