// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "app/graph_command.h"
#include "app/model_loading.h"
#include "app/program.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"
#include "gwl/windows/menus.h"
#include "model/model_reader.h"
#include "session_fixture.h"
#include "settings/dialog_controls.h"

namespace vorax {
namespace {

using namespace vorax::settings_control;

using testing::SessionRun;

int count_selected_elements_of(const StructureModel& m, std::initializer_list<int> nodes)
{
    auto in = [&](int n) { return std::find(nodes.begin(), nodes.end(), n) != nodes.end(); };
    return static_cast<int>(std::count_if(m.elements.begin(), m.elements.end(), [&](const Element& e) {
        return e.node1 != 0 && e.node2 != 0 && (in(e.node1) || in(e.node2));
    }));
}

// The session with a model loaded as the loading leaves it, graph 1 about to be drawn.
class GraphCommandRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run.start());
        load("plane_frame.dat");
    }

    void load(const std::string& example)
    {
        run.load_example(example);
        run.state.last_graph_unit = 10;
        run.state.graph_title = "(1) " + run.state.problem_title;
    }

    void command() { graph_command(run.state, run.session->layer()); }

    gwl::GraphicsWindow* window(int unit) { return run.session->frame().graphics_window(unit); }

    // Queues the press and the release of a rubber-band pick on graph 1, at window points.
    void pick(gwl::WindowPoint from, gwl::WindowPoint to)
    {
        const gwl::PixelPoint p0 = window(10)->surface().to_pixel(from);
        const gwl::PixelPoint p1 = window(10)->surface().to_pixel(to);
        run.prompter.mouse_scripts.push_back([p0](gwl::GraphicsWindow&, int) {
            return gwl::MouseEventResult{gwl::mouse::kLeftDown, gwl::mouse::kKeyLeftButton, p0.x,
                                         p0.y};
        });
        run.prompter.mouse_scripts.push_back([p1](gwl::GraphicsWindow&, int) {
            return gwl::MouseEventResult{gwl::mouse::kLeftUp, 0, p1.x, p1.y};
        });
    }

    bool info_has(const std::string& line) { return run.info_has_line(line); }

    SessionRun run;
};

TEST_F(GraphCommandRun, DrawOpensTheGraphWindowAndWritesTheInfoLines)
{
    run.prompter.script_draw();
    command();
    ASSERT_NE(window(10), nullptr);
    EXPECT_EQ(run.session->frame().unit_title(10), "(1) TWO-BAY THREE-STOREY PLANE FRAME");
    EXPECT_EQ(run.session->frame().active_unit(), 10);
    const std::vector<std::string> lines = run.info_lines();
    const std::vector<std::string> tail(lines.end() - 4, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"", " Graph No.:  1", " Scaling Ratio:   1.143    ",
                                               " Color: Standard"}));
    // A white background, the element lines in the line colour, the view kept for the zoom.
    const QImage picture = window(10)->surface().image_copy();
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1), QColor(Qt::white));
    int line_pixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            line_pixels += picture.pixelColor(x, y) == QColor(128, 0, 0);
    EXPECT_GT(line_pixels, 1000);
    EXPECT_NEAR(run.state.view.scaling_ratio, 12.0 / 10.5, 1e-6);
    EXPECT_EQ(run.state.settings.current_settings.selected_node_count, 12);
    // Plot positions are centred: the frame's corners lie at +-6 and +-5.25.
    EXPECT_FLOAT_EQ(run.state.model.node(1).plot_x, -6.0f);
    EXPECT_FLOAT_EQ(run.state.model.node(12).plot_y, 5.25f);
}

TEST_F(GraphCommandRun, CancelDisablesBackAndZoomAndOpensNothing)
{
    using namespace gwl::menu_flag;
    run.session->layer().set_menu_item_flags(kProgramMenu, kBackToSettingsItem, kEnabled);
    run.session->layer().set_menu_item_flags(kProgramMenu, kZoomItem, kEnabled);
    const std::size_t lines_before = run.info_lines().size();
    run.prompter.script_dialog([](gwl::DialogHandle& d) { gwl::dialog_user_click(d, kCancel); });
    command();
    EXPECT_EQ(window(10), nullptr);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), kDisabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kZoomItem), kDisabled);
    EXPECT_EQ(run.info_lines().size(), lines_before);
    EXPECT_EQ(run.state.last_graph_unit, 10);
    EXPECT_EQ(run.state.dialog.settings_dialog_result, 2);
}

