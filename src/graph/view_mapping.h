// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The view of one graph: where the drawn nodes land in the drawing plane, the box they fill, the
// scaling ratio, and the real-coordinate window that the graph window maps onto its pixels.
//
// Contents:
//   ViewMapping          the window, drawing units, marker sizes and grid steps of a graph
//   Projection           plot positions from coordinates: the plane itself, or a view of the
//                        spatial model (oblique, front, side, plan, isometric), node by node
//   ViewPlane, view_plane   the coordinate plane of a view that carries the grid
//   PlotBox              bounding box of the plot positions, orientation and scaling ratio
//   plot_position_of, box_of_bounds   the box in pieces, for such a pass
//   center_nodes         plot positions centred on the box's centre
//   view_of              the window with its margins, and the units derived from it
//   scheme_name, graph_info_lines   what the info window hears about a new graph

#include <array>
#include <string>
#include <vector>

#include "core/bounds.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax {

// The view of the graph being drawn. Rewritten by every graph; the drawing of that graph and
// the zoom pick on it read it.
struct ViewMapping {
    double scaling_ratio = 1.0; // larger plot extent over the (factor-increased) smaller one
    int orientation = 1;        // 1 when the plot is at least as wide as high, 2 otherwise
    double window_x1 = 0.0;     // left edge of the window, real coordinates
    double window_x2 = 1.0;     // right edge
    double window_y1 = 0.0;     // lower edge (upper on screen when the vertical is reversed)
    double window_y2 = 1.0;     // upper edge
    double unit_x = 0.2;        // (window_x2 - window_x1) / 5
    double unit_y = 0.1;        // (window_y2 - window_y1) / 10
    double marker_dx = 0.2 / 52; // unit_x / 52: half width of the node and origin markers
    double marker_dy = 0.1 / 18; // unit_y / 18: half height of them
    double grid_step_x = 0.0;   // set_grid_steps: a fifth of the grid's width
    double grid_step_y = 0.0;   // a tenth of its height

    bool operator==(const ViewMapping&) const = default;
};

// The plot position of a drawn node. A plane model (NGL 2) is drawn in its own plane; a spatial
// one in its view, the oblique one by default, with c = 1/sqrt(2), k = sqrt(3)/2, sy = -1 for
// `reverse_y` and sv = -1 for `reverse_vertical` (computed in 64 bits, stored as 32-bit reals):
//   oblique  plot_x = X + sy c Y            plot_y = Z + sv sy c Y
//   front    plot_x = X                     plot_y = Z
//   side     plot_x = sy Y                  plot_y = Z
//   plan     plot_x = X                     plot_y = Y   (window_y_down turns Y over)
//   iso      plot_x = k (X + sy Y)          plot_y = Z + sv (sy Y - X) / 2
// The vertical box turns Z over by turning the window over; the Y shares of the oblique and the
// isometric view follow, so that Y keeps its direction on the screen.
class Projection {
public:
    Projection(int NGL, bool reverse_y, bool reverse_vertical, GraphView view = GraphView::oblique)
        : spatial_(NGL == 3), view_(spatial_ ? view : GraphView::oblique),
          sy_(reverse_y ? -1.0 : 1.0), sv_(reverse_vertical ? -1.0 : 1.0)
    {
    }

    void project(Node& node) const
    {
        if (!spatial_) {
            node.plot_x = node.coords[0];
            node.plot_y = node.coords[1];
            return;
        }
        const double x = node.coords[0];
        const double y = node.coords[1];
        const double z = node.coords[2];
        switch (view_) {
        case GraphView::oblique: {
            constexpr double c = 0.7071067811865476;
            node.plot_x = static_cast<float>(x + sy_ * c * y);
            node.plot_y = static_cast<float>(z + sv_ * sy_ * c * y);
            return;
        }
        case GraphView::front:
            node.plot_x = node.coords[0];
            node.plot_y = node.coords[2];
            return;
        case GraphView::side:
            node.plot_x = static_cast<float>(sy_ * y);
            node.plot_y = node.coords[2];
            return;
        case GraphView::plan:
            node.plot_x = node.coords[0];
            node.plot_y = node.coords[1];
            return;
        case GraphView::iso:
            node.plot_x = static_cast<float>(kIsoCos * (x + sy_ * y));
            node.plot_y = static_cast<float>(z + sv_ * (sy_ * y - x) / 2);
            return;
        }
    }

