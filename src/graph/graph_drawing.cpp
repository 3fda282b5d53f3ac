// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/graph_drawing.h"

#include <algorithm>

#include "core/text.h"
#include "graph/change_marks.h"
#include "graph/graph_texts.h"
#include "graph/structure_render.h"
#include "gwl/surface/draw_surface.h"
#include "settings/node_ranges.h"

namespace vorax {

GraphPlan plan_graph(StructureModel& model, SettingsState& settings, int graph_number)
{
    GraphSettings& g = settings.current_settings;
    GraphPlan plan;
    if (!g.all_nodes) {
        plan.range_text = format_node_ranges(model);
        if (g.show_element_indices)
            g.selected_element_count = count_selected_elements(model);
    }
    // One pass does the work of the selection of all nodes, update_extents, the projection and
    // the scans for the plot box and the grid (each bound in node order): a large model's nodes
    // are read from memory once instead of five times.
    const bool spatial = model.NGL == 3;
    if (!spatial)
        g.view = GraphView::oblique;
    const Projection projection(model.NGL, g.reverse_y, g.reverse_vertical, g.view);
    const ViewPlane plane = view_plane(model.NGL, g.view, g.reverse_y, g.reverse_vertical);
    Bounds<3> coordinates;
    Bounds<2> plot_positions;
    Bounds<2> grid_plane;
    for (Node& node : model.nodes) {
        // With all nodes drawn every node is selected, as the settings dialog leaves them.
        if (g.all_nodes)
            node.selected = true;
        else if (!node.selected)
            continue;
        coordinates.add(coordinates_of(node));
        projection.project(node);
        plot_positions.add(plot_position_of(node));
        if (spatial && in_grid_plane(node, plane))
            grid_plane.add(grid_plane_point(node, plane));
    }
    if (g.all_nodes)
        g.selected_node_count = model.node_count;
    if (spatial && g.show_grid_and_scale)
        add_slanted_grid_corners(plot_positions, grid_plane, plane);
    set_extents(model, coordinates);
    plan.box = box_of_bounds(plot_positions, g.min_size_factor, g.min_size_factor_auto);
    plan.info_lines =
        graph_info_lines(graph_number, plan.box.scaling_ratio, settings.color_scheme, g.view);
    center_nodes(model, plan.box.center_x, plan.box.center_y);
    plan.view = view_of(plan.box);
    plan.grid = grid_rect_of(model, plan.box, grid_plane, plane);
    if (g.show_grid_and_scale)
        set_grid_steps(plan.view, plan.grid);
    return plan;
}

void add_slanted_grid_corners(Bounds<2>& plot_positions, const Bounds<2>& plane_points, const ViewPlane& plane)
{
    if (plane.slope == 0.0 || !plane_points.seeded)
        return;
    for (const float across : {plane_points.lo[0], plane_points.hi[0]})
        for (const float up : {plane_points.lo[1], plane_points.hi[1]}) {
            const double x = plane.across_scale * across;
            plot_positions.add({static_cast<float>(x), static_cast<float>(up + plane.slope * x)});
        }
}

GridRect grid_rect_of(const StructureModel& model, const PlotBox& box, const Bounds<2>& plane_points,
                      const ViewPlane& plane)
{
    GridRect grid;
    if (model.NGL != 3) {
        grid.x1 = model.xmin - box.center_x;
        grid.x2 = model.xmax - box.center_x;
        grid.y1 = box.y_min - box.center_y;
        grid.y2 = box.y_max - box.center_y;
        return grid;
    }
    // Across, the plane's coordinate as the view draws it: reversed, the ends change places.
    const double s = plane.across_scale;
    const double a_lo = s < 0 ? plane_points.hi[0] : plane_points.lo[0];
    const double a_hi = s < 0 ? plane_points.lo[0] : plane_points.hi[0];
    grid.x1 = static_cast<float>(s * a_lo - box.center_x);
    grid.x2 = static_cast<float>(s * a_hi - box.center_x);
    grid.y1 = static_cast<float>(plane_points.lo[1] - box.center_y);
    grid.y2 = static_cast<float>(plane_points.hi[1] - box.center_y);
    grid.label_scale_x = 1.0 / s;
    grid.slope = plane.slope;
    grid.origin_x = -box.center_x;
    return grid;
}

WindowCorners window_corners(const ViewMapping& view, bool reverse_vertical)
{
    return {!reverse_vertical, std::min(view.window_x1, view.window_x2),
            std::min(view.window_y1, view.window_y2), std::max(view.window_x1, view.window_x2),
            std::max(view.window_y1, view.window_y2)};
}

DrawOutcome draw_graph(gwl::DrawSurface& surface, const StructureModel& model,
                       const SettingsState& settings, const GraphPlan& plan,
                       const GraphTexts& texts, DrawProgress* progress, const GraphMarks* marks)
{
    const GraphSettings& g = settings.current_settings;
    const ViewMapping& view = plan.view;
    const PlotBox& box = plan.box;
    gwl::WindowConfig config;
    surface.fill_window_config(config);

    // Mapping and headings.
    const WindowCorners corners = window_corners(view, window_y_down(g));
    surface.set_window(corners.invert, corners.x1, corners.y1, corners.x2, corners.y2);
    surface.set_bk_color_rgb(kWhite);
    surface.clear_screen(0);
    surface.set_text_color_rgb(g.colors[role_index(ColorRole::text)]);
    surface.set_text_position(2, 10);
    surface.out_text(graph_heading(texts.program_label, texts.language));
    const std::string title = title_text(texts.problem_title);
    surface.set_text_position(config.text_rows - 2, centred_column(config.text_columns, title.size()));
    surface.out_text(title);
    if (!g.all_nodes) {
        const std::string line = node_line(plan.range_text, g.selected_node_count, texts.language);
        surface.set_text_position(config.text_rows - 1, centred_column(config.text_columns, line.size()));
        surface.out_text(line);
    }

    // Fonts.
    surface.init_fonts();
    if (gwl::DrawSurface::get_graphics_status() != gwl::status::kOk)
        return DrawOutcome::font_error;

    // Grid and scale.
    if (g.show_grid_and_scale) {
        draw_grid(surface, view, g, plan.grid);
        draw_scale(surface, view, g, plan.grid, box.center_x, box.center_y);
    }

    if (marks != nullptr)
        draw_marks_under(surface, model, view, *marks);
    draw_structure(surface, model, settings, view, progress);

    // Axis arrows and origin marker.
    surface.set_color_rgb(kBlack);
    surface.set_font(kAxisFont);
    const double ox = -box.center_x;
    const double oy = -box.center_y;
    draw_axis_arrows(surface, view, g, model.NGL, ox, oy);
    if (g.all_nodes && model.origin_node >= 1 && model.origin_node <= model.node_count
        && !model.node(model.origin_node).fixed)
        draw_origin_marker(surface, view, box.center_x, box.center_y);
    if (marks != nullptr)
        draw_marks_over(surface, model, g, view, box.center_x, box.center_y, *marks);
    return DrawOutcome::drawn;
}

} // namespace vorax
