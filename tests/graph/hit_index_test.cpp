// SPDX-License-Identifier: GPL-3.0-or-later
// The index of what a graph drew: the grid search finds what a plain search over everything
// finds, and it holds exactly what the graph drew.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graph/graph_drawing.h"
#include "graph_test_support.h"
#include "graph/hit_index.h"
#include "gwl/surface/window_mapping.h"

namespace vorax {
namespace {

using testing::make_model;

// The plain search: the nearest node within reach of its mark, else the nearest line within
// the slack; the lowest number of equally near ones.
HitItem nearest(const std::vector<DrawnNode>& nodes, const std::vector<DrawnElement>& elements,
                int width, int height, double mark, double x, double y, double slack)
{
    HitItem best;
    double best_d = mark + slack;
    for (const DrawnNode& n : nodes) {
        if (n.at.x < 0 || n.at.y < 0 || n.at.x >= width || n.at.y >= height)
            continue;
        const double d = distance_to_segment(x, y, n.at, n.at);
        if (d < best_d || (d == best_d && (best.number == 0 || n.number < best.number))) {
            best = {HitItem::Kind::node, n.number};
            best_d = d;
        }
    }
    if (best.number != 0)
        return best;
    best_d = slack;
    for (const DrawnElement& e : elements) {
        const double d = distance_to_segment(x, y, e.from, e.to);
        if (d < best_d || (d == best_d && (best.number == 0 || e.number < best.number))) {
            best = {HitItem::Kind::element, e.number};
            best_d = d;
        }
    }
    return best;
}

TEST(HitIndex, FindsWhatAPlainNearestSearchFinds)
{
    struct Case {
        const char* name;
        int nodes;
        int elements;
        bool long_lines; // lines between any two nodes: the grid coarsens
    };
    const Case cases[] = {
        {"few items, large cells", 12, 8, false},
        {"dense, small cells", 3000, 3000, false},
        {"long lines", 300, 6000, true},
    };
    constexpr int kWidth = 500, kHeight = 400;
    constexpr double kMark = 5.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> across(0, kWidth - 1), down(0, kHeight - 1);
        std::vector<DrawnNode> nodes;
        for (int i = 1; i <= c.nodes; ++i)
            nodes.push_back({i, {across(random), down(random)}});
        // Nodes beyond the area cannot be pointed at.
        nodes.push_back({c.nodes + 1, {-3, 10}});
        nodes.push_back({c.nodes + 2, {kWidth, 10}});
        std::uniform_int_distribution<int> pick(0, c.nodes - 1), step(-12, 12);
        std::vector<DrawnElement> elements;
        for (int e = 1; e <= c.elements; ++e) {
            const gwl::PixelPoint a = nodes[static_cast<std::size_t>(pick(random))].at;
            const gwl::PixelPoint b
                = c.long_lines ? nodes[static_cast<std::size_t>(pick(random))].at
                               : gwl::PixelPoint{std::clamp(a.x + step(random), 0, kWidth - 1),
                                                 std::clamp(a.y + step(random), 0, kHeight - 1)};
            elements.push_back({e, a, b});
        }
        const HitIndex index(kWidth, kHeight, kMark, nodes, elements);
        EXPECT_EQ(index.node_count(), static_cast<std::size_t>(c.nodes));

        std::uniform_real_distribution<double> x_at(-20.0, kWidth + 20.0), y_at(-20.0, kHeight + 20.0);
        int found_nodes = 0, found_elements = 0;
        for (int q = 0; q < 1500; ++q) {
            const double x = q % 3 == 0 ? std::floor(x_at(random)) : x_at(random);
            const double y = q % 3 == 0 ? std::floor(y_at(random)) : y_at(random);
            const double slack = q % 2 == 0 ? 3.0 : 9.5;
            const HitItem expected = nearest(nodes, elements, kWidth, kHeight, kMark, x, y, slack);
            ASSERT_EQ(index.find(x, y, slack), expected) << x << ", " << y << " slack " << slack;
            found_nodes += expected.kind == HitItem::Kind::node;
            found_elements += expected.kind == HitItem::Kind::element;
        }
        // Both kinds were really looked for.
        EXPECT_GT(found_nodes, 0);
        EXPECT_GT(found_elements, 0);
    }
    EXPECT_EQ(HitIndex().find(1.0, 1.0, 3.0), HitItem{});

