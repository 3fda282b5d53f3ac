// SPDX-License-Identifier: GPL-3.0-or-later
// The views of a spatial model: where each view puts the nodes, the plane that carries the grid
// and the scale, the axis arrows it draws, the info line that names it, and the zoom pick on
// what it drew.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/text.h"
#include "graph/graph_drawing.h"
#include "graph/zoom_pick.h"
#include "graph_test_support.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"

namespace vorax {
namespace {

using testing::make_model;

constexpr Rgb kScaleColor = 0x800000; // standard scale colour (navy)

// Each view's plot position of the node (2, 1, 3), worked out by hand from the view's
// directions: c = 1/sqrt(2), k = sqrt(3)/2.
TEST(Views, EachViewProjectsANodeWhereItsAxesPoint)
{
    constexpr float c = 0.70710677f;
    constexpr float k = 0.8660254f;
    struct Row {
        const char* name;
        GraphView view;
        bool reverse_y, reverse_vertical;
        float plot_x, plot_y;
    };
    const Row rows[] = {
        {"oblique", GraphView::oblique, false, false, 2 + c, 3 + c},
        {"front", GraphView::front, false, false, 2, 3},
        {"front_ignores_y_box", GraphView::front, true, true, 2, 3},
        {"side", GraphView::side, false, false, 1, 3},
        {"side_y_reversed", GraphView::side, true, false, -1, 3},
        {"plan", GraphView::plan, false, false, 2, 1},
        // The plan turns Y over by turning the window, not the positions.
        {"plan_y_reversed", GraphView::plan, true, true, 2, 1},
        {"iso", GraphView::iso, false, false, 3 * k, 3 - 0.5f},
        {"iso_y_reversed", GraphView::iso, true, false, k, 3 - 1.5f},
        {"iso_vertical_reversed", GraphView::iso, false, true, 3 * k, 3 + 0.5f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Node node;
        node.coords = {2, 1, 3};
        Projection(3, row.reverse_y, row.reverse_vertical, row.view).project(node);
        EXPECT_FLOAT_EQ(node.plot_x, row.plot_x);
        EXPECT_FLOAT_EQ(node.plot_y, row.plot_y);
    }
    // A plane model is drawn in its own plane whatever view is asked for.
    Node flat;
    flat.coords = {2, 1, 0};
    Projection(2, false, false, GraphView::side).project(flat);
    EXPECT_FLOAT_EQ(flat.plot_x, 2);
    EXPECT_FLOAT_EQ(flat.plot_y, 1);
}

// A model with nodes in each coordinate plane through the origin, each plane with extents of
// its own: Y = 0 holds X -2..5 and Z -1..7; X = 0 holds Y -1..3 and Z 0..7; Z = 0 holds X 0..5
// and Y -4..3. Node 5 lies in none of them.
StructureModel planes_model()
{
    return make_model(3,
                      {{0, 0, 0}, {5, 0, 0}, {0, 3, 0}, {0, 0, 7}, {5, 3, 7}, {-2, 0, -1},
                       {0, -1, 2}, {1, -4, 0}},
                      {{1, 2}, {1, 3}, {1, 4}, {2, 5}, {6, 1}, {7, 4}, {8, 2}});
}

struct Drawn {
    StructureModel model;
    SettingsState settings;
    GraphPlan plan;
    std::unique_ptr<gwl::DrawSurface> surface;

    gwl::PixelPoint origin() const
    {
        return surface->to_pixel({-plan.box.center_x, -plan.box.center_y});
    }
};

Drawn draw_in_view(StructureModel model, GraphView view, bool reverse_y, bool reverse_vertical)
{
    Drawn d;
    d.model = std::move(model);
    GraphSettings& g = d.settings.current_settings;
    g.all_nodes = true;
    g.view = view;
    g.reverse_y = reverse_y;
    g.reverse_vertical = reverse_vertical;
    d.plan = plan_graph(d.model, d.settings, 1);
    d.surface = std::make_unique<gwl::DrawSurface>(800, 600);
    draw_graph(*d.surface, d.model, d.settings, d.plan, {"VORAX:", "", UiLanguage::english});
    return d;
}

// The scale's labels as drawn: the vertical scale's (the leftmost column of labels) from the
// top of the picture down, the horizontal scale's from left to right.
struct ScaleLabels {
    std::vector<std::string> vertical, across;
};

ScaleLabels scale_labels(const gwl::DrawSurface& surface)
{
    std::vector<std::tuple<int, int, std::string>> texts; // left, baseline, text
    surface.read_record([&](const gwl::DrawRecord& record) {
        for (const gwl::DrawOp& op : record.ops())
            if (op.kind == gwl::RecordOp::text && record.look(op.look).color == kScaleColor)
                texts.emplace_back(op.a, op.b, std::string(trim_right(record.text(op))));
    });
    ScaleLabels labels;
    if (texts.empty())
        return labels;
    const int column = std::get<0>(*std::min_element(texts.begin(), texts.end()));
    std::sort(texts.begin(), texts.end(), [](const auto& l, const auto& r) {
        return std::tie(std::get<1>(l), std::get<0>(l)) < std::tie(std::get<1>(r), std::get<0>(r));
    });
    for (const auto& [left, baseline, text] : texts)
        if (left == column)
            labels.vertical.push_back(text);
    std::sort(texts.begin(), texts.end());
    for (const auto& [left, baseline, text] : texts)
        if (left != column)
            labels.across.push_back(text);
    return labels;
}

// The grid and its scale lie in the plane that faces the viewer: the scale names that plane's
// extents, in the directions the view draws them.
TEST(Views, GridAndScaleLieInThePlaneFacingTheViewer)
{
    struct Row {
        const char* name;
        GraphView view;
        bool reverse_y, reverse_vertical;
        const char* left;   // the horizontal scale's first label
        const char* top;    // the vertical scale's label at the top of the picture
        const char* bottom; // and at its foot
    };
    const Row rows[] = {
        {"oblique", GraphView::oblique, false, false, "-2.00", "7.00", "-1.00"},
        {"front", GraphView::front, false, false, "-2.00", "7.00", "-1.00"},
        {"front_vertical_reversed", GraphView::front, false, true, "-2.00", "-1.00", "7.00"},
        {"side", GraphView::side, false, false, "-1.00", "7.00", "0.00"},
        {"side_y_reversed", GraphView::side, true, false, "3.00", "7.00", "0.00"},
        {"plan", GraphView::plan, false, false, "0.00", "3.00", "-4.00"},
        {"plan_y_reversed", GraphView::plan, true, false, "0.00", "-4.00", "3.00"},
        {"plan_ignores_vertical_box", GraphView::plan, false, true, "0.00", "3.00", "-4.00"},
        {"iso", GraphView::iso, false, false, "-2.00", "7.00", "-1.00"},
        {"iso_vertical_reversed", GraphView::iso, false, true, "-2.00", "-1.00", "7.00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Drawn d = draw_in_view(planes_model(), row.view, row.reverse_y, row.reverse_vertical);
        const ScaleLabels labels = scale_labels(*d.surface);
        ASSERT_GE(labels.vertical.size(), 2u);
        ASSERT_FALSE(labels.across.empty());
        EXPECT_EQ(labels.across.front(), row.left);
        EXPECT_EQ(labels.vertical.front(), row.top);
        EXPECT_EQ(labels.vertical.back(), row.bottom);
    }
}

// The isometric grid is slanted as X is: its lines along X fall to the right by half as much
// as they run across (k = sqrt(3)/2 across per unit of X, 1/2 down).
TEST(Views, IsometricGridFallsToTheRightAlongX)
{
    const Drawn d = draw_in_view(planes_model(), GraphView::iso, false, false);
    const GridRect& grid = d.plan.grid;
    const double rise_per_x = grid.slope * Projection::kIsoCos;
    EXPECT_NEAR(rise_per_x, -0.5, 1e-12);
    // Node 6 (-2, 0, -1) lies on the grid's lower edge (Z = -1) and node 2 (5, 0, 0) one unit
    // above it, each where the slant puts it.
    const Node& n6 = d.model.node(6);
    const Node& n2 = d.model.node(2);
    EXPECT_NEAR(n6.plot_y, grid.y1 + grid.slope * (n6.plot_x - grid.origin_x), 1e-5);
    EXPECT_NEAR(n2.plot_y, grid.y1 + 1 + grid.slope * (n2.plot_x - grid.origin_x), 1e-5);
}

// Where each arrow of a drawn graph points from the model origin, in screen directions (x to
// the right, y down; -1, 0 or 1 each), by its label.
using Arrow = std::tuple<std::string, int, int>;

std::set<Arrow> arrows_of(const Drawn& d)
{
    const gwl::PixelPoint o = d.origin();
    const auto sign = [](int v) { return v > 1 ? 1 : v < -1 ? -1 : 0; };
    std::set<Arrow> arrows;
    d.surface->read_record([&](const gwl::DrawRecord& record) {
        std::optional<gwl::PixelPoint> tip;
        for (const gwl::DrawOp& op : record.ops()) {
            if (op.kind == gwl::RecordOp::polygon && op.b == 7) {
                const auto points = record.polygon_points(op);
                tip = *std::max_element(points.begin(), points.end(), [&](auto l, auto r) {
                    return std::hypot(l.x - o.x, l.y - o.y) < std::hypot(r.x - o.x, r.y - o.y);
                });
            } else if (op.kind == gwl::RecordOp::text && tip) {
                arrows.emplace(std::string(record.text(op)), sign(tip->x - o.x), sign(tip->y - o.y));
                tip.reset();
            }
        }
    });
    return arrows;
}

TEST(Views, EachViewDrawsTheArrowsOfTheAxesItShows)
{
    struct Row {
        const char* name;
        GraphView view;
        bool reverse_y, reverse_vertical;
        std::set<Arrow> arrows;
    };
    const Row rows[] = {
        {"oblique", GraphView::oblique, false, false, {{" X", 1, 0}, {"Z ", 0, -1}, {"Y ", 1, -1}}},
        {"front", GraphView::front, false, false, {{" X", 1, 0}, {"Z ", 0, -1}}},
        {"front_vertical_reversed", GraphView::front, false, true, {{" X", 1, 0}, {"Z ", 0, 1}}},
        {"side", GraphView::side, false, false, {{" Y", 1, 0}, {"Z ", 0, -1}}},
        {"side_y_reversed", GraphView::side, true, false, {{"Y ", -1, 0}, {"Z ", 0, -1}}},
        {"plan", GraphView::plan, false, false, {{" X", 1, 0}, {"Y ", 0, -1}}},
        {"plan_y_reversed", GraphView::plan, true, false, {{" X", 1, 0}, {"Y ", 0, 1}}},
        {"plan_ignores_vertical_box", GraphView::plan, false, true, {{" X", 1, 0}, {"Y ", 0, -1}}},
        {"iso", GraphView::iso, false, false, {{" X", 1, 1}, {" Y", 1, -1}, {"Z ", 0, -1}}},
        {"iso_y_reversed", GraphView::iso, true, false, {{" X", 1, 1}, {"Y ", -1, 1}, {"Z ", 0, -1}}},
        {"iso_vertical_reversed", GraphView::iso, false, true, {{" X", 1, 1}, {" Y", 1, -1}, {"Z ", 0, 1}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Drawn d = draw_in_view(planes_model(), row.view, row.reverse_y, row.reverse_vertical);
        EXPECT_EQ(arrows_of(d), row.arrows);
    }
}

// A plane model knows no view: a view left in the settings by a spatial model draws it as
// always, and the settings drop the view.
TEST(Views, PlaneModelIsDrawnInItsOwnPlaneWhateverTheView)
{
    const Drawn d = draw_in_view(testing::rectangle(), GraphView::side, false, false);
    EXPECT_EQ(d.settings.current_settings.view, GraphView::oblique);
    EXPECT_EQ(arrows_of(d), (std::set<Arrow>{{" X", 1, 0}, {"Y ", 0, -1}}));
    EXPECT_EQ(d.plan.info_lines.size(), 4u);
}

TEST(Views, InfoWindowNamesAViewOtherThanTheObliqueOneAfterTheColour)
{
    struct Row {
        GraphView view;
        const char* line;
    };
    const Row rows[] = {{GraphView::front, " View: Front (X-Z)"},
                        {GraphView::side, " View: Side (Y-Z)"},
                        {GraphView::plan, " View: Plan (X-Y)"},
                        {GraphView::iso, " View: Isometric"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const std::vector<std::string> lines = graph_info_lines(2, 1.5, 2, row.view);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[3], " Color: AllBlack");
        EXPECT_EQ(lines[4], row.line);
    }
    EXPECT_EQ(graph_info_lines(2, 1.5, 2, GraphView::oblique).size(), 4u);
}

// The zoom compares its rectangle with the positions the view drew: in the side view the nodes
// that differ only in X lie on each other, and one rectangle picks them together.
TEST(Views, ZoomPicksWhatTheViewDrew)
{
    Drawn d = draw_in_view(planes_model(), GraphView::side, false, false);
    // Nodes 1 (0, 0, 0) and 2 (5, 0, 0) meet in the side view; node 6 (-2, 0, -1) lies below.
    const Node& n1 = d.model.node(1);
    const gwl::WindowPoint near{n1.plot_x - 0.1, n1.plot_y - 0.1};
    const gwl::WindowPoint far{n1.plot_x + 0.1, n1.plot_y + 0.1};
    const std::vector<bool> drawn(d.model.nodes.size(), true);
    EXPECT_EQ(select_nodes_in_rectangle(d.model, {near, far}, drawn), 2);
    EXPECT_TRUE(d.model.node(1).selected);
    EXPECT_TRUE(d.model.node(2).selected);
    EXPECT_FALSE(d.model.node(6).selected);
}

} // namespace
} // namespace vorax
