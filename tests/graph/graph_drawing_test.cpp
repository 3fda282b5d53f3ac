// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "core/text.h"
#include "reference_plan.h"
#include "graph/graph_drawing.h"
#include "graph/structure_render.h"
#include "graph_test_support.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "model/model_reader.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::make_model;
using testing::rectangle;
using testing::NodeSpec;
using testing::Pixels;

constexpr Rgb kRed = make_rgb(255, 0, 0);
constexpr Rgb kLineColor = 0x000080;    // standard line colour (dark red)
constexpr Rgb kGridColor = 0x00FF00;    // standard grid colour (green)
constexpr Rgb kElementColor = 0xFF00FF; // standard element number colour (magenta)
constexpr Rgb kTextColor = 0x800080;    // standard text colour (purple)
constexpr Rgb kScaleColor = 0x800000;   // standard scale colour (navy)

// One graph drawn headlessly, as the graph command draws it, on a large surface so that the
// marks are several pixels wide.
struct Drawn {
    StructureModel model;
    SettingsState settings;
    ViewMapping view;
    PlotBox box;
    std::string range_text;
    std::unique_ptr<gwl::DrawSurface> surface;
    DrawOutcome outcome = DrawOutcome::drawn;

    gwl::PixelPoint at(double x, double y) const { return surface->to_pixel({x, y}); }
    gwl::PixelPoint node_at(int n) const { return at(model.node(n).plot_x, model.node(n).plot_y); }
    Pixels pixels() const { return Pixels(*surface); }
};

// Draws `model` with the settings as after a load, changed by `adjust`.
Drawn draw(StructureModel model, const std::function<void(Drawn&)>& adjust = {}, int width = 1600,
           int height = 1200)
{
    Drawn d;
    d.model = std::move(model);
    GraphSettings& g = d.settings.current_settings;
    g.all_nodes = true;
    g.selected_element_count = d.model.element_count;
    preset_index_switches(g, d.model.node_count, d.model.element_count);
    if (adjust)
        adjust(d);
    const GraphPlan plan = plan_graph(d.model, d.settings, 1);
    d.view = plan.view;
    d.box = plan.box;
    d.range_text = plan.range_text;
    d.surface = std::make_unique<gwl::DrawSurface>(width, height);
    d.outcome = draw_graph(*d.surface, d.model, d.settings, plan,
                           {"VORAX:", d.model.problem_title, UiLanguage::english});
    return d;
}

void custom_node_color(Drawn& d, Rgb color)
{
    d.settings.current_settings.colors[role_index(ColorRole::node_index)] = color;
}

void selection(Drawn& d, std::initializer_list<int> nodes)
{
    GraphSettings& g = d.settings.current_settings;
    g.all_nodes = false;
    for (Node& n : d.model.nodes)
        n.selected = false;
    for (int n : nodes)
        d.model.node(n).selected = true;
    g.selected_node_count = static_cast<std::int32_t>(nodes.size());
}

TEST(WholeGraph, WhiteBackgroundLineColourAndElevenGridLinesEachWay)
{
    const Drawn d = draw(rectangle());
    ASSERT_EQ(d.outcome, DrawOutcome::drawn);
    const Pixels p = d.pixels();
    EXPECT_EQ(p.at(p.width() - 1, p.height() - 1), kWhite);
    EXPECT_EQ(p.at(p.width() / 2, 3), kWhite);
    // Along element 1, (0, 0)-(10, 0), centred y = -2.5, away from nodes and its number.
    for (double x : {-3.5, -1.7, 1.7, 3.5}) {
        const gwl::PixelPoint px = d.at(x, -2.5);
        EXPECT_EQ(p.at(px.x, px.y), kLineColor) << x;
    }
    // Along element 2, (10, 0)-(10, 5).
    const gwl::PixelPoint right = d.at(5.0, 0.9);
    EXPECT_EQ(p.at(right.x, right.y), kLineColor);
    EXPECT_DOUBLE_EQ(d.view.grid_step_x, 2.0);
    EXPECT_DOUBLE_EQ(d.view.grid_step_y, 0.5);
    // Horizontal lines 0.5 apart between the element lines, checked at x = -2.3, off every
    // vertical line; white half-way between them.
    for (int k = 1; k <= 9; ++k) {
        const double y = -2.5 + 0.5 * k;
        const gwl::PixelPoint on = d.at(-2.3, y);
        EXPECT_EQ(p.at(on.x, on.y), kGridColor) << "horizontal " << k;
        const gwl::PixelPoint between = d.at(-2.3, y - 0.25);
        EXPECT_EQ(p.at(between.x, between.y), kWhite) << "between " << k;
    }
    // Vertical lines 1.0 apart.
    for (int k = 1; k <= 9; ++k) {
        const gwl::PixelPoint on = d.at(-5.0 + k, -1.3);
        EXPECT_EQ(p.at(on.x, on.y), kGridColor) << "vertical " << k;
    }
    // No grid beyond the grid rectangle.
    const gwl::PixelPoint outside = d.at(-2.3, -2.5 - 0.5);
    EXPECT_EQ(p.at(outside.x, outside.y), kWhite);
}

