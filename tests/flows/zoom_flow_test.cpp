// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include "app/program.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/menus.h"
#include "session_fixture.h"
#include "settings/dialog_controls.h"

namespace vorax {
namespace {

using namespace vorax::settings_control;

using testing::ScriptedPrompter;
using testing::SessionRun;

using testing::row_model;

// The program with a model loaded from the command line and graph 1 drawn, on a drawing area
// small enough to lie wholly in the window unless a test makes it larger.
class ZoomFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        gwl::set_default_drawing_area(400, 300);
        ASSERT_TRUE(run.start());
    }

    void draw_first_graph(const std::string& model_text)
    {
        const auto file = run.folder.write("model.dat", model_text);
        gwl::set_program_arguments({file.string()});
        run.prompter.script_draw();
        ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
        ASSERT_NE(window(10), nullptr);
    }

    gwl::GraphicsWindow* window(int unit) { return run.session->frame().graphics_window(unit); }

    // Drags on the graph of `unit` from one window point to another with the real mouse events,
    // where the window shows those points.
    void queue_drag(int unit, gwl::WindowPoint from, gwl::WindowPoint to)
    {
        const gwl::PixelPoint a = window(unit)->surface().to_pixel(from);
        const gwl::PixelPoint b = window(unit)->surface().to_pixel(to);
        const QPoint pa = window(unit)->viewport_rect_of({a.x, a.y, 1, 1}).topLeft();
        const QPoint pb = window(unit)->viewport_rect_of({b.x, b.y, 1, 1}).topLeft();
        run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events(
            [pa](QWidget* w) { QTest::mousePress(w, Qt::LeftButton, {}, pa); }));
        run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events(
            [pa, pb](QWidget* w) { QTest::mouseMove(w, (pa + pb) / 2); }));
        run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events(
            [pb](QWidget* w) { QTest::mouseRelease(w, Qt::LeftButton, {}, pb); }));
    }

    bool zoom() { return run.choose(kProgramMenu, kZoomItem); }

    SessionRun run;
};

TEST_F(ZoomFlow, ManyPickedNodesGiveAWindowWithoutNumbersAndTheSwitchStaysOff)
{
    draw_first_graph(row_model(250));
    // Nodes 1..201 lie at centred x -124.5 .. 75.5 (the row spans 0..249).
    queue_drag(10, {-125.0, -1.0}, {75.7, 1.0});
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(11), nullptr);
    const GraphSettings& g = run.state.settings.current_settings;
    EXPECT_EQ(g.selected_node_count, 201);
    EXPECT_FALSE(g.show_node_indices);
    EXPECT_EQ(g.selected_element_count, 201); // element 201 has one end inside: counted
    EXPECT_FALSE(g.show_element_indices);
    EXPECT_EQ(run.state.dialog.range_text, "1-201");
    EXPECT_EQ(run.session->frame().unit_title(11), "2  ROW OF NODES:  ZOOM");
    EXPECT_TRUE(run.info_has_line(" Graph No.:  2"));

    // The next graph's dialog starts with node numbers off.
    bool shown_on = true;
    run.prompter.script_dialog([&](gwl::DialogHandle& h) {
        shown_on = gwl::dialog_widget_view(h, kNodeIndices).checked;
        gwl::dialog_user_click(h, kCancel);
    });
    ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
    EXPECT_FALSE(shown_on);
}

TEST_F(ZoomFlow, AroundTwoHundredNodesTheNumbersAreShown)
{
    draw_first_graph(row_model(250));
    queue_drag(10, {-125.0, -1.0}, {74.7, 1.0}); // nodes 1..200
    ASSERT_TRUE(zoom());
    EXPECT_EQ(run.state.settings.current_settings.selected_node_count, 200);
    EXPECT_TRUE(run.state.settings.current_settings.show_node_indices);
}

TEST_F(ZoomFlow, ClickOnOneSpotOpensNoWindowAndBackToSettingsStillAsks)
{
    draw_first_graph(row_model(20));
    // Between the rows of nodes: nothing there.
    queue_drag(10, {2.2, 3.0}, {2.2, 3.0});
    ASSERT_TRUE(zoom());
    EXPECT_EQ(window(11), nullptr);
    EXPECT_EQ(run.state.last_graph_unit, 10);
    EXPECT_FALSE(run.state.zoom_requested);

    // The dialog comes as usual; the zoom left no node selected, so "All" is unchecked.
    const int dialogs = run.prompter.dialog_runs;
    bool all_checked = true;
    run.prompter.script_dialog([&](gwl::DialogHandle& h) {
        all_checked = gwl::dialog_widget_view(h, kAllNodes).checked;
        gwl::dialog_user_click(h, kAllNodes);
        gwl::dialog_user_click(h, kDraw);
    });
    ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
    EXPECT_FALSE(all_checked);
    EXPECT_EQ(run.prompter.dialog_runs, dialogs + 1);
    EXPECT_NE(window(11), nullptr);
}