    // A line that leaves the area is found along the part inside; one wholly outside is not.
    const std::vector<DrawnElement> leaving{{1, {-50, 10}, {50, 90}}, {2, {-50, -10}, {150, -10}}};
    const HitIndex clipped(100, 100, kMark, {}, leaving);
    EXPECT_EQ(clipped.element_count(), 1u);
    EXPECT_EQ(clipped.find(0.0, 50.0, 3.0), (HitItem{HitItem::Kind::element, 1}));
    EXPECT_EQ(clipped.find(25.0, 70.0, 3.0), (HitItem{HitItem::Kind::element, 1}));
    EXPECT_EQ(clipped.find(50.0, 0.0, 3.0), HitItem{});
}

// Nodes 1 (supported) and 2 (free) with the line between them, and node 3 off to the side.
TEST(HitIndex, HoldsWhatTheGraphDrew)
{
    StructureModel model = make_model(2, {{0, 0, 0, {1, 0}}, {10, 0}, {5, 4}}, {{1, 2}, {2, 3}});
    SettingsState settings;
    GraphSettings& g = settings.current_settings;
    g.all_nodes = true;
    const GraphPlan plan = plan_graph(model, settings, 1);
    constexpr int kWidth = 400, kHeight = 300;
    gwl::WindowMapping mapping(kWidth, kHeight);
    const WindowCorners corners = window_corners(plan.view, g.reverse_vertical);
    bool reordered = false;
    mapping.set_window(corners.invert, corners.x1, corners.y1, corners.x2, corners.y2, reordered);
    auto at = [&](int n) { return mapping.to_pixel({model.node(n).plot_x, model.node(n).plot_y}); };

    for (bool numbers : {true, false}) {
        g.show_node_indices = numbers;
        const HitIndex index = index_drawn_items(model, g, plan.view, kWidth, kHeight);
        EXPECT_EQ(index.find(at(1).x, at(1).y, 3.0), (HitItem{HitItem::Kind::node, 1}));
        // A free node without its number has no mark: only its lines are there.
        EXPECT_EQ(index.find(at(2).x, at(2).y, 3.0),
                  (numbers ? HitItem{HitItem::Kind::node, 2} : HitItem{HitItem::Kind::element, 1}));
        // The last element, half-way along.
        EXPECT_EQ(index.find((at(2).x + at(3).x) / 2.0, (at(2).y + at(3).y) / 2.0, 3.0),
                  (HitItem{HitItem::Kind::element, 2}));
        // The mark's half height, the larger half side: a 180th of the window's height.
        EXPECT_NEAR(index.mark_radius(), (kHeight - 1) / 180.0, 1e-9);
    }
    // A node outside the selection is not drawn, nor are its lines.
    model.node(3).selected = false;
    g.all_nodes = false;
    const HitIndex index = index_drawn_items(model, g, plan.view, kWidth, kHeight);
    EXPECT_EQ(index.find(at(3).x, at(3).y, 3.0), HitItem{});
    EXPECT_EQ(index.element_count(), 1u);
}

TEST(HitIndex, NodesBesideAreThoseAtTheSamePixel)
{
    // Nodes 2, 5 and 9 on one pixel, 3 on the next, 7 and 10 together across a cell boundary
    // from them.
    const std::vector<DrawnNode> nodes{{9, {64, 40}}, {2, {64, 40}},  {3, {65, 40}},   {5, {64, 40}},
                                       {7, {63, 40}}, {10, {63, 40}}, {8, {300, 200}}};
    const HitIndex index(400, 300, 3.0, nodes, {});
    struct Row {
        std::int32_t node;
        double x, y, slack;
        std::vector<std::int32_t> beside;
    };
    const Row rows[] = {
        {2, 64, 40, 1, {5, 9}}, {9, 65.5, 41, 1, {2, 5}}, {3, 65, 40, 1, {}}, {7, 63, 40, 1, {10}},
        {8, 300, 200, 1, {}},   {4, 64, 40, 1, {}}, // a node the index does not hold
        {7, 68.5, 40, 2, {10}}, // beyond the mark, within the slack
    };
    for (const Row& row : rows)
        EXPECT_EQ(index.nodes_beside(row.node, row.x, row.y, row.slack), row.beside) << row.node;
}

} // namespace
} // namespace vorax