TEST(WholeGraph, NoGridOrScaleWhenSwitchedOffOrWithoutNodesInTheFrontPlane)
{
    const Drawn d = draw(rectangle(), [](Drawn& d) { d.settings.current_settings.show_grid_and_scale = false; });
    const Pixels p = d.pixels();
    EXPECT_EQ(p.count(kGridColor), 0);
    EXPECT_EQ(p.count(0x800000), 0); // the scale colour
    const Pixels space = draw(make_model(3, {{0, 1, 0}, {4, 1, 0}, {4, 1, 12}}, {{1, 2}, {2, 3}})).pixels();
    EXPECT_EQ(space.count(kGridColor), 0);
    EXPECT_EQ(space.count(0x800000), 0);
    EXPECT_GT(space.count(kLineColor), 100);
}

TEST(WholeGraph, LeftAdjustedScaleLabelsStandLeftOfAndBelowTheGrid)
{
    const Drawn d = draw(rectangle());
    const Pixels p = d.pixels();
    constexpr Rgb kScale = 0x800000;
    const gwl::PixelPoint lower_left = d.at(-5.0, -2.5);
    const gwl::PixelPoint upper_left = d.at(-5.0, 2.5);
    // Vertical scale: left of the grid, over its whole height.
    EXPECT_GT(p.count(kScale, 0, upper_left.y - 10, lower_left.x - 1, lower_left.y + 10), 50);
    // Horizontal scale: below the grid.
    EXPECT_GT(p.count(kScale, lower_left.x - 20, lower_left.y + 1, p.width() - 1, lower_left.y + 40), 50);
    // Nothing of the scale inside the grid.
    EXPECT_EQ(p.count(kScale, lower_left.x + 5, upper_left.y + 5, d.at(4.5, 0).x, lower_left.y - 5), 0);
    // The labels are left-adjusted.
    EXPECT_EQ(scale_label(-12.5), "-12.50   ");
    EXPECT_EQ(scale_label(0.0), "0.00     ");
    EXPECT_EQ(scale_label(10.5), "10.50    ");
    EXPECT_EQ(scale_label(123456789.0), "*********");
}

// The grid and scale of a drawn graph as its record holds them, in pixels: the rows of the
// horizontal grid lines and of the vertical scale's ticks, the columns of the vertical grid lines
// and of the horizontal scale's ticks, and each scale's labels by the tick they belong to (a
// vertical-scale label follows its tick and is centred on its row, a horizontal-scale one comes
// before its tick, below the grid).
struct ScaleMarks {
    std::set<int> grid_rows, grid_columns;
    std::vector<int> tick_rows, tick_columns;
    std::map<int, std::string> row_labels, column_labels;
};

ScaleMarks scale_marks(const gwl::DrawSurface& surface)
{
    ScaleMarks m;
    surface.read_record([&](const gwl::DrawRecord& record) {
        const auto is_line = [&](const gwl::DrawOp& op, Rgb color) {
            return op.kind == gwl::RecordOp::line && record.look(op.look).color == color;
        };
        for (const gwl::DrawOp& op : record.ops())
            if (is_line(op, kGridColor))
                (op.b == op.d ? m.grid_rows : m.grid_columns).insert(op.b == op.d ? op.b : op.a);
        const int grid_bottom = m.grid_rows.empty() ? 0 : *m.grid_rows.rbegin();
        std::string pending;
        for (const gwl::DrawOp& op : record.ops()) {
            if (is_line(op, kScaleColor) && op.b == op.d) {
                m.tick_rows.push_back(op.b);
            } else if (is_line(op, kScaleColor)) {
                m.tick_columns.push_back(op.a);
                m.column_labels[op.a] = std::exchange(pending, {});
            } else if (op.kind == gwl::RecordOp::text && record.look(op.look).color == kScaleColor) {
                const int ascent = record.font(record.look(op.look).font).ascent;
                if (op.b - ascent > grid_bottom)
                    pending = record.text(op);
                else if (!m.tick_rows.empty() && std::abs(op.b - ascent / 2 - m.tick_rows.back()) <= 1)
                    m.row_labels[m.tick_rows.back()] = record.text(op);
            }
        }
    });
    return m;
}

