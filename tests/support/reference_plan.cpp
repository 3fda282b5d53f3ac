// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference_plan.h"

namespace vorax {

void project_nodes(StructureModel& model, bool reverse_y, bool reverse_vertical)
{
    const Projection projection(model.NGL, reverse_y, reverse_vertical);
    for (Node& node : model.nodes)
        if (node.selected)
            projection.project(node);
}

PlotBox plot_box(const StructureModel& model, float factor, bool factor_auto)
{
    Bounds<2> plot_positions;
    for (const Node& node : model.nodes)
        if (node.selected)
            plot_positions.add(plot_position_of(node));
    return box_of_bounds(plot_positions, factor, factor_auto);
}

GridRect grid_rect(const StructureModel& model, const PlotBox& box)
{
    Bounds<2> front_plane;
    if (model.NGL == 3)
        for (const Node& node : model.nodes)
            if (node.selected && in_front_plane(node))
                front_plane.add(front_plane_point(node));
    return grid_rect_of(model, box, front_plane);
}

} // namespace vorax
