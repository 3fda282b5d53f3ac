// SPDX-License-Identifier: GPL-3.0-or-later
// The marks over a graph: which items a reload marks, that no marks leave the graph as it was,
// where rings, bands and dashed lines fall, and the box round the marks a window scrolls to.

#include <gtest/gtest.h>

#include <memory>

#include "graph/change_marks.h"
#include "graph/graph_drawing.h"
#include "graph_test_support.h"
#include "gwl/surface/draw_surface.h"
#include "model/model_diff.h"

namespace vorax {
namespace {

using testing::make_model;
using testing::rectangle;
using testing::Pixels;

// The rectangle (0, 0), (10, 0), (10, 5), (0, 5) with its four sides as elements.

struct MarksRow {
    const char* name;
    StructureModel changed;
    std::vector<std::int32_t> nodes;
    std::vector<std::int32_t> elements;
    std::vector<std::int32_t> gone;
};

TEST(ChangeMarks, TakeTheRingedBandedAndGoneItemsOfAComparison)
{
    const MarksRow rows[] = {
        {"moved", make_model(2, {{0, 0}, {10, 1}, {10, 5}, {0, 5}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}), {2}, {}, {}},
        {"supports", make_model(2, {{0, 0, 0, {1, 1, 0}}, {10, 0}, {10, 5}, {0, 5}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}), {1}, {}, {}},
        {"added", make_model(2, {{0, 0}, {10, 0}, {10, 5}, {0, 5}, {5, 8}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {3, 5}}), {5}, {5}, {}},
        {"rejoined", make_model(2, {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, {{1, 2}, {2, 3}, {3, 4}, {4, 2}}), {}, {4}, {}},
        {"removed", make_model(2, {{0, 0}, {10, 0}, {10, 5}, {0, 5}}, {{1, 2}, {2, 3}}), {}, {}, {3, 4}},
        {"same", rectangle(), {}, {}, {}},
    };
    for (const MarksRow& row : rows) {
        const GraphMarks marks = change_marks(diff_models(rectangle(), {}, row.changed, {}));
        EXPECT_EQ(marks.nodes, row.nodes) << row.name;
        EXPECT_EQ(marks.elements, row.elements) << row.name;
        std::vector<std::int32_t> gone;
        for (const RemovedLine& line : marks.gone)
            gone.push_back(line.element);
        EXPECT_EQ(gone, row.gone) << row.name;
        EXPECT_EQ(marks.empty(), row.nodes.empty() && row.elements.empty() && row.gone.empty()) << row.name;
    }
}

TEST(ChangeMarks, AreInAColourNoSchemeGives)
{
    for (const Rgb colour : kStandardColors)
        EXPECT_NE(colour, kMarkColor);
    for (const Rgb colour : kAllBlackColors)
        EXPECT_NE(colour, kMarkColor);
    EXPECT_NE(kMarkColor, kWhite);
}

struct Drawn {
    StructureModel model;
    SettingsState settings;
    GraphPlan plan;
    std::unique_ptr<gwl::DrawSurface> surface;

    gwl::PixelPoint node_at(int n) const
    {
        return surface->to_pixel({model.node(n).plot_x, model.node(n).plot_y});
    }
};

std::unique_ptr<Drawn> draw(StructureModel model, const GraphMarks* marks, bool all = true)
{
    auto d = std::make_unique<Drawn>();
    d->model = std::move(model);
    GraphSettings& g = d->settings.current_settings;
    g.all_nodes = all;
    preset_index_switches(g, d->model.node_count, d->model.element_count);
    d->plan = plan_graph(d->model, d->settings, 1);
    d->surface = std::make_unique<gwl::DrawSurface>(800, 600);
    draw_graph(*d->surface, d->model, d->settings, d->plan, {"VORAX:", d->model.problem_title, UiLanguage::english},
               nullptr, marks);
    return d;
}

TEST(ChangeMarks, NoneLeaveTheGraphAsDrawnWithout)
{
    const GraphMarks none;
    EXPECT_TRUE(Pixels(*draw(rectangle(), &none)->surface) == Pixels(*draw(rectangle(), nullptr)->surface));
    EXPECT_EQ(Pixels(*draw(rectangle(), nullptr)->surface).count(kMarkColor), 0);
}

TEST(ChangeMarks, ARingRoundTheNodeABandUnderTheLineADashedLineWhereOneWas)
{
    const GraphMarks marks{{2}, {3}, {RemovedLine{9, {0, 0, 0}, {10, 5, 0}}}};
    const auto d = draw(rectangle(), &marks);
    const Pixels p(*d->surface);
    const gwl::PixelPoint two = d->node_at(2);
    // The ring, about 9 pixels out, and not on the node itself.
    EXPECT_GT(p.count(kMarkColor, two.x - 11, two.y - 11, two.x + 11, two.y + 11), 40);
    EXPECT_NE(p.at(two.x, two.y), kMarkColor);
    // Element 3 runs from node 3 to node 4 along the top: a band above and below its line,
    // which stays on top in the line colour.
    const gwl::PixelPoint three = d->node_at(3);
    const gwl::PixelPoint four = d->node_at(4);
    const int mx = (three.x + four.x) / 2;
    EXPECT_EQ(p.at(mx, three.y), d->settings.current_settings.colors[0]);
    EXPECT_EQ(p.at(mx, three.y - 2), kMarkColor);
    EXPECT_EQ(p.at(mx, three.y + 2), kMarkColor);
    // Element 1 along the bottom is not banded.
    const gwl::PixelPoint one = d->node_at(1);
    EXPECT_NE(p.at((one.x + two.x) / 2, one.y - 2), kMarkColor);
    // The diagonal from node 1 to node 3, dashed: some of it marked, some not.
    int marked = 0, steps = 0;
    for (double t = 0.2; t < 0.8; t += 0.01, ++steps) {
        const int x = static_cast<int>(one.x + t * (three.x - one.x));
        const int y = static_cast<int>(one.y + t * (three.y - one.y));
        marked += p.count(kMarkColor, x - 1, y - 1, x + 1, y + 1) > 0;
    }
    EXPECT_GT(marked, steps / 4);
    EXPECT_LT(marked, steps);
}

TEST(ChangeMarks, OnlyOnItemsTheGraphDraws)
{
    StructureModel model = rectangle();
    for (int n = 1; n <= 4; ++n)
        model.node(n).selected = n != 2;
    const GraphMarks marks{{2}, {1}, {}};
    const auto d = draw(std::move(model), &marks, false);
    EXPECT_EQ(Pixels(*d->surface).count(kMarkColor), 0);
    EXPECT_FALSE(marks_extent(d->model, d->settings.current_settings, d->plan.box.center_x,
                              d->plan.box.center_y, marks));
}

TEST(ChangeMarks, TheirBoxHoldsEveryMarkedPlace)
{
    const GraphMarks marks{{1}, {2}, {RemovedLine{9, {-4, 7, 0}, {0, 0, 0}}}};
    const auto d = draw(rectangle(), &marks);
    const auto box = marks_extent(d->model, d->settings.current_settings, d->plan.box.center_x,
                                  d->plan.box.center_y, marks);
    ASSERT_TRUE(box);
    const double cx = d->plan.box.center_x, cy = d->plan.box.center_y;
    EXPECT_DOUBLE_EQ(box->x1, -4 - cx); // the removed line's end
    EXPECT_DOUBLE_EQ(box->y1, 0 - cy);  // node 1
    EXPECT_DOUBLE_EQ(box->x2, 10 - cx); // element 2's ends
    EXPECT_DOUBLE_EQ(box->y2, 7 - cy);
}

} // namespace
} // namespace vorax