TEST_F(GraphCommandRun, BadRangeShowsTheDialogAgainThenDrawsTheSelection)
{
    run.prompter.script_dialog([](gwl::DialogHandle& d) {
        gwl::dialog_user_click(d, kAllNodes); // all nodes off
        gwl::dialog_user_type(d, kRange, "1-3, 20");
        gwl::dialog_user_click(d, kDraw);
    });
    run.prompter.script_dialog([](gwl::DialogHandle& d) {
        gwl::dialog_user_type(d, kRange, "3 4 5, 9");
        gwl::dialog_user_click(d, kDraw);
    });
    command();
    EXPECT_EQ(run.prompter.dialog_runs, 2);
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.prompter.message_boxes[0].text, "Error in group No. 2: 20-20");
    EXPECT_EQ(run.prompter.message_boxes[0].caption, "Vorax Message");
    EXPECT_EQ(run.prompter.message_boxes[0].style & gwl::mb::kIconMask, gwl::mb::kIconError);
    ASSERT_NE(window(10), nullptr);
    const GraphSettings& g = run.state.settings.current_settings;
    EXPECT_FALSE(g.all_nodes);
    EXPECT_EQ(g.selected_node_count, 4);
    EXPECT_EQ(run.state.dialog.range_text, "3-5,9");
    // Elements with one of the nodes 3, 4, 5, 9 at an end.
    EXPECT_EQ(g.selected_element_count, count_selected_elements_of(run.state.model, {3, 4, 5, 9}));
    EXPECT_FALSE(run.state.model.node(1).selected);
    EXPECT_TRUE(run.state.model.node(9).selected);
}

TEST_F(GraphCommandRun, BadGroupsAreToldInTheLanguageOfTheRun)
{
    run.state.language = UiLanguage::romanian;
    run.prompter.script_dialog([](gwl::DialogHandle& d) {
        gwl::dialog_user_click(d, kAllNodes); // all nodes off
        gwl::dialog_user_type(d, kRange, "1, 13-5");
        gwl::dialog_user_click(d, kDraw);
    });
    command(); // the second dialog, not scripted, is cancelled
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.prompter.message_boxes[0].text, "Eroare in grupul nr. 2: 13-5");
    EXPECT_EQ(run.prompter.message_boxes[0].caption, "Mesaj VORAX");
}

TEST_F(GraphCommandRun, ZoomWithoutAPickOrPickingNoNodeOpensNothing)
{
    run.prompter.script_draw();
    command();
    ASSERT_NE(window(10), nullptr);
    run.state.zoom_requested = true;
    run.state.zoom_title = "2  TWO-BAY THREE-STOREY PLANE FRAME:  ZOOM";
    command();
    EXPECT_FALSE(run.state.zoom_requested);
    EXPECT_EQ(run.state.last_graph_unit, 10);
    EXPECT_EQ(window(11), nullptr);
    EXPECT_EQ(run.prompter.dialog_runs, 1); // no dialog on the zoom path
    EXPECT_EQ(run.session->frame().active_unit(), 10);

    pick({-5.0, -5.0}, {-4.0, -4.0});
    run.state.zoom_requested = true;
    command();
    EXPECT_FALSE(run.state.zoom_requested);
    EXPECT_EQ(window(11), nullptr);
    EXPECT_EQ(run.state.last_graph_unit, 10);
    EXPECT_FALSE(run.state.settings.current_settings.all_nodes);
    EXPECT_EQ(run.state.settings.current_settings.selected_node_count, 0);
}

TEST_F(GraphCommandRun, ZoomDrawsThePickedNodesIntoTheNextWindow)
{
    run.prompter.script_draw();
    command();
    ASSERT_NE(window(10), nullptr);
    // Around nodes 1, 2, 4 and 5 (centred plot positions -6 and 0 across, -5.25 and -1.75 up).
    pick({-6.5, -5.5}, {0.5, -1.5});
    run.state.zoom_requested = true;
    run.state.zoom_title = "2  TWO-BAY THREE-STOREY PLANE FRAME:  ZOOM";
    command();
    EXPECT_FALSE(run.state.zoom_requested);
    ASSERT_NE(window(11), nullptr);
    EXPECT_EQ(run.state.last_graph_unit, 11);
    EXPECT_EQ(run.session->frame().unit_title(11), "2  TWO-BAY THREE-STOREY PLANE FRAME:  ZOOM");
    EXPECT_EQ(run.state.dialog.range_text, "1-2,4-5");
    const GraphSettings& g = run.state.settings.current_settings;
    EXPECT_FALSE(g.all_nodes);
    EXPECT_EQ(g.selected_node_count, 4);
    EXPECT_TRUE(info_has(" Graph No.:  2"));
    // The picked nodes fill the new window: 6 by 3.5 gives the ratio 1.714.
    EXPECT_TRUE(info_has(" Scaling Ratio:   1.714    "));
    EXPECT_EQ(run.prompter.dialog_runs, 1);
}