    // cos 30 degrees: how far across the isometric view draws a unit of X or Y.
    static constexpr double kIsoCos = 0.8660254037844386;

private:
    bool spatial_;
    GraphView view_;
    double sy_;
    double sv_;
};

// The coordinate plane through the origin that faces the viewer, where the grid and the scale
// lie: the coordinate that is 0 on it and the two that run across and up the grid (0 X, 1 Y,
// 2 Z). In the plot, a point of the plane lies at (across_scale * a, u + slope * across_scale *
// a) for its coordinates a across and u up; only the isometric view slants it (slope not 0).
struct ViewPlane {
    int depth = 1;
    int across = 0;
    int up = 2;
    double across_scale = 1.0;
    double slope = 0.0;

    bool operator==(const ViewPlane&) const = default;
};

// The plane of a view: Y = 0 for the oblique, front and isometric views, X = 0 for the side
// and Z = 0 for the plan; a plane model's own plane (X across, Y up) for NGL 2.
ViewPlane view_plane(int NGL, GraphView view, bool reverse_y, bool reverse_vertical);

// The bounding box of the drawn nodes' plot positions and what follows from it.
struct PlotBox {
    double x_min = 0.0, x_max = 0.0, y_min = 0.0, y_max = 0.0;
    float width = 0.0f;  // W: the box width, increased by the factor for orientation 2
    float height = 0.0f; // H: the box height, increased by the factor for orientation 1
    int orientation = 1;
    double scaling_ratio = 1.0;
    double center_x = 0.0, center_y = 0.0;
    bool factor_applied = false; // the minimum-size factor took part

    bool operator==(const PlotBox&) const = default;
};

// Half the side of the box given to drawn nodes whose plot positions all coincide.
inline constexpr double kPointBoxHalfSide = 1.0;

// The box of the drawn nodes. A box flat in one direction is widened about the nodes' own
// coordinate in that direction by a twentieth of the other extent on each side. When there is
// no usable extent at all (every plot position the same, or extents that overflow), the box is
// kPointBoxHalfSide on each side of the point, so that the scaling ratio and the window stay
// finite. `factor` increases the smaller side unless `factor_auto` is true; a factor that is
// not a positive finite number, or that would make the side overflow or vanish, counts as Auto.
// A node's plot position as the box takes it.
inline std::array<float, 2> plot_position_of(const Node& node)
{
    return {node.plot_x, node.plot_y};
}

// The box from the bounds of the drawn nodes' plot positions, gathered in node order.
PlotBox box_of_bounds(const Bounds<2>& plot_positions, float factor, bool factor_auto);

// Subtracts the box centre from the plot positions of the drawn nodes (32-bit results).
void center_nodes(StructureModel& model, double center_x, double center_y);

// The window of the box with its margins (a fifth of the width on the left, a tenth on the
// right, a fifth of the height below, 0.15 of it above), the smaller direction stretched by the
// scaling ratio, the units and the marker sizes; the grid steps are left to set_grid_steps.
ViewMapping view_of(const PlotBox& box);

// "Standard", "AllBlack" or "Custom"; Standard for any number other than 2 and 3.
std::string scheme_name(int color_scheme);

// The info lines of a new graph: an empty line, " Graph No.: " with the number right-aligned in
// two characters, " Scaling Ratio:" with the ratio in the 12/4 general format, " Color: " with
// the scheme name, and for a view other than the oblique one " View: " with its English name
// (view_name).
std::vector<std::string> graph_info_lines(int graph_number, double scaling_ratio, int color_scheme,
                                          GraphView view = GraphView::oblique);

} // namespace vorax
