// SPDX-License-Identifier: GPL-3.0-or-later
// Pointing at a graph window's nodes and elements in the running program, with real mouse moves:
// the tooltip and the status line name what lies under the pointer in the program's language,
// only what that window drew can be pointed at, and the zoom's mouse input comes first.

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>
#include <QToolTip>

#include "app/program.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/menus.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using testing::ScriptedPrompter;
using testing::SessionRun;

// Node 1 fixed, node 2 free, node 3 held across (codes 1 0) a little above the line from 1 to 2.
// Line numbers: coordinates 11..13, elements 15..17.
constexpr const char* kModel = "POINTING MODEL\n"
                               "3 3 2 1 0\n"
                               "1 1 1 1\n"
                               "3 3 1 0\n"
                               "CODES END\n"
                               "VALUES END\n-\n-\n-\n-\n"
                               "1 0.0 0.0\n"
                               "2 10.0 0.0\n"
                               "3 5.0 1.0\n"
                               "COORDINATES END\n"
                               "1 1 2\n"
                               "2 1 3\n"
                               "3 2 3\n"
                               "END\n";

class PointingFlow : public ::testing::Test {
protected:
    explicit PointingFlow(const std::string& language = "") : run(language) {}

    void draw_first_graph(int width, int height)
    {
        gwl::set_default_drawing_area(width, height);
        ASSERT_TRUE(run.start());
        gwl::set_program_arguments({run.folder.write("model.dat", kModel).string()});
        run.prompter.script_draw();
        ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
        ASSERT_NE(window(10), nullptr);
    }

    gwl::GraphicsWindow* window(int unit) { return run.session->frame().graphics_window(unit); }

    // Where the graph of `unit` shows a point of its window coordinates, in its viewport.
    QPoint on_screen(int unit, gwl::WindowPoint point)
    {
        const gwl::PixelPoint pixel = window(unit)->surface().to_pixel(point);
        return window(unit)->viewport_rect_of({pixel.x, pixel.y, 1, 1}).center();
    }
    gwl::WindowPoint plot_of(int node)
    {
        return {run.state.model.node(node).plot_x, run.state.model.node(node).plot_y};
    }

    // Moves the pointer there, as a person would, and lets it rest until the tooltip shows.
    std::string point_at(int unit, QPoint at)
    {
        QTest::mouseMove(window(unit)->viewport(), at - QPoint(2, 1));
        QTest::mouseMove(window(unit)->viewport(), at);
        const std::string text = window(unit)->pointed_text();
        if (!text.empty()) {
            EXPECT_TRUE(testing::wait_until([&] {
                return QToolTip::isVisible() && QToolTip::text().toStdString() == text;
            }));
        }
        return text;
    }
    std::string status() { return run.session->frame().status_text(); }

    SessionRun run;
};

class PointingInBothLanguages : public PointingFlow,
                                public ::testing::WithParamInterface<const char*> {
protected:
    PointingInBothLanguages() : PointingFlow(GetParam()) {}
};

TEST_P(PointingInBothLanguages, ANodeAndAnElementOfAShrunkenGraph)
{
    const bool romanian = std::string(GetParam()) == "Romanian";
    draw_first_graph(1600, 1200);
    ASSERT_TRUE(window(10)->size_to_fit());
    ASSERT_GT(window(10)->drawing_pixels_per_screen_pixel(), 1.5);

    const std::string node = romanian ? "Nod 3  x 5.000  y 1.000  coduri 1 0  (linia 13)"
                                      : "Node 3  x 5.000  y 1.000  codes 1 0  (line 13)";
    EXPECT_EQ(point_at(10, on_screen(10, plot_of(3))), node);
    EXPECT_EQ(status(), node);

    const gwl::WindowPoint middle{(plot_of(1).x + plot_of(2).x) / 2, plot_of(1).y};
    const std::string element = romanian ? "Element 1  noduri 1-2  lungime 10.000  (linia 15)"
                                         : "Element 1  nodes 1-2  length 10.000  (line 15)";
    EXPECT_EQ(point_at(10, on_screen(10, middle)), element);
    EXPECT_EQ(status(), element);
    // The last element.
    const gwl::WindowPoint last{(plot_of(2).x + plot_of(3).x) / 2, (plot_of(2).y + plot_of(3).y) / 2};
    EXPECT_EQ(point_at(10, on_screen(10, last)), romanian ? "Element 3  noduri 2-3  lungime 5.099  (linia 17)"
                                                          : "Element 3  nodes 2-3  length 5.099  (line 17)");

    // Off the structure: nothing, and the status line as it was.
    EXPECT_EQ(point_at(10, on_screen(10, {middle.x, middle.y + 0.5})), "");
    EXPECT_EQ(status(), "Running");
    EXPECT_TRUE(testing::wait_until([] { return !QToolTip::isVisible(); }));
}