// In each mode of the vertical scale (models about 2, 5 and 10 times wider than tall: 10, 5 or 4
// steps) and of the horizontal one (tall models: a tick at every second fifth), the ticks sit on
// the grid lines, and the first and the last tick of each scale carry the label of their value.
TEST(WholeGraph, ScaleTicksSitOnTheGridLinesWithLabelsAtBothEnds)
{
    struct Row {
        const char* name;
        float width, height;
        int rows;            // ticks of the vertical scale
        bool every_row_labelled;
        int columns;         // ticks of the horizontal scale
    };
    const Row rows[] = {
        {"2 times wider", 20, 10, 11, true, 6},      {"5 times wider", 18.5f, 3.7f, 6, true, 6},
        {"10 times wider", 37, 3.7f, 5, false, 6},   {"2 times taller", 10, 20, 11, true, 6},
        {"5 times taller", 10, 50, 11, true, 3},     {"10 times taller", 10, 100, 11, true, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Steps that are no binary fractions: the last tick is reached by sums that overshoot.
        const float x0 = 0.1f, y0 = 0.1f;
        const Drawn d = draw(make_model(2, {{x0, y0}, {x0 + row.width, y0}, {x0 + row.width, y0 + row.height},
                                            {x0, y0 + row.height}}));
        const ScaleMarks m = scale_marks(*d.surface);
        EXPECT_EQ(std::set<int>(m.tick_rows.begin(), m.tick_rows.end()), m.grid_rows);
        ASSERT_EQ(m.tick_rows.size(), static_cast<std::size_t>(row.rows));
        EXPECT_EQ(m.row_labels.size(), row.every_row_labelled ? m.tick_rows.size() : 2u);
        EXPECT_EQ(m.row_labels.at(m.tick_rows.front()), scale_label(y0));
        EXPECT_EQ(m.row_labels.at(m.tick_rows.back()), scale_label(y0 + row.height));

        ASSERT_EQ(m.tick_columns.size(), static_cast<std::size_t>(row.columns));
        for (const int column : m.tick_columns)
            EXPECT_TRUE(m.grid_columns.count(column)) << column;
        const float last = row.columns == 6 ? row.width : 0.8f * row.width;
        EXPECT_EQ(m.column_labels.at(m.tick_columns.front()), scale_label(x0));
        EXPECT_EQ(m.column_labels.at(m.tick_columns.back()), scale_label(x0 + last));
    }
}

TEST(WholeGraph, HeadingTitleAndNodeLineInTheTextLayer)
{
    const Drawn all = draw(rectangle());
    gwl::WindowConfig config;
    all.surface->fill_window_config(config);
    const int cell_h = all.surface->height() / config.text_rows;
    const Pixels p = all.pixels();
    auto text_row_ink = [&](const Pixels& pix, int row) {
        return pix.count(kTextColor, 0, (row - 1) * cell_h, pix.width() - 1, row * cell_h - 1);
    };
    EXPECT_GT(text_row_ink(p, 2), 20);                    // the heading
    EXPECT_GT(text_row_ink(p, config.text_rows - 2), 20); // the title
    EXPECT_EQ(text_row_ink(p, config.text_rows - 1), 0);  // no node line with all nodes

    const Drawn some = draw(rectangle(), [](Drawn& d) { selection(d, {1, 2, 3}); });
    EXPECT_EQ(some.range_text, "1-3");
    EXPECT_GT(text_row_ink(some.pixels(), config.text_rows - 1), 20);
}

// A graph of one node, or of nodes that all lie at one point, draws them in its middle: at the
// pixel where every graph has the middle of its plot box, the fixed nodes' black disc centred
// there.
TEST(WholeGraph, LoneAndCoincidentNodesAreDrawnInTheMiddle)
{
    const gwl::PixelPoint middle = draw(rectangle()).at(0, 0);
    struct Row {
        const char* name;
        StructureModel model;
    };
    const Row rows[] = {
        {"one node far from the origin", make_model(2, {{30, -40, 0, {1, 1}}})},
        {"three nodes at one point", make_model(2, {{3, 4, 0, {1, 1}}, {3, 4, 0, {1, 1}}, {3, 4, 0, {1, 1}}})},
        {"space nodes at one point", make_model(3, {{2, 5, 7, {1, 1, 1}}, {2, 5, 7, {1, 1, 1}}})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Drawn d = draw(row.model, [](Drawn& x) { x.settings.current_settings.show_grid_and_scale = false; });
        for (int n = 1; n <= d.model.node_count; ++n)
            EXPECT_EQ(std::pair(d.node_at(n).x, d.node_at(n).y), std::pair(middle.x, middle.y)) << n;
        const Pixels p = d.pixels();
        int left = middle.x, right = middle.x;
        while (p.at(left - 1, middle.y) == kBlack)
            --left;
        while (p.at(right + 1, middle.y) == kBlack)
            ++right;
        EXPECT_GT(right - left, 4);
        EXPECT_LE(std::abs((middle.x - left) - (right - middle.x)), 1);
    }
}

TEST(WholeGraph, AllBlackDrawsOnlyBlackOnWhite)
{
    const Drawn d = draw(testing::example_model("space_tower.dat"), [](Drawn& d) {
        d.settings.color_scheme = ColorScheme::all_black;
        d.settings.current_settings.colors = kAllBlackColors;
    });
    const Pixels p = d.pixels();
    const int black = p.count(kBlack);
    EXPECT_GT(black, 1000);
    EXPECT_EQ(black + p.count(kWhite), p.width() * p.height());
}

TEST(Marks, FixedNodeHasADiscInASquare)
{
    const Drawn d = draw(rectangle({1, 1, 0}));
    ASSERT_TRUE(d.model.node(1).fixed);
    const Pixels p = d.pixels();
    const double x = d.model.node(1).plot_x;
    const double y = d.model.node(1).plot_y;
    const double dx = d.view.marker_dx;
    const double dy = d.view.marker_dy;
    auto colour = [&](double mx, double my) {
        const gwl::PixelPoint px = d.at(x + mx * dx, y + my * dy);
        return p.at(px.x, px.y);
    };
    EXPECT_EQ(colour(0, 0), kBlack);          // the disc
    EXPECT_EQ(colour(-1.4, 0.6), kBlack);     // the left side of the square
    EXPECT_EQ(colour(-0.5, 1.4), kBlack);     // its top
    EXPECT_EQ(colour(-1.15, 1.15), kWhite);   // between disc and square
    // No origin marker on a fixed origin node: its white disc would cover the centre.
    EXPECT_EQ(d.model.origin_node, 1);
}

TEST(Marks, SupportTriangleIsStripedAndPointsUpToTheNode)
{
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "reverse_vertical" : "standard");
        const Drawn d = draw(rectangle({0, 1, 0}), [&](Drawn& d) {
            d.settings.current_settings.reverse_vertical = reversed;
            d.settings.current_settings.show_grid_and_scale = false;
        });
        const Pixels p = d.pixels();
        const gwl::PixelPoint node = d.node_at(1);
        const double a = d.view.unit_y / 6;
        const double sign = reversed ? -1.0 : 1.0;
        // A row through the triangle, 0.6 a below the node on screen.
        const gwl::PixelPoint row = d.at(d.model.node(1).plot_x, d.model.node(1).plot_y - sign * 0.6 * a);
        EXPECT_GT(row.y, node.y) << "the triangle hangs below the node on screen";
        // Left of the centre column, where the vertical axis arrow of a reversed graph runs.
        int changes = 0;
        int black = 0;
        for (int x = node.x - 7; x <= node.x - 3; ++x) {
            black += p.at(x, row.y) == kBlack;
            changes += p.at(x, row.y) != p.at(x + 1, row.y);
        }
        EXPECT_GE(black, 2) << "every other column";
        EXPECT_EQ(changes, 5);
        // The ground line under the base.
        const gwl::PixelPoint ground =
            d.at(d.model.node(1).plot_x, d.model.node(1).plot_y - sign * (a + a / 3));
        EXPECT_EQ(p.count(kBlack, ground.x - 3, ground.y, ground.x + 3, ground.y), 7);
    }
}

