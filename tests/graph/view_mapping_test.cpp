// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "reference_plan.h"
#include "graph/view_mapping.h"
#include "graph_test_support.h"

namespace vorax {
namespace {

using testing::make_model;
using testing::rectangle;

// Projection, box, centring and window, as the graph command runs them.
struct Planned {
    PlotBox box;
    ViewMapping view;
};

Planned plan(StructureModel& m, float factor = 1.0f, bool factor_auto = true, bool reverse_y = false,
             bool reverse_vertical = false)
{
    project_nodes(m, reverse_y, reverse_vertical);
    Planned p;
    p.box = plot_box(m, factor, factor_auto);
    center_nodes(m, p.box.center_x, p.box.center_y);
    p.view = view_of(p.box);
    return p;
}

struct WindowCase {
    const char* name;
    StructureModel model;
    float factor;
    bool factor_auto;
    int orientation;
    double ratio;
    double x1, x2, y1, y2;
};

std::vector<WindowCase> window_cases()
{
    return {
        // W = 10, H = 5: ratio 2, centre (5, 2.5); x from -5 - 2 to 5 + 1, y from
        // 2 (-2.5 - 1) to 2 (2.5 + 0.75).
        {"rectangle_auto", rectangle(), 1.0f, true, 1, 2.0, -7.0, 6.0, -7.0, 6.5},
        // H = 2 x 5 = 10: ratio 1, y from -2.5 - 2 to 2.5 + 1.5.
        {"rectangle_factor_2", rectangle(), 2.0f, false, 1, 1.0, -7.0, 6.0, -4.5, 4.0},
        // A factor of 0, or one that is no number, counts as Auto.
        {"rectangle_factor_0", rectangle(), 0.0f, false, 1, 2.0, -7.0, 6.0, -7.0, 6.5},
        {"rectangle_factor_nan", rectangle(), std::numeric_limits<float>::quiet_NaN(), false, 1, 2.0,
         -7.0, 6.0, -7.0, 6.5},
        {"rectangle_factor_inf", rectangle(), std::numeric_limits<float>::infinity(), false, 1, 2.0,
         -7.0, 6.0, -7.0, 6.5},
        {"rectangle_factor_negative", rectangle(), -2.0f, false, 1, 2.0, -7.0, 6.0, -7.0, 6.5},
        // Tall: W = 5, H = 10, orientation 2, the x range stretched by 2: x from
        // 2 (-2.5 - 1) to 2 (2.5 + 0.5), y from -5 - 2 to 5 + 1.5.
        {"tall", make_model(2, {{0, 0}, {5, 0}, {5, 10}, {0, 10}}), 1.0f, true, 2, 2.0, -7.0, 6.0,
         -7.0, 6.5},
        // Beam at Y = 3: the y box is 2.5..3.5 about the beam (W/20 each way), H = 1, ratio
        // 10, centre (5, 3): y from 10 (-0.5 - 0.2) to 10 (0.5 + 0.15).
        {"beam_at_y3", make_model(2, {{0, 3}, {10, 3}}), 1.0f, true, 1, 10.0, -7.0, 6.0, -7.0, 6.5},
        // A column at X = 4 from Y = 0 to 20: the x box is 3..5, W = 2, H = 20, ratio 10,
        // centre (4, 10): x from 10 (-1 - 0.4) to 10 (1 + 0.2), y from -10 - 4 to 10 + 3.
        {"column_at_x4", make_model(2, {{4, 0}, {4, 20}}), 1.0f, true, 2, 10.0, -14.0, 12.0, -14.0,
         13.0},
        // One node: a box of 1 on each side of it, ratio 1: x from -1 - 0.4 to 1 + 0.2, y
        // from -1 - 0.4 to 1 + 0.3.
        {"single_node", make_model(2, {{3, 4}}), 1.0f, true, 1, 1.0, -1.4, 1.2, -1.4, 1.3},
        // The same with a factor of 2: H = 4, ratio 0.5: y from 0.5 (-1 - 0.8) to
        // 0.5 (1 + 0.6).
        {"coincident_nodes", make_model(2, {{3, 4}, {3, 4}, {3, 4}}), 2.0f, false, 1, 0.5, -1.4,
         1.2, -0.9, 0.8},
    };
}

TEST(ViewWindow, NamedCases)
{
    for (WindowCase c : window_cases()) {
        SCOPED_TRACE(c.name);
        const Planned p = plan(c.model, c.factor, c.factor_auto);
        EXPECT_EQ(p.view.orientation, c.orientation);
        EXPECT_DOUBLE_EQ(p.view.scaling_ratio, c.ratio);
        EXPECT_NEAR(p.view.window_x1, c.x1, 1e-6);
        EXPECT_NEAR(p.view.window_x2, c.x2, 1e-6);
        EXPECT_NEAR(p.view.window_y1, c.y1, 1e-6);
        EXPECT_NEAR(p.view.window_y2, c.y2, 1e-6);
        EXPECT_DOUBLE_EQ(p.view.unit_x, (p.view.window_x2 - p.view.window_x1) / 5);
        EXPECT_DOUBLE_EQ(p.view.unit_y, (p.view.window_y2 - p.view.window_y1) / 10);
        EXPECT_DOUBLE_EQ(p.view.marker_dx, p.view.unit_x / 52);
        EXPECT_DOUBLE_EQ(p.view.marker_dy, p.view.unit_y / 18);
        EXPECT_TRUE(std::isfinite(p.view.scaling_ratio));
    }
}

TEST(ViewWindow, RectangleUnitsAndCentreAndALargerFactorDrawsTheSmallerSideLarger)
{
    StructureModel m = rectangle();
    const Planned p = plan(m);
    EXPECT_DOUBLE_EQ(p.box.center_x, 5.0);
    EXPECT_DOUBLE_EQ(p.box.center_y, 2.5);
    EXPECT_NEAR(p.view.unit_x, 2.6, 1e-12);
    EXPECT_NEAR(p.view.unit_y, 1.35, 1e-12);
    EXPECT_FLOAT_EQ(p.box.width, 10.0f);
    EXPECT_FLOAT_EQ(p.box.height, 5.0f);
    // Centred plot positions.
    EXPECT_FLOAT_EQ(m.node(1).plot_x, -5.0f);
    EXPECT_FLOAT_EQ(m.node(1).plot_y, -2.5f);
    EXPECT_FLOAT_EQ(m.node(3).plot_x, 5.0f);
    EXPECT_FLOAT_EQ(m.node(3).plot_y, 2.5f);

    StructureModel b = rectangle();
    const Planned factor_3 = plan(b, 3.0f, false);
    EXPECT_TRUE(factor_3.box.factor_applied);
    EXPECT_FALSE(p.box.factor_applied);
    // The node's plot position keeps its value; its share of the window height grows.
    const double share_auto = 5.0 / (p.view.window_y2 - p.view.window_y1);
    const double share_3 = 5.0 / (factor_3.view.window_y2 - factor_3.view.window_y1);
    EXPECT_GT(share_3, share_auto);
}

TEST(ViewWindow, FlatSelectionsAreDrawnInTheMiddle)
{
    // A beam far from the origin, and a column: the flat direction is widened about the
    // members' own coordinate, so they lie on the window's middle line.
    StructureModel beam = make_model(2, {{0, 10.5f}, {12, 10.5f}});
    const Planned b = plan(beam);
    EXPECT_DOUBLE_EQ(b.box.y_min, 10.5 - 0.6);
    EXPECT_DOUBLE_EQ(b.box.y_max, 10.5 + 0.6);
    EXPECT_DOUBLE_EQ(b.box.center_y, 10.5);
    EXPECT_FLOAT_EQ(beam.node(1).plot_y, 0.0f);
    StructureModel column = make_model(2, {{12, 0}, {12, 10.5f}});
    const Planned c = plan(column);
    EXPECT_DOUBLE_EQ(c.box.center_x, 12.0);
    EXPECT_FLOAT_EQ(column.node(2).plot_x, 0.0f);
    EXPECT_LT(c.view.window_x1, 0.0);
    EXPECT_GT(c.view.window_x2, 0.0);
}

TEST(ViewWindow, NoSelectedNodeGetsThePointBoxAtTheOriginAndOverflowingExtentsStayFinite)
{
    StructureModel m = rectangle();
    for (Node& n : m.nodes)
        n.selected = false;
    const PlotBox box = plot_box(m, 1.0f, true);
    EXPECT_DOUBLE_EQ(box.x_min, -kPointBoxHalfSide);
    EXPECT_DOUBLE_EQ(box.y_max, kPointBoxHalfSide);
    EXPECT_DOUBLE_EQ(box.scaling_ratio, 1.0);

    StructureModel huge = make_model(2, {{-3e38f, 0}, {3e38f, 1}});
    const Planned p = plan(huge);
    EXPECT_TRUE(std::isfinite(p.view.window_x1));
    EXPECT_TRUE(std::isfinite(p.view.window_y2));
    EXPECT_TRUE(std::isfinite(p.view.scaling_ratio));
}

struct ProjectionCase {
    const char* name;
    bool reverse_y;
    bool reverse_vertical;
    float plot_x;
    float plot_y;
};

TEST(Projection, ObliqueSignsWhilePlaneModelsAreCopiedAndUnselectedNodesStayUntouched)
{
    constexpr float c = 0.70710677f;
    const ProjectionCase cases[] = {
        {"standard", false, false, c, c},
        {"reverse_y", true, false, -c, -c},
        {"reverse_vertical", false, true, c, -c},
        {"both", true, true, -c, c},
    };
    for (const ProjectionCase& pc : cases) {
        SCOPED_TRACE(pc.name);
        StructureModel m = make_model(3, {{0, 1, 0}, {2, 0, 5}});
        project_nodes(m, pc.reverse_y, pc.reverse_vertical);
        EXPECT_FLOAT_EQ(m.node(1).plot_x, pc.plot_x);
        EXPECT_FLOAT_EQ(m.node(1).plot_y, pc.plot_y);
        // X across, Z up whatever the switches.
        EXPECT_FLOAT_EQ(m.node(2).plot_x, 2.0f);
        EXPECT_FLOAT_EQ(m.node(2).plot_y, 5.0f);
    }
    StructureModel m = make_model(2, {{1.5f, -2.5f}, {7, 8}});
    m.node(2).selected = false;
    m.node(2).plot_x = 99.0f;
    project_nodes(m, true, true);
    EXPECT_FLOAT_EQ(m.node(1).plot_x, 1.5f);
    EXPECT_FLOAT_EQ(m.node(1).plot_y, -2.5f);
    EXPECT_FLOAT_EQ(m.node(2).plot_x, 99.0f);
}

TEST(InfoLines, GraphNumberRatioAndScheme)
{
    EXPECT_EQ(graph_info_lines(1, 2.0, 1),
              (std::vector<std::string>{"", " Graph No.:  1", " Scaling Ratio:   2.000    ",
                                        " Color: Standard"}));
    EXPECT_EQ(graph_info_lines(10, 1.5, 2)[1], " Graph No.: 10");
    EXPECT_EQ(graph_info_lines(10, 1.5, 2)[2], " Scaling Ratio:   1.500    ");
    EXPECT_EQ(graph_info_lines(10, 1.5, 2)[3], " Color: AllBlack");
    EXPECT_EQ(graph_info_lines(3, 123456.0, 3)[2], " Scaling Ratio:  0.1235E+06");
    EXPECT_EQ(graph_info_lines(3, 1.0, 3)[3], " Color: Custom");
    EXPECT_EQ(scheme_name(0), "Standard");
    EXPECT_EQ(scheme_name(7), "Standard");
}

} // namespace
} // namespace vorax
