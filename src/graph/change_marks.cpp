// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/change_marks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "graph/structure_render.h"
#include "gwl/surface/draw_surface.h"

namespace vorax {

namespace {

constexpr std::uint16_t kSolid = 0xFFFF;
constexpr std::uint16_t kDashed = 0xFFF0;
constexpr double kBandHalfWidth = 3.0; // pixels either side of an element's line
constexpr double kRingRadius = 9.0;    // pixels

// Window units per pixel across and down.
struct PixelSize {
    double x = 1.0;
    double y = 1.0;
};
PixelSize pixel_size(const gwl::DrawSurface& surface, const ViewMapping& view)
{
    return {std::abs(view.window_x2 - view.window_x1) / std::max(1, surface.width()),
            std::abs(view.window_y2 - view.window_y1) / std::max(1, surface.height())};
}

// Where a point of the model lies in the graph: projected as the nodes are, then moved by the
// centre.
std::array<double, 2> plot_point(const std::array<float, 3>& coords, int NGL, const GraphSettings& g,
                                 double center_x, double center_y)
{
    Node node;
    node.coords = coords;
    Projection(NGL, g.reverse_y, g.reverse_vertical, g.view).project(node);
    return {node.plot_x - center_x, node.plot_y - center_y};
}

template <class Each>
void for_each_marked_element(const StructureModel& model, const GraphMarks& marks, Each each)
{
    for (const std::int32_t number : marks.elements) {
        if (number < 1 || number > model.element_count
            || static_cast<std::size_t>(number) > model.elements.size())
            continue;
        const Element& element = model.elements[static_cast<std::size_t>(number - 1)];
        if (element_drawn(model, element))
            each(model.node(element.node1), model.node(element.node2));
    }
}

template <class Each>
void for_each_marked_node(const StructureModel& model, const GraphMarks& marks, Each each)
{
    for (const std::int32_t number : marks.nodes)
        if (node_selected(model, number))
            each(model.node(number));
}

} // namespace

GraphMarks change_marks(const ModelDiff& diff)
{
    GraphMarks marks;
    for (const ModelChange& change : diff.changes) {
        switch (change.kind) {
        case ChangeKind::node_added:
        case ChangeKind::node_moved:
        case ChangeKind::codes_changed:
        case ChangeKind::values_changed: marks.nodes.push_back(change.number); break;
        case ChangeKind::element_added:
        case ChangeKind::element_rejoined: marks.elements.push_back(change.number); break;
        default: break;
        }
    }
    for (auto* numbers : {&marks.nodes, &marks.elements}) {
        std::sort(numbers->begin(), numbers->end());
        numbers->erase(std::unique(numbers->begin(), numbers->end()), numbers->end());
    }
    marks.gone = diff.removed_lines;
    return marks;
}

void draw_marks_under(gwl::DrawSurface& surface, const StructureModel& model, const ViewMapping& view,
                      const GraphMarks& marks)
{
    if (marks.elements.empty())
        return;
    const PixelSize pixel = pixel_size(surface, view);
    const Rgb previous = surface.set_color_rgb(kMarkColor);
    surface.set_fill_mask(std::nullopt);
    for_each_marked_element(model, marks, [&](const Node& a, const Node& b) {
        // A band of kBandHalfWidth pixels either side, measured in pixels so that it is as
        // broad in every direction whatever the scale across and down.
        const double dx = (b.plot_x - a.plot_x) / pixel.x;
        const double dy = (b.plot_y - a.plot_y) / pixel.y;
        const double length = std::hypot(dx, dy);
        const double nx = length > 0 ? -dy / length : 0.0;
        const double ny = length > 0 ? dx / length : 1.0;
        const double ox = nx * kBandHalfWidth * pixel.x;
        const double oy = ny * kBandHalfWidth * pixel.y;
        const double ex = length > 0 ? dx / length * kBandHalfWidth * pixel.x : kBandHalfWidth * pixel.x;
        const double ey = length > 0 ? dy / length * kBandHalfWidth * pixel.y : 0.0;
        const std::array<gwl::WindowPoint, 4> band{
            gwl::WindowPoint{a.plot_x - ex + ox, a.plot_y - ey + oy},
            gwl::WindowPoint{b.plot_x + ex + ox, b.plot_y + ey + oy},
            gwl::WindowPoint{b.plot_x + ex - ox, b.plot_y + ey - oy},
            gwl::WindowPoint{a.plot_x - ex - ox, a.plot_y - ey - oy}};
        surface.polygon_w(gwl::kFillInterior, band);
    });
    surface.set_color_rgb(previous);
}

void draw_marks_over(gwl::DrawSurface& surface, const StructureModel& model,
                     const GraphSettings& settings, const ViewMapping& view, double center_x,
                     double center_y, const GraphMarks& marks)
{
    if (marks.empty())
        return;
    const PixelSize pixel = pixel_size(surface, view);
    const Rgb previous = surface.set_color_rgb(kMarkColor);
    surface.set_line_style(kDashed);
    for (const RemovedLine& line : marks.gone) {
        const auto a = plot_point(line.end1, model.NGL, settings, center_x, center_y);
        const auto b = plot_point(line.end2, model.NGL, settings, center_x, center_y);
        surface.move_to_w(a[0], a[1]);
        surface.line_to_w(b[0], b[1]);
    }
    surface.set_line_style(kSolid);
    const double rx = kRingRadius * pixel.x;
    const double ry = kRingRadius * pixel.y;
    for_each_marked_node(model, marks, [&](const Node& node) {
        // Two rings a pixel apart: one pixel's line is lost among the support symbols.
        for (const double grow : {0.0, 1.0})
            surface.ellipse_w(gwl::kFillOutline, node.plot_x - rx - grow * pixel.x,
                              node.plot_y + ry + grow * pixel.y, node.plot_x + rx + grow * pixel.x,
                              node.plot_y - ry - grow * pixel.y);
    });
    surface.set_color_rgb(previous);
}

std::optional<MarksBox> marks_extent(const StructureModel& model, const GraphSettings& settings,
                                     double center_x, double center_y, const GraphMarks& marks)
{
    std::optional<MarksBox> box;
    auto add = [&box](double x, double y) {
        if (!box)
            box = MarksBox{x, y, x, y};
        box->x1 = std::min(box->x1, x);
        box->y1 = std::min(box->y1, y);
        box->x2 = std::max(box->x2, x);
        box->y2 = std::max(box->y2, y);
    };
    for_each_marked_node(model, marks, [&](const Node& node) { add(node.plot_x, node.plot_y); });
    for_each_marked_element(model, marks, [&](const Node& a, const Node& b) {
        add(a.plot_x, a.plot_y);
        add(b.plot_x, b.plot_y);
    });
    for (const RemovedLine& line : marks.gone)
        for (const auto& end : {line.end1, line.end2}) {
            const auto p = plot_point(end, model.NGL, settings, center_x, center_y);
            add(p[0], p[1]);
        }
    return box;
}

} // namespace vorax