TEST_F(ZoomFlow, AZoomWindowCanBeZoomedWhileItIsTheLast)
{
    draw_first_graph(row_model(20));
    queue_drag(10, {-10.0, -1.0}, {0.7, 1.0}); // nodes 1..11 at -9.5 .. 0.5
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(11), nullptr);
    EXPECT_EQ(run.state.settings.current_settings.selected_node_count, 11);

    // The zoom window's own view: the picked nodes fill it.
    queue_drag(11, {-5.2, -1.0}, {-2.8, 1.0}); // nodes 1..3, now at -5, -4 and -3
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(12), nullptr);
    EXPECT_EQ(run.session->frame().unit_title(12), "3  ROW OF NODES:  ZOOM");
    EXPECT_EQ(run.state.dialog.range_text, "1-3");

    // The focus on an older graph, or on the info window: refused, nothing drawn.
    for (int unit : {11, gwl::kInfoUnit}) {
        run.session->frame().give_focus(unit);
        const std::size_t boxes = run.prompter.message_boxes.size();
        ASSERT_TRUE(zoom());
        ASSERT_EQ(run.prompter.message_boxes.size(), boxes + 1);
        EXPECT_EQ(run.prompter.message_boxes.back().caption, "Vorax Message");
        EXPECT_EQ(window(13), nullptr);
        EXPECT_EQ(run.state.last_graph_unit, 12);
    }
}

// Fitted (0), shrunk between fitted and 1:1, and magnified: the band picks the same nodes.
class ZoomAtMagnification : public ZoomFlow, public ::testing::WithParamInterface<double> {};

TEST_P(ZoomAtMagnification, PicksTheNodesUnderTheBand)
{
    gwl::set_default_drawing_area(1600, 1200);
    draw_first_graph(row_model(20));
    ASSERT_TRUE(window(10)->size_to_fit());
    ASSERT_LT(window(10)->fitted_view().shown().width(), 1000);
    if (GetParam() > 0.0) {
        const gwl::PixelPoint six = window(10)->surface().to_pixel({-4.5, 0.0});
        window(10)->set_magnification(GetParam(), QPointF(window(10)->viewport_rect_of({six.x, six.y, 1, 1}).center()));
        ASSERT_EQ(window(10)->magnification(), GetParam());
    }
    queue_drag(10, {-5.2, -1.0}, {-2.8, 1.0}); // nodes 6 and 7 at -4.5 and -3.5, not 5 at -5.5
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(11), nullptr);
    EXPECT_EQ(run.state.dialog.range_text, "6-7");
}

INSTANTIATE_TEST_SUITE_P(Magnifications, ZoomAtMagnification, ::testing::Values(0.0, 0.84, 2.0),
                         [](const auto& info) { return "Times" + std::to_string(static_cast<int>(info.param * 100)); });

TEST_F(ZoomFlow, OnlyNodesDrawnInTheLastGraphArePicked)
{
    draw_first_graph(testing::file_text(testing::source_path("examples/plane_frame.dat")));
    // Graph 1 is centred on (6, 5.25): the right bay lies at x 0..6.
    queue_drag(10, {-0.5, -5.5}, {6.5, 5.5});
    ASSERT_TRUE(zoom());
    ASSERT_EQ(run.state.dialog.range_text, "2-3,5-6,8-9,11-12");
    // Graph 2 is centred on (9, 5.25): its left column at x -3. The drag from the window's left
    // edge also covers where the undrawn left column lay in graph 1 (x -6).
    queue_drag(11, {-7.0, -5.5}, {-2.5, 5.5});
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(12), nullptr);
    EXPECT_EQ(run.state.dialog.range_text, "2,5,8,11");
}

// The tower drawn from above (View "Plan (X-Y)") stacks each leg's nodes on one point; a band
// around the leg at the origin picks them all, whatever their height.
TEST_F(ZoomFlow, ThePlanOfATowerPicksAWholeLeg)
{
    const auto file = run.folder.write(
        "tower.dat", testing::file_text(testing::source_path("examples/space_tower.dat")));
    gwl::set_program_arguments({file.string()});
    run.prompter.script_dialog([](gwl::DialogHandle& d) {
        gwl::dialog_user_select(d, kView, 4);
        gwl::dialog_user_click(d, kDraw);
    });
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    ASSERT_NE(window(10), nullptr);
    EXPECT_TRUE(run.info_has_line(" View: Plan (X-Y)"));
    // The plan's box is X 0..4 by Y 0..4, centred on (2, 2): the leg X = Y = 0 lies at (-2, -2).
    queue_drag(10, {-2.3, -2.3}, {-1.7, -1.7});
    ASSERT_TRUE(zoom());
    ASSERT_NE(window(11), nullptr);
    EXPECT_EQ(run.state.dialog.range_text, "1,5,9,13,17");
}

} // namespace
} // namespace vorax
