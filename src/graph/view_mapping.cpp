// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/view_mapping.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace vorax {

PlotBox box_of_bounds(const Bounds<2>& plot_positions, float factor, bool factor_auto)
{
    PlotBox box;
    box.x_min = plot_positions.lo[0];
    box.x_max = plot_positions.hi[0];
    box.y_min = plot_positions.lo[1];
    box.y_max = plot_positions.hi[1];
    // A lone point, kept to centre the fallback box on it.
    const double point_x = box.x_min;
    const double point_y = box.y_min;

    // A flat box is widened about the nodes' own coordinate, not about 0: a column or beam far
    // from the origin would otherwise lie outside its own window.
    double w = 0.0;
    double h = 0.0;
    if (box.x_max == box.x_min) {
        h = box.y_max - box.y_min;
        box.x_max = point_x + h / 20;
        box.x_min = point_x - h / 20;
        w = box.x_max - box.x_min;
    } else {
        w = box.x_max - box.x_min;
        if (box.y_max == box.y_min) {
            box.y_max = point_y + w / 20;
            box.y_min = point_y - w / 20;
            h = box.y_max - box.y_min;
        } else {
            h = box.y_max - box.y_min;
        }
    }
    box.width = static_cast<float>(w);
    box.height = static_cast<float>(h);

    const bool usable = std::isfinite(box.width) && std::isfinite(box.height) && box.width > 0.0f
                        && box.height > 0.0f;
    if (!usable) {
        const double cx = std::isfinite(point_x) ? point_x : 0.0;
        const double cy = std::isfinite(point_y) ? point_y : 0.0;
        box.x_min = cx - kPointBoxHalfSide;
        box.x_max = cx + kPointBoxHalfSide;
        box.y_min = cy - kPointBoxHalfSide;
        box.y_max = cy + kPointBoxHalfSide;
        box.width = static_cast<float>(2 * kPointBoxHalfSide);
        box.height = static_cast<float>(2 * kPointBoxHalfSide);
    }

    const bool factor_usable = !factor_auto && std::isfinite(factor) && factor > 0.0f;
    // Increases a side by the factor unless the product is no usable extent.
    auto increased = [&](float side) {
        const float product = factor * side;
        if (factor_usable && std::isfinite(product) && product > 0.0f) {
            box.factor_applied = true;
            return product;
        }
        return side;
    };
    if (box.width >= box.height) {
        box.orientation = 1;
        box.height = increased(box.height);
        box.scaling_ratio = static_cast<double>(box.width) / box.height;
    } else {
        box.orientation = 2;
        box.width = increased(box.width);
        box.scaling_ratio = static_cast<double>(box.height) / box.width;
    }

    box.center_x = (box.x_max + box.x_min) / 2;
    box.center_y = (box.y_max + box.y_min) / 2;
    return box;
}

void center_nodes(StructureModel& model, double center_x, double center_y)
{
    for (Node& node : model.nodes) {
        if (!node.selected)
            continue;
        node.plot_x = static_cast<float>(node.plot_x - center_x);
        node.plot_y = static_cast<float>(node.plot_y - center_y);
    }
}

ViewMapping view_of(const PlotBox& box)
{
    const double w = box.width;
    const double h = box.height;
    const double left = (box.x_min - box.center_x) - w / 5;
    const double right = (box.x_max - box.center_x) + w / 10;
    const double bottom = (box.y_min - box.center_y) - h / 5;
    const double top = (box.y_max - box.center_y) + 0.15 * h;

    ViewMapping view;
    view.scaling_ratio = box.scaling_ratio;
    view.orientation = box.orientation;
    if (box.orientation == 1) {
        view.window_x1 = left;
        view.window_x2 = right;
        view.window_y1 = bottom * box.scaling_ratio;
        view.window_y2 = top * box.scaling_ratio;
    } else {
        view.window_x1 = left * box.scaling_ratio;
        view.window_x2 = right * box.scaling_ratio;
        view.window_y1 = bottom;
        view.window_y2 = top;
    }
    view.unit_x = (view.window_x2 - view.window_x1) / 5;
    view.unit_y = (view.window_y2 - view.window_y1) / 10;
    view.marker_dx = view.unit_x / 52;
    view.marker_dy = view.unit_y / 18;
    return view;
}

std::string scheme_name(int color_scheme)
{
    switch (color_scheme) {
    case 2:
        return "AllBlack";
    case 3:
        return "Custom";
    default:
        return "Standard";
    }
}

std::vector<std::string> graph_info_lines(int graph_number, double scaling_ratio, int color_scheme,
                                          GraphView view)
{
    std::string number = std::to_string(graph_number);
    if (number.size() < 2)
        number.insert(0, 2 - number.size(), ' ');
    std::vector<std::string> lines{"", " Graph No.: " + number,
                                   " Scaling Ratio:" + general_format(scaling_ratio, 12, 4),
                                   " Color: " + scheme_name(color_scheme)};
    if (view != GraphView::oblique)
        lines.push_back(" View: " + std::string(view_name(view)));
    return lines;
}

ViewPlane view_plane(int NGL, GraphView view, bool reverse_y, bool reverse_vertical)
{
    if (NGL != 3)
        return {2, 0, 1, 1.0, 0.0};
    switch (view) {
    case GraphView::side:
        return {0, 1, 2, reverse_y ? -1.0 : 1.0, 0.0};
    case GraphView::plan:
        return {2, 0, 1, 1.0, 0.0};
    case GraphView::iso: {
        // At Y = 0: plot_x = k X, plot_y = Z - sv X / 2 = Z - sv plot_x / (2 k).
        const double sv = reverse_vertical ? -1.0 : 1.0;
        return {1, 0, 2, Projection::kIsoCos, -sv / (2 * Projection::kIsoCos)};
    }
    case GraphView::oblique:
    case GraphView::front:
        break;
    }
    return {1, 0, 2, 1.0, 0.0};
}

} // namespace vorax
