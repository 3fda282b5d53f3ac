// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One graph from start to end, without knowing where it is shown: planning it from the model
// and the settings (extents, projection, box, scaling ratio, info lines, centring, window), and
// drawing it onto a DrawSurface in its fixed order (mapping, white background, headings, fonts,
// grid and scale, structure, axis arrows, origin marker). A graph window and the headless
// export both draw through draw_graph.
//
// Contents: GraphPlan, plan_graph, GraphTexts, DrawOutcome, grid_rect_of (and its pieces),
// WindowCorners, window_corners, draw_graph.

#include <array>
#include <string>
#include <vector>

#include "core/bounds.h"
#include "core/language.h"
#include "graph/grid_scale.h"
#include "graph/view_mapping.h"
#include "model/structure_model.h"
#include "settings/graph_settings.h"

namespace vorax::gwl {
class DrawSurface;
}

namespace vorax {

struct DrawProgress;
struct GraphMarks;

// Everything a graph's drawing needs beyond the model and the settings, worked out before the
// window opens.
struct GraphPlan {
    PlotBox box;
    ViewMapping view;                    // with the grid steps when the grid is shown
    GridRect grid;
    std::string range_text;              // the drawn nodes in compact form; empty for all nodes
    std::vector<std::string> info_lines; // for the info window, written before the window opens
};

// Prepares graph `graph_number` from the model and the current settings: with all_nodes,
// selects every node and counts them in selected_node_count; otherwise writes the selection in
// compact form and, when element numbers are shown, counts the elements drawn in
// selected_element_count (their font size follows it). A plane model has no view but its own
// plane: its settings' view becomes the oblique one. Then updates the extents over the drawn
// nodes, projects them, takes their box and scaling ratio, composes the info lines, centres the
// plot positions and sets the view and grid. At least one node should be selected (a selection
// without any node gets the box of a point at the origin).
GraphPlan plan_graph(StructureModel& model, SettingsState& settings, int graph_number);

// The texts of the window's text layer.
struct GraphTexts {
    std::string program_label;
    std::string problem_title;
    UiLanguage language = UiLanguage::english;
};

enum class DrawOutcome {
    drawn,
    font_error, // init_fonts left a non-zero status: nothing after the headings was drawn
};

// The grid rectangle: a plane model's extents over the drawn nodes across and the plot box
// down; for a spatial model the extents of the drawn nodes that lie in the view's plane (Y = 0
// for the oblique, front and isometric views, X = 0 for the side, Z = 0 for the plan; all 0
// without such a node), from their bounds in that plane gathered in node order
// (grid_plane_point), which only a spatial model reads, drawn as the view draws the plane.
// Centred.
GridRect grid_rect_of(const StructureModel& model, const PlotBox& box, const Bounds<2>& plane_points,
                      const ViewPlane& plane = {});

// Adds to the plot positions that the window is fitted to the corners of the grid over
// `plane_points`, where the view slants it (the isometric view): a corner that is no drawn node
// may lie beyond the nodes' box, over the headings or off the picture.
void add_slanted_grid_corners(Bounds<2>& plot_positions, const Bounds<2>& plane_points, const ViewPlane& plane);

// Whether a drawn node counts in the bounds of the view's plane, and its point there (across,
// up).
inline bool in_grid_plane(const Node& node, const ViewPlane& plane)
{
    return node.coords[static_cast<std::size_t>(plane.depth)] == 0.0f;
}
inline std::array<float, 2> grid_plane_point(const Node& node, const ViewPlane& plane)
{
    return {node.coords[static_cast<std::size_t>(plane.across)],
            node.coords[static_cast<std::size_t>(plane.up)]};
}

// The mapping of a graph's window onto its drawing area: real y grows upwards unless the
// vertical is reversed; the corners are the lowest and the highest of the view's window.
struct WindowCorners {
    bool invert = true;
    double x1 = 0.0, y1 = 0.0, x2 = 1.0, y2 = 1.0;
};
WindowCorners window_corners(const ViewMapping& view, bool reverse_vertical);

// Draws the planned graph onto the surface, reading the model and the settings and writing only
// pixels: the mapping of the plan's view, a white background, the heading, the title, the node
// line when not all nodes are drawn, the fonts, then grid and scale (when on), the structure,
// the axis arrows and the origin marker. Counts the structure's items in `progress` when given.
// Marks, when given, go under the structure and over the finished graph (graph/change_marks.h).
DrawOutcome draw_graph(gwl::DrawSurface& surface, const StructureModel& model,
                       const SettingsState& settings, const GraphPlan& plan,
                       const GraphTexts& texts, DrawProgress* progress = nullptr,
                       const GraphMarks* marks = nullptr);

} // namespace vorax
