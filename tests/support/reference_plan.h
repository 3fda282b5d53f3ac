// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plan of a graph made one rule at a time: each step walks the model on its own. The
// drawing makes the same plan in one pass over the nodes (plan_graph); the tests compare the
// two, and check the rules against this plain form.

#include "graph/graph_drawing.h"
#include "graph/view_mapping.h"

namespace vorax {

// Plot positions of the drawn (selected) nodes, by Projection.
void project_nodes(StructureModel& model, bool reverse_y, bool reverse_vertical,
                   GraphView view = GraphView::oblique);

// The plot box of the drawn nodes' plot positions (box_of_bounds), with the corners of the
// grid in `grid_plane` where the view slants it (a graph with its grid).
PlotBox plot_box(const StructureModel& model, float factor, bool factor_auto,
                 const ViewPlane* grid_plane = nullptr);

// The grid rectangle of the drawn nodes in the view's plane (grid_rect_of).
GridRect grid_rect(const StructureModel& model, const PlotBox& box, const ViewPlane& plane = {});

} // namespace vorax