INSTANTIATE_TEST_SUITE_P(Languages, PointingInBothLanguages, ::testing::Values("English", "Romanian"));

TEST_F(PointingFlow, EachWindowNamesWhatItDrewAndTheZoomComesFirst)
{
    draw_first_graph(400, 300);
    const QPoint node3_in_graph1 = on_screen(10, plot_of(3));
    const std::string node3 = "Node 3  x 5.000  y 1.000  codes 1 0  (line 13)";

    // While the zoom waits for its rectangle, the pointer over node 3 shows nothing: the status
    // line keeps the wait's note. Then the band around nodes 1 and 2.
    std::string status_during_wait;
    bool tooltip_during_wait = true;
    const QPoint from = on_screen(10, {plot_of(1).x - 1.0, plot_of(1).y - 0.4});
    const QPoint to = on_screen(10, {plot_of(2).x + 1.0, plot_of(2).y + 0.4});
    run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events([&](QWidget* viewport) {
        QTest::mouseMove(viewport, node3_in_graph1);
        QTest::qWait(1200);
        status_during_wait = status();
        tooltip_during_wait = QToolTip::isVisible();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    }));
    run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events(
        [&](QWidget* viewport) { QTest::mouseMove(viewport, (from + to) / 2); }));
    run.prompter.mouse_scripts.push_back(ScriptedPrompter::send_events(
        [&](QWidget* viewport) { QTest::mouseRelease(viewport, Qt::LeftButton, {}, to); }));
    ASSERT_TRUE(run.choose(kProgramMenu, kZoomItem));
    EXPECT_EQ(status_during_wait, "Mouse input pending in (1) POINTING MODEL");
    EXPECT_FALSE(tooltip_during_wait);
    ASSERT_NE(window(11), nullptr);
    ASSERT_EQ(run.state.dialog.range_text, "1-2");

    // The zoom window drew nodes 1 and 2 only: where node 3 would lie in it there is nothing.
    // Node 3 sits 1 above the middle of the line from 1 to 2, as in the model.
    EXPECT_EQ(point_at(11, on_screen(11, plot_of(1))), "Node 1  x 0.000  y 0.000  codes 1 1  fixed  (line 11)");
    const gwl::WindowPoint undrawn{(plot_of(1).x + plot_of(2).x) / 2, plot_of(1).y + 1.0};
    EXPECT_EQ(point_at(11, on_screen(11, undrawn)), "");
    EXPECT_EQ(status(), "Running");

    // Graph 1, brought to the front, still names what it drew, though the zoom moved the plot
    // positions; so does it once closed and brought back from the Window menu.
    run.session->frame().give_focus(10);
    EXPECT_EQ(point_at(10, node3_in_graph1), node3);
    run.session->frame().sub_window(10)->close();
    ASSERT_TRUE(testing::wait_until([&] { return window(10) == nullptr; }));
    ASSERT_TRUE(run.session->frame().bring_back(10));
    EXPECT_EQ(point_at(10, node3_in_graph1), node3);

    // A later load replaces the program's model, not the one graph 1 was drawn from.
    gwl::set_program_arguments({testing::source_path("examples/plane_frame.dat")});
    run.prompter.script_draw();
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    ASSERT_NE(window(12), nullptr);
    run.session->frame().give_focus(10);
    EXPECT_EQ(point_at(10, node3_in_graph1), node3);
}

} // namespace
} // namespace vorax