TEST_F(GraphCommandRun, TheTenthGraphIsNumberTenAndTheEleventhGetsNoWindow)
{
    run.state.last_graph_unit = 19;
    run.prompter.script_draw();
    command();
    ASSERT_NE(window(19), nullptr);
    EXPECT_TRUE(info_has(" Graph No.: 10"));

    run.state.last_graph_unit = kGraphUnitLimit;
    run.prompter.script_draw();
    command();
    EXPECT_EQ(run.session->frame().graphics_window(kGraphUnitLimit), nullptr);
    EXPECT_EQ(run.state.last_graph_unit, kGraphUnitLimit);
    run.state.zoom_requested = true;
    run.state.last_graph_unit = 25;
    command();
    EXPECT_FALSE(run.state.zoom_requested);
    EXPECT_EQ(run.state.last_graph_unit, kGraphUnitLimit);
}

TEST_F(GraphCommandRun, ZoomPicksNoNodeTheLastGraphDidNotDraw)
{
    run.prompter.script_dialog([](gwl::DialogHandle& d) {
        gwl::dialog_user_click(d, kAllNodes);
        gwl::dialog_user_type(d, kRange, "1-5");
        gwl::dialog_user_click(d, kDraw);
    });
    command();
    ASSERT_NE(window(10), nullptr);
    // Nodes 6..12 were never drawn: whatever their plot positions hold, a rectangle around the
    // middle of the graph (between nodes 2 and 5) holds none of them.
    EXPECT_EQ(apply_zoom_selection(run.state, {{-0.5, -0.5}, {0.5, 0.5}}), 0);
    EXPECT_EQ(apply_zoom_selection(run.state, {{-7, -3}, {7, 3}}), 5);
}

// --- The selection of a picked rectangle ------------------------------------------------------

void fill_plot_positions(AppState& s, int count)
{
    s.model.NGL = 2;
    s.model.node_count = count;
    s.model.nodes.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        s.model.nodes[static_cast<std::size_t>(i)].plot_x = static_cast<float>(i % 20);
        s.model.nodes[static_cast<std::size_t>(i)].plot_y = static_cast<float>(i / 20);
    }
    s.settings.current_settings.all_nodes = true;
    s.drawn_nodes.assign(static_cast<std::size_t>(count), true);
}

TEST(ZoomSelection, CornersInAnyOrderAndEdgesInside)
{
    AppState a;
    AppState b;
    fill_plot_positions(a, 40);
    fill_plot_positions(b, 40);
    EXPECT_EQ(apply_zoom_selection(a, {{2, 0}, {4, 1}}), 6);
    EXPECT_EQ(apply_zoom_selection(b, {{4, 1}, {2, 0}}), 6);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(a.model.nodes[static_cast<std::size_t>(i)].selected,
                  b.model.nodes[static_cast<std::size_t>(i)].selected);
    EXPECT_TRUE(a.model.node(3).selected);  // (2, 0) on the corner
    EXPECT_TRUE(a.model.node(25).selected); // (4, 1) on the corner
    EXPECT_FALSE(a.settings.current_settings.all_nodes);
    EXPECT_EQ(a.settings.current_settings.selected_node_count, 6);
}

TEST(ZoomSelection, IndexSwitchesFollowTheCounts)
{
    AppState s;
    fill_plot_positions(s, 400);
    EXPECT_EQ(apply_zoom_selection(s, {{0, 0}, {19, 9.5}}), 200);
    EXPECT_TRUE(s.settings.current_settings.show_node_indices);
    EXPECT_EQ(apply_zoom_selection(s, {{0, 0}, {0, 10}}), 11);
    s.settings.current_settings.show_node_indices = true;
    // 201 nodes: the numbers go off.
    EXPECT_EQ(apply_zoom_selection(s, {{0, 0}, {19, 10.0}}), 220);
    EXPECT_FALSE(s.settings.current_settings.show_node_indices);
    EXPECT_EQ(apply_zoom_selection(s, {{100, 100}, {101, 101}}), 0);
}

} // namespace
} // namespace vorax
