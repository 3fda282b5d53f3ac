// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything in a graph window that is neither the structure nor a heading: the grid over the
// structure's front plane, the scale along its left and lower edges, the axis arrows at the
// model origin and the origin marker. All of it is drawn in the window coordinates of the
// graph's ViewMapping, which the graph has already given the surface.
//
// Contents: GridRect, scale_label, set_grid_steps, draw_grid, draw_scale, draw_axis_arrow,
// draw_axis_arrows, draw_origin_marker.

#include <string>

#include "graph/view_mapping.h"
#include "settings/graph_settings.h"

namespace vorax::gwl {
class DrawSurface;
}

namespace vorax {

// The grid rectangle in centred plot coordinates (adding the centre gives model coordinates).
// A view may draw the grid's across coordinate scaled or reversed (the scale's labels multiply
// the plot coordinate by label_scale_x), and the isometric view slants the grid: a point
// (x, y) of it is drawn at y + slope (x - origin_x), origin_x being where the model origin is
// drawn across.
struct GridRect {
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    double label_scale_x = 1.0;
    double slope = 0.0;
    double origin_x = 0.0;

    bool operator==(const GridRect&) const = default;
};

// The axis numbers of draw_axis_arrow.
inline constexpr int kAxisX = 1;
inline constexpr int kAxisY = 2;
inline constexpr int kAxisVertical = 3;

// The font of the scale labels and of the axis letters.
inline constexpr const char* kScaleFont = "t'tms rmn'h12b";
inline constexpr const char* kAxisFont = "t'tms rmn'h14be";

// A coordinate label: the value in 9 characters with 2 decimals, left-adjusted ("-12.50   "),
// nine asterisks when it does not fit.
std::string scale_label(double value);

// The grid steps of the view: a fifth of the grid's width, a tenth of its height.
void set_grid_steps(ViewMapping& view, const GridRect& grid);

// Grid lines in the grid colour: 11, 6 or 5 horizontal lines from the lower to the upper edge
// by the grid's share of the window height, 6 or 11 vertical ones by its share of the width.
// Uses the view's grid steps.
void draw_grid(gwl::DrawSurface& surface, const ViewMapping& view, const GraphSettings& settings,
               const GridRect& grid);

// Ticks and labels of the model coordinates in the scale colour, along the left and the lower
// grid edge, by the view's grid steps.
void draw_scale(gwl::DrawSurface& surface, const ViewMapping& view, const GraphSettings& settings,
                const GridRect& grid, double center_x, double center_y);

// One filled axis arrow with its letter at (px, py), in the current colour and font: axis 1 X,
// 3 the vertical axis ("Z " for a spatial model, "Y " for a plane one), 2 the Y axis at 45
// degrees.
void draw_axis_arrow(gwl::DrawSurface& surface, const ViewMapping& view,
                     const GraphSettings& settings, int NGL, double px, double py, int axis);

// The arrows of the axes a view shows, at (px, py) in the current colour and font:
//   oblique  X, the vertical axis, and Y at 45 degrees for a spatial model (as draw_axis_arrow)
//   front    X and Z
//   side     Y across (to the left when Y is reversed) and Z
//   plan     X and Y upright (down when Y is reversed)
//   iso      X and Y along their slanted directions, and Z
// A plane model gets the oblique entry's X and "Y " upright, whatever its settings' view.
void draw_axis_arrows(gwl::DrawSurface& surface, const ViewMapping& view,
                      const GraphSettings& settings, int NGL, double px, double py);

// The origin marker: a white disc with a black rim at the model origin (-center_x, -center_y).
// Leaves the drawing colour black.
void draw_origin_marker(gwl::DrawSurface& surface, const ViewMapping& view, double center_x,
                        double center_y);

} // namespace vorax
