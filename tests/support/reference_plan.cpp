// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference_plan.h"

namespace vorax {

void project_nodes(StructureModel& model, bool reverse_y, bool reverse_vertical, GraphView view)
{
    const Projection projection(model.NGL, reverse_y, reverse_vertical, view);
    for (Node& node : model.nodes)
        if (node.selected)
            projection.project(node);
}

namespace {

// The drawn nodes' points in the view's plane; none for a plane model.
Bounds<2> plane_points_of(const StructureModel& model, const ViewPlane& plane)
{
    Bounds<2> points;
    if (model.NGL == 3)
        for (const Node& node : model.nodes)
            if (node.selected && in_grid_plane(node, plane))
                points.add(grid_plane_point(node, plane));
    return points;
}

} // namespace

PlotBox plot_box(const StructureModel& model, float factor, bool factor_auto, const ViewPlane* grid_plane)
{
    Bounds<2> plot_positions;
    for (const Node& node : model.nodes)
        if (node.selected)
            plot_positions.add(plot_position_of(node));
    if (grid_plane != nullptr)
        add_slanted_grid_corners(plot_positions, plane_points_of(model, *grid_plane), *grid_plane);
    return box_of_bounds(plot_positions, factor, factor_auto);
}

GridRect grid_rect(const StructureModel& model, const PlotBox& box, const ViewPlane& plane)
{
    return grid_rect_of(model, box, plane_points_of(model, plane), plane);
}

} // namespace vorax