TEST(Marks, HorizontalSupportHasItsBaseToTheLeft)
{
    const Drawn d = draw(rectangle({1, 0, 0}), [](Drawn& d) {
        d.settings.current_settings.show_grid_and_scale = false;
    });
    const Pixels p = d.pixels();
    const double x = d.model.node(1).plot_x;
    const double y = d.model.node(1).plot_y;
    const double a = d.view.unit_y / 6;
    const gwl::PixelPoint left = d.at(x - 0.6 * a, y);
    const gwl::PixelPoint below = d.at(x, y - 0.6 * a);
    EXPECT_GT(p.count(kBlack, left.x - 3, left.y - 1, left.x + 3, left.y + 1), 3);
    EXPECT_EQ(p.count(kBlack, below.x - 3, below.y - 1, below.x + 3, below.y + 1), 0);
}

TEST(Marks, FreeNodeWithoutIndicesIsInvisible)
{
    // Node 5 is free and lies off every element.
    StructureModel m = make_model(2, {{0, 0, 0, {1, 1, 0}}, {10, 0}, {10, 5}, {0, 5}, {5, 2.5}},
                                  {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    const auto adjust_with = [](bool indices) {
        return [indices](Drawn& d) {
            custom_node_color(d, kRed);
            d.settings.current_settings.show_node_indices = indices;
            d.settings.current_settings.show_grid_and_scale = false;
        };
    };
    const Drawn on = draw(m, adjust_with(true));
    const Drawn off = draw(m, adjust_with(false));
    const gwl::PixelPoint n5 = on.node_at(5);
    EXPECT_GT(on.pixels().count(kRed, n5.x - 10, n5.y - 10, n5.x + 30, n5.y + 30), 10);
    EXPECT_EQ(off.pixels().count(kRed, n5.x - 10, n5.y - 10, n5.x + 30, n5.y + 30), 0);
    EXPECT_EQ(off.pixels().count(kRed), 0);
    // The fixed node keeps its black disc.
    const gwl::PixelPoint n1 = off.node_at(1);
    EXPECT_EQ(off.pixels().at(n1.x, n1.y), kBlack);
}

TEST(Marks, FreeNodeMarksStopAtOneHundredFreeNodes)
{
    const auto model_with = [](int coded) {
        StructureModel m = rectangle();
        // 150 selected nodes counted, `coded` of them coded: only the count matters.
        m.coded_node_count = coded;
        return m;
    };
    const auto adjust = [](Drawn& d) {
        custom_node_color(d, kRed);
        d.settings.current_settings.show_node_indices = false;
        d.settings.current_settings.show_grid_and_scale = true;
    };
    // draw_structure reads selected_node_count; the graph sets it to node_count for all nodes,
    // so draw the structure alone with the counts of the case.
    for (auto [coded, marks] : {std::pair{50, false}, std::pair{51, true}}) {
        Drawn d = draw(model_with(coded), adjust);
        d.settings.current_settings.selected_node_count = 150;
        d.settings.current_settings.show_node_indices = true;
        gwl::DrawSurface surface(1600, 1200);
        surface.set_window(true, d.view.window_x1, d.view.window_y1, d.view.window_x2, d.view.window_y2);
        surface.set_bk_color_rgb(kWhite);
        surface.clear_screen(0);
        surface.init_fonts();
        draw_structure(surface, d.model, d.settings, d.view);
        const Pixels p(surface);
        const gwl::PixelPoint n3 = surface.to_pixel({d.model.node(3).plot_x, d.model.node(3).plot_y});
        const int dx = static_cast<int>(d.view.marker_dx * 1599 / (d.view.window_x2 - d.view.window_x1));
        // The left side of the ring; the label stands to the right.
        EXPECT_EQ(p.at(n3.x - dx, n3.y) == kRed, marks) << coded;
    }
}

TEST(Labels, CloseNodeLabelIsRaised)
{
    const auto model_with = [](float second_x) {
        return make_model(2, {{5, 2.5}, {second_x, 2.5}, {0, 0}, {10, 5}});
    };
    const auto adjust = [](Drawn& d) {
        custom_node_color(d, kRed);
        d.settings.current_settings.show_grid_and_scale = false;
    };
    const Drawn close = draw(model_with(5.01f), adjust);
    const Drawn far = draw(model_with(7.5f), adjust);
    ASSERT_LE(std::abs(close.model.node(2).plot_x - close.model.node(1).plot_x), close.view.marker_dx);
    // The band above node 2 where a label raised by 3 marker heights stands.
    auto raised_ink = [](const Drawn& d) {
        const gwl::PixelPoint n = d.node_at(2);
        const gwl::PixelPoint top = d.at(d.model.node(2).plot_x + d.view.marker_dx,
                                         d.model.node(2).plot_y + 3 * d.view.marker_dy);
        return d.pixels().count(kRed, top.x, top.y, top.x + 20, n.y - 8);
    };
    EXPECT_GT(raised_ink(close), 5);
    EXPECT_EQ(raised_ink(far), 0);
    // Node 1's label stays level with its node: its ink starts at the node's row.
    const gwl::PixelPoint n1 = close.node_at(1);
    EXPECT_GT(close.pixels().count(kRed, n1.x + 8, n1.y + 2, n1.x + 20, n1.y + 14), 5);
}

TEST(Labels, CoincidingElementNumberGoesToTheOtherSide)
{
    const auto model_with = [](bool twin) {
        std::initializer_list<std::pair<int, int>> one{{1, 2}};
        std::initializer_list<std::pair<int, int>> two{{1, 2}, {2, 1}};
        return make_model(2, {{0, 0}, {10, 0}, {0, 5}}, twin ? two : one);
    };
    const auto adjust = [](Drawn& d) { d.settings.current_settings.show_grid_and_scale = false; };
    const Drawn twin = draw(model_with(true), adjust);
    const Drawn single = draw(model_with(false), adjust);
    auto ink_below = [](const Drawn& d) {
        const gwl::PixelPoint mid = d.at(0.5 * (d.model.node(1).plot_x + d.model.node(2).plot_x),
                                         d.model.node(1).plot_y);
        return d.pixels().count(kElementColor, mid.x, mid.y + 8, mid.x + 20, mid.y + 24);
    };
    EXPECT_GT(ink_below(twin), 5);
    EXPECT_EQ(ink_below(single), 0);
}

TEST(OriginMarker, OnlyForAllNodesAndANodeThatIsNotFixed)
{
    const auto adjust = [](Drawn& d) {
        custom_node_color(d, kRed);
        d.settings.current_settings.show_grid_and_scale = false;
    };
    auto rim_left = [](const Drawn& d) {
        const gwl::PixelPoint px = d.at(-d.box.center_x - d.view.marker_dx, -d.box.center_y);
        return d.pixels().at(px.x, px.y);
    };
    auto centre = [](const Drawn& d) {
        const gwl::PixelPoint px = d.at(-d.box.center_x, -d.box.center_y);
        return d.pixels().at(px.x, px.y);
    };
    // All nodes: the black rim over node 1's red ring.
    EXPECT_EQ(rim_left(draw(rectangle(), adjust)), kBlack);
    // A selection of the same nodes: no marker, the ring stays red.
    const Drawn selected = draw(rectangle(), [&](Drawn& d) {
        adjust(d);
        selection(d, {1, 2, 3, 4});
    });
    EXPECT_EQ(rim_left(selected), kRed);
    // A fixed origin node keeps its black disc in the centre (the marker's would be white).
    EXPECT_EQ(centre(draw(rectangle({1, 1, 0}), adjust)), kBlack);
    EXPECT_EQ(centre(draw(rectangle(), adjust)), kWhite);
}

TEST(Elements, MissingOrUnselectedEndsAreNotDrawnNorCounted)
{
    StructureModel m = make_model(2, {{0, 0}, {10, 0}, {10, 5}}, {{1, 2}, {0, 3}, {2, 3}, {3, 0}});
    EXPECT_EQ(count_selected_elements(m), 2); // elements 2 and 4 miss a node
    EXPECT_FALSE(element_drawn(m, m.element(4)));
    EXPECT_FALSE(element_drawn(m, m.element(2)));
    m.node(3).selected = false;
    EXPECT_EQ(count_selected_elements(m), 2); // element 3 still has node 2
    EXPECT_FALSE(element_drawn(m, m.element(3)));
    m.node(2).selected = false;
    EXPECT_EQ(count_selected_elements(m), 1);
}

TEST(Grid, FrontPlaneOfASpaceModelAndAPlaneModelsExtents)
{
    // Front plane Y = 0: nodes 1, 2 and 4, X from 1 to 5 and Z from 0 to 12; node 3 lies
    // behind it.
    StructureModel space = make_model(3, {{1, 0, 0}, {5, 0, 0}, {5, 4, 12}, {1, 0, 12}});
    SettingsState settings;
    settings.current_settings.all_nodes = true;
    const GraphPlan plan = plan_graph(space, settings, 1);
    const GridRect& grid = plan.grid;
    EXPECT_FLOAT_EQ(static_cast<float>(grid.x1), static_cast<float>(1 - plan.box.center_x));
    EXPECT_FLOAT_EQ(static_cast<float>(grid.x2), static_cast<float>(5 - plan.box.center_x));
    EXPECT_FLOAT_EQ(static_cast<float>(grid.y1), static_cast<float>(0 - plan.box.center_y));
    EXPECT_FLOAT_EQ(static_cast<float>(grid.y2), static_cast<float>(12 - plan.box.center_y));

    // A plane model: its extents across, the box down.
    StructureModel plane = rectangle();
    const GraphPlan flat = plan_graph(plane, settings, 1);
    const GridRect plane_grid = grid_rect(plane, flat.box);
    EXPECT_DOUBLE_EQ(plane_grid.x1, -5.0);
    EXPECT_DOUBLE_EQ(plane_grid.x2, 5.0);
    EXPECT_DOUBLE_EQ(plane_grid.y1, -2.5);
    EXPECT_DOUBLE_EQ(plane_grid.y2, 2.5);
}

// In every view the grid lies within the box the window is fitted to: the isometric view slants
// it, and a corner that is no drawn node (X 4, Z 3 here) once fell over the headings.
TEST(Grid, StaysWithinTheBoxOfTheWindowInEveryView)
{
    for (const GraphView view : kGraphViews)
        for (int reverse = 0; reverse < 4; ++reverse) {
            SCOPED_TRACE(::testing::Message() << view_name(view) << " reverse " << reverse);
            StructureModel m = make_model(3, {{0, 0, 3}, {4, 0, 0}, {2, 5, 1}});
            SettingsState settings;
            GraphSettings& g = settings.current_settings;
            g.all_nodes = true;
            g.view = view;
            g.reverse_y = (reverse & 1) != 0;
            g.reverse_vertical = (reverse & 2) != 0;
            const GraphPlan plan = plan_graph(m, settings, 1);
            const GridRect& grid = plan.grid;
            const double slack = 1e-4;
            for (const double x : {grid.x1, grid.x2})
                for (const double y : {grid.y1, grid.y2}) {
                    const double drawn_y = y + grid.slope * (x - grid.origin_x);
                    EXPECT_GE(x, plan.box.x_min - plan.box.center_x - slack);
                    EXPECT_LE(x, plan.box.x_max - plan.box.center_x + slack);
                    EXPECT_GE(drawn_y, plan.box.y_min - plan.box.center_y - slack);
                    EXPECT_LE(drawn_y, plan.box.y_max - plan.box.center_y + slack);
                }
        }
}

// The plan's single pass over the nodes leaves the model, box, view and grid that the separate
// steps leave, for plane and spatial models, all nodes or every third one left out, each pair
// of reverse switches and each view.
TEST(Plan, OnePassOverTheNodesEqualsTheSeparateSteps)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<float> coordinate(-50.0f, 80.0f);
    for (const int ngl : {2, 3})
        for (const bool all_nodes : {true, false})
            for (int reverse = 0; reverse < 4; ++reverse)
                for (const GraphView view : kGraphViews) {
                    SCOPED_TRACE(::testing::Message() << "NGL " << ngl << " all " << all_nodes
                                                      << " reverse " << reverse << " view "
                                                      << view_name(view));
                    StructureModel fused;
                    fused.NGL = ngl;
                    fused.node_count = 300;
                    fused.nodes.resize(300);
                    for (std::size_t i = 0; i < fused.nodes.size(); ++i) {
                        Node& node = fused.nodes[i];
                        // Nodes lie in the planes Y = 0, X = 0 and Z = 0 by turns; plot positions
                        // start stale.
                        node.coords = {i % 4 == 1 ? 0.0f : coordinate(random),
                                       i % 4 == 0 ? 0.0f : coordinate(random),
                                       ngl == 3 && i % 4 != 2 ? coordinate(random) : 0.0f};
                        node.selected = i % 3 != 1;
                        node.plot_x = node.plot_y = -7.0f;
                    }
                    SettingsState settings;
                    GraphSettings& g = settings.current_settings;
                    g.all_nodes = all_nodes;
                    g.reverse_y = (reverse & 1) != 0;
                    g.reverse_vertical = (reverse & 2) != 0;
                    g.view = view;
                    StructureModel separate = fused;
                    const GraphPlan plan = plan_graph(fused, settings, 1);

                    if (all_nodes)
                        for (Node& node : separate.nodes)
                            node.selected = true;
                    update_extents(separate, all_nodes);
                    project_nodes(separate, g.reverse_y, g.reverse_vertical, view);
                    const ViewPlane plane = view_plane(ngl, view, g.reverse_y, g.reverse_vertical);
                    const PlotBox box = plot_box(separate, g.min_size_factor, g.min_size_factor_auto, &plane);
                    center_nodes(separate, box.center_x, box.center_y);
                    GridRect grid = grid_rect(separate, box, plane);
                    ViewMapping view_mapping = view_of(box);
                    set_grid_steps(view_mapping, grid);
                    EXPECT_EQ(fused, separate);
                    EXPECT_EQ(plan.box, box);
                    EXPECT_EQ(plan.grid, grid);
                    EXPECT_EQ(plan.view, view_mapping);
                }
}

TEST(Fonts, IndexFontsFollowTheSwitches)
{
    SettingsState s;
    gwl::DrawSurface surface(100, 100);
    surface.init_fonts();
    GraphSettings& g = s.current_settings;
    g.selected_node_count = 150;
    g.selected_element_count = 50;
    EXPECT_EQ(choose_index_font(surface, s, "node"), pad_right("t'tms rmn'h14be'", 20));
    EXPECT_EQ(choose_index_font(surface, s, "Element"), pad_right("t'tms rmn'h15b'", 20));
    g.index_style_auto = false;
    g.index_size_auto = false;
    g.node_index_size = 1;
    g.node_index_bold = false;
    g.node_index_italic = true;
    g.element_index_size = 11;
    g.element_index_underline = true;
    EXPECT_EQ(choose_index_font(surface, s, "N"), pad_right("t'tms rmn'h10bi'", 20));
    EXPECT_EQ(choose_index_font(surface, s, "e"), pad_right("t'tms rmn'h24bu'", 20));
}


// The progress of a drawing counts the element lines, the nodes and, with element numbers on,
// the elements again: all of them once the structure is drawn.
TEST(WholeGraph, ProgressCountsEveryItemOfTheStructure)
{
    for (const bool numbers : {false, true}) {
        Drawn d = draw(rectangle(), [&](Drawn& x) {
            x.settings.current_settings.show_element_indices = numbers;
        });
        DrawProgress progress;
        EXPECT_EQ(progress.percent(), 0);
        const GraphPlan plan = plan_graph(d.model, d.settings, 1);
        draw_graph(*d.surface, d.model, d.settings, plan, {"VORAX:", "", UiLanguage::english},
                   &progress);
        EXPECT_EQ(progress.total, numbers ? 4 + 4 + 4 : 4 + 4);
        EXPECT_EQ(progress.done, progress.total);
        EXPECT_EQ(progress.percent(), 100);
    }
    // More nodes than one step of the count, nearly all free and without numbers: they are
    // passed over in stretches, and the fixed nodes among them still get their marks.
    std::vector<NodeSpec> nodes(9000);
    const std::array<int, 4> fixed{4095, 4096, 4097, 9000};
    for (std::size_t k = 0; k < fixed.size(); ++k)
        nodes[static_cast<std::size_t>(fixed[k] - 1)] = {10.0f * static_cast<float>(k + 1), 40.0f * static_cast<float>(k % 2), 0, {1, 1}};
    Drawn d = draw(make_model(2, nodes, {{1, 9000}}));
    DrawProgress progress;
    draw_graph(*d.surface, d.model, d.settings, plan_graph(d.model, d.settings, 1),
               {"VORAX:", "", UiLanguage::english}, &progress);
    EXPECT_EQ(progress.total, 1 + 9000 + 1); // the line, the nodes, the line's number
    EXPECT_EQ(progress.done, progress.total);
    for (const int n : fixed)
        EXPECT_EQ(d.pixels().at(d.node_at(n).x, d.node_at(n).y), kBlack) << n;
}

} // namespace
} // namespace vorax
