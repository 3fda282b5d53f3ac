// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/structure_render.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/text.h"
#include "graph/label_table.h"
#include "gwl/surface/draw_surface.h"

namespace vorax {

namespace {

// The multipliers of the symbols and labels are 32-bit reals, widened where they are used.
constexpr double kValueSymbolScale = 0.7f;   // a value symbol beside the support symbols
constexpr double kFixedDiscScale = 0.8f;     // the disc of a fixed node, by the marker size
constexpr double kFixedSquareScale = 1.4f;   // the square around it, and its label's offset
constexpr double kSupportLabelOffset = 1.1f; // a supported node's label, by the symbol width
constexpr float kCos45 = 0.7071068f;
constexpr float kSqrt2 = 1.4142136f;

constexpr std::array<std::uint8_t, 8> kStripes{0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
constexpr std::array<std::uint8_t, 8> kSolid{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

constexpr std::size_t kFontSpecLength = 20;

Rgb color_of(const GraphSettings& settings, ColorRole role)
{
    return settings.colors[role_index(role)];
}

// A closed outline or filled shape through the points.
template <std::size_t N>
void polygon(gwl::DrawSurface& surface, int control, const std::array<gwl::WindowPoint, N>& points)
{
    surface.polygon_w(control, points);
}

void line(gwl::DrawSurface& surface, gwl::WindowPoint from, gwl::WindowPoint to)
{
    surface.move_to_w(from.x, from.y);
    surface.line_to_w(to.x, to.y);
}

// An ellipse in the box that reaches dx and dy from the node on each side.
void mark_ellipse(gwl::DrawSurface& surface, int control, double x, double y, double dx, double dy)
{
    surface.ellipse_w(control, x - dx, y + dy, x + dx, y - dy);
}

} // namespace

std::int32_t count_selected_elements(const StructureModel& model)
{
    std::int32_t count = 0;
    // An element with a missing end can never be drawn and is not counted, whichever end it is.
    for (const Element& element : model.elements)
        if (element.node1 != 0 && element.node2 != 0
            && (node_selected(model, element.node1) || node_selected(model, element.node2)))
            ++count;
    return count;
}

std::string choose_index_font(gwl::DrawSurface& surface, const SettingsState& settings,
                              std::string_view kind)
{
    const GraphSettings& g = settings.current_settings;
    const bool nodes = !kind.empty() && (kind.front() == 'n' || kind.front() == 'N');
    // Node numbers: bold when the style is automatic; element numbers: plain.
    struct KindFont {
        const char* kind;
        std::int32_t count;
        std::int32_t size;
        bool bold, italic, underline;
        bool auto_bold;
    };
    const KindFont f = nodes ? KindFont{"n", g.selected_node_count, g.node_index_size, g.node_index_bold,
                                        g.node_index_italic, g.node_index_underline, true}
                             : KindFont{"e", g.selected_element_count, g.element_index_size,
                                        g.element_index_bold, g.element_index_italic,
                                        g.element_index_underline, false};
    const int k = g.index_size_auto ? auto_index_size(f.kind, f.count) : f.size;
    std::string spec = g.index_style_auto ? index_font_spec(settings, f.auto_bold, false, false, k)
                                          : index_font_spec(settings, f.bold, f.italic, f.underline, k);
    spec = pad_right(spec, kFontSpecLength);
    surface.set_font(spec);
    return spec;
}

void draw_support_symbol(gwl::DrawSurface& surface, double x, double y, double a, double b, int k,
                         int NGL, double orient_sign)
{
    const double s = orient_sign;
    surface.set_fill_mask(kStripes);
    std::array<gwl::WindowPoint, 3> triangle{};
    gwl::WindowPoint ground_from;
    gwl::WindowPoint ground_to;
    if (k == NGL) {
        triangle = {{{x, y}, {x + b, y - s * a}, {x - b, y - s * a}}};
        ground_from = {x - b, y - s * (a + a / 3)};
        ground_to = {x + b, y - s * (a + a / 3)};
    } else if (NGL == 3 && k == 2) {
        const double c1 = (a - b) * kCos45;
        const double c2 = (a + b) * kCos45;
        const double d = (a / 3) * kCos45;
        triangle = {{{x, y}, {x + c1, y + s * c2}, {x + c2, y + s * c1}}};
        ground_from = {x + c2 + d, y + s * (c1 + d)};
        ground_to = {x + c1 + d, y + s * (c2 + d)};
    } else {
        triangle = {{{x, y}, {x - a, y + s * b}, {x - a, y - s * b}}};
        ground_from = {x - a - a / 3, y - s * b};
        ground_to = {x - a - a / 3, y + s * b};
    }
    polygon(surface, gwl::kFillInterior, triangle);
    line(surface, ground_from, ground_to);
    surface.set_fill_mask(kSolid);
}

void draw_value_symbol(gwl::DrawSurface& surface, double x, double y, double a, double b, int k,
                       int NGL, double orient_sign)
{
    const double s = orient_sign;
    std::array<gwl::WindowPoint, 4> zigzag{};
    gwl::WindowPoint base_from;
    gwl::WindowPoint base_to;
    if (k == NGL) {
        zigzag = {{{x, y}, {x + a, y - s * b}, {x - a, y - 3 * s * b}, {x, y - 4 * s * b}}};
        base_from = {x + a, y - 4 * s * b};
        base_to = {x - a, y - 4 * s * b};
    } else if (NGL == 3 && k == 2) {
        const double d = static_cast<float>(a * kSqrt2);
        const double e = static_cast<float>(d / 2);
        zigzag = {{{x, y}, {x - d, y}, {x - d, y - 2 * s * d}, {x - 2 * d, y - 2 * s * d}}};
        base_from = {x - 2 * d - e, y - 2 * s * d + s * e};
        base_to = {x - 2 * d + e, y - 2 * s * d - s * e};
    } else {
        zigzag = {{{x, y}, {x - b, y + s * a}, {x - 3 * b, y - s * a}, {x - 4 * b, y}}};
        base_from = {x - 4 * b, y + s * a};
        base_to = {x - 4 * b, y - s * a};
    }
    polygon(surface, gwl::kFillOutline, zigzag);
    line(surface, base_from, base_to);
}

int DrawProgress::percent() const
{
    const std::int64_t all = total.load(std::memory_order_relaxed);
    if (all <= 0)
        return 0;
    return static_cast<int>(std::min<std::int64_t>(done.load(std::memory_order_relaxed), all) * 100 / all);
}

namespace {

// Items are counted in steps of this many, so that counting costs nothing beside drawing.
constexpr std::int64_t kProgressStep = 4096;

void count_items(DrawProgress* progress, std::int64_t items)
{
    if (progress != nullptr)
        progress->done.fetch_add(items, std::memory_order_relaxed);
}

// The items numbered 1..count that the model's list holds.
std::int32_t numbered_count(std::int32_t count, std::size_t held)
{
    return static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), held));
}

void draw_element_lines(gwl::DrawSurface& surface, const StructureModel& model,
                        const GraphSettings& g, DrawProgress* progress)
{
    surface.set_color_rgb(color_of(g, ColorRole::line));
    // Handed over in batches: two surface operations a line cost more than drawing it.
    constexpr std::size_t kBatch = kProgressStep;
    std::int64_t counted = 0;
    std::vector<gwl::WindowLine> batch;
    batch.reserve(std::min(kBatch, model.elements.size()));
    for (std::size_t i = 0; i < model.elements.size(); ++i) {
        ask_ahead_for_end_node<&Node::plot_x>(model, i);
        const Element& element = model.elements[i];
        if (!element_drawn(model, element))
            continue;
        const Node& n1 = model.node(element.node1);
        const Node& n2 = model.node(element.node2);
        batch.push_back({{n1.plot_x, n1.plot_y}, {n2.plot_x, n2.plot_y}});
        if (batch.size() == kBatch) {
            surface.lines_w(batch);
            batch.clear();
            count_items(progress, kBatch);
            counted += kBatch;
        }
    }
    if (!batch.empty())
        surface.lines_w(batch);
    count_items(progress, static_cast<std::int64_t>(model.elements.size()) - counted);
}

// The sizes of the node marks and support symbols of one graph.
struct NodeMarkSizes {
    double mdx, mdy; // the marker's half width and height
    double a_y, a_x; // a support symbol's height and half width
    double orient_sign;
};

// The mark of a node that is neither free nor fixed: a support symbol per coded component, a
// value symbol per non-zero value, and a white disc with a black rim over them.
void draw_supported_node(gwl::DrawSurface& surface, const StructureModel& model, const Node& node,
                         const NodeMarkSizes& m)
{
    const double x = node.plot_x;
    const double y = node.plot_y;
    for (int k = 1; k <= model.NGL && k <= 3; ++k)
        if (node.codes[static_cast<std::size_t>(k - 1)] != 0)
            draw_support_symbol(surface, x, y, m.a_y, m.a_x, k, model.NGL, m.orient_sign);
    const double value_a = kValueSymbolScale * m.a_y;
    const double value_b = kValueSymbolScale * m.a_x;
    if (node.has_values)
        for (int k = 1; k <= model.NGL && k <= 3; ++k)
            if (node.values[static_cast<std::size_t>(k - 1)] != 0.0f)
                draw_value_symbol(surface, x, y, value_a, value_b, k, model.NGL, m.orient_sign);
    surface.set_color_rgb(kWhite);
    mark_ellipse(surface, gwl::kFillInterior, x, y, m.mdx, m.mdy);
    surface.set_color_rgb(kBlack);
    mark_ellipse(surface, gwl::kFillOutline, x, y, m.mdx, m.mdy);
}

// Every drawn node: its number (raised when it would cover the last one placed), then its
// mark: a ring for a free node (only while fewer than 100 free nodes are drawn), a disc in a
// square for a fixed one, the symbols of a supported one.
void draw_node_marks(gwl::DrawSurface& surface, const StructureModel& model,
                     const SettingsState& settings, const ViewMapping& view, DrawProgress* progress)
{
    const GraphSettings& g = settings.current_settings;
    choose_index_font(surface, settings, "node");
    const NodeMarkSizes m{view.marker_dx, view.marker_dy, view.unit_y / 6, view.unit_x / 24,
                          window_y_down(g) ? -1.0 : 1.0};
    const bool free_marks = static_cast<long long>(g.selected_node_count) - model.coded_node_count < 100;
    const Rgb node_color = color_of(g, ColorRole::node_index);
    // Without numbers only the supported nodes get a label.
    LabelTable node_labels(m.mdx, m.mdy,
                           g.show_node_indices ? model.nodes.size()
                                               : static_cast<std::size_t>(std::max(model.coded_node_count, 0)));
    const std::int32_t node_count = numbered_count(model.node_count, model.nodes.size());
    for (std::int32_t i = 1; i <= node_count; ++i) {
        // The nodes that get neither a mark nor a number (most of a large model without node
        // numbers) are passed over in one stretch.
        const std::int32_t from = i;
        while (i <= node_count && !node_drawn(model.nodes[static_cast<std::size_t>(i - 1)], g))
            ++i;
        node_labels.skip(static_cast<std::size_t>(i - from));
        count_items(progress, ((i - 1) / kProgressStep - (from - 1) / kProgressStep) * kProgressStep);
        if (i > node_count)
            break;
        if (i % kProgressStep == 0)
            count_items(progress, kProgressStep);
        const Node& node = model.node(i);
        const double x = node.plot_x;
        const double y = node.plot_y;
        const double y_l = node_labels.collides(x, y) ? y + 3 * m.mdy : y;
        double x_l = x + kSupportLabelOffset * m.a_x;
        if (node.free) {
            surface.set_color_rgb(node_color);
            x_l = x + m.mdx;
        } else {
            surface.set_color_rgb(kBlack);
            if (node.fixed)
                x_l = x + kFixedSquareScale * m.mdx;
        }
        surface.move_to_w(x_l, y_l);
        surface.out_gtext(std::to_string(i));
        node_labels.place(x, y_l);

        if (node.free) {
            if (free_marks) {
                surface.set_color_rgb(kWhite);
                mark_ellipse(surface, gwl::kFillInterior, x, y, m.mdx, m.mdy);
                surface.set_color_rgb(node_color);
                mark_ellipse(surface, gwl::kFillOutline, x, y, m.mdx, m.mdy);
            }
        } else if (node.fixed) {
            mark_ellipse(surface, gwl::kFillInterior, x, y, kFixedDiscScale * m.mdx,
                         kFixedDiscScale * m.mdy);
            const double sx = kFixedSquareScale * m.mdx;
            const double sy = kFixedSquareScale * m.mdy;
            surface.rectangle_w(gwl::kFillOutline, x - sx, y + sy, x + sx, y - sy);
        } else {
            draw_supported_node(surface, model, node, m);
        }
    }
    count_items(progress, node_count % kProgressStep);
}

// The number of every drawn element at its middle, moved aside when it would cover the last
// one placed.
void draw_element_numbers(gwl::DrawSurface& surface, const StructureModel& model,
                          const SettingsState& settings, const ViewMapping& view,
                          DrawProgress* progress)
{
    const GraphSettings& g = settings.current_settings;
    const double s = window_y_down(g) ? -1.0 : 1.0;
    choose_index_font(surface, settings, "element");
    surface.set_color_rgb(color_of(g, ColorRole::element_index));
    const double tol_x = view.unit_x / 20;
    const double tol_y = view.unit_y / 10;
    LabelTable element_labels(tol_x, tol_y, model.elements.size());
    const std::int32_t element_count = numbered_count(model.element_count, model.elements.size());
    for (std::int32_t e = 1; e <= element_count; ++e) {
        if (e % kProgressStep == 0)
            count_items(progress, kProgressStep);
        const Element& element = model.element(e);
        if (!element_drawn(model, element)) {
            element_labels.skip();
            continue;
        }
        const Node& n1 = model.node(element.node1);
        const Node& n2 = model.node(element.node2);
        const float xm = (n1.plot_x + n2.plot_x) * 0.5f;
        const float ym = (n1.plot_y + n2.plot_y) * 0.5f;
        double x_l = xm - tol_x;
        double y_l = ym + s * tol_y;
        if (element_labels.collides(x_l, y_l)) {
            x_l = xm;
            y_l = y_l - s * 1.5 * tol_y;
        }
        surface.move_to_w(x_l, y_l);
        surface.out_gtext(std::to_string(e));
        element_labels.place(x_l, y_l);
    }
    count_items(progress, element_count % kProgressStep);
}

} // namespace

void draw_structure(gwl::DrawSurface& surface, const StructureModel& model,
                    const SettingsState& settings, const ViewMapping& view, DrawProgress* progress)
{
    const bool numbers = settings.current_settings.show_element_indices;
    if (progress != nullptr)
        progress->total = static_cast<std::int64_t>(model.elements.size())
                          + numbered_count(model.node_count, model.nodes.size())
                          + (numbers ? numbered_count(model.element_count, model.elements.size()) : 0);
    draw_element_lines(surface, model, settings.current_settings, progress);
    draw_node_marks(surface, model, settings, view, progress);
    if (numbers)
        draw_element_numbers(surface, model, settings, view, progress);
}

} // namespace vorax
