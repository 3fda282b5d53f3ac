// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a node or an element and measuring between two nodes in the running program, with
// real keys and clicks.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/look_around.h"
#include "app/model_reload.h"
#include "app/program.h"
#include "graph/change_marks.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/menus.h"
#include "pixels.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using testing::Pixels;
using testing::SessionRun;

class LookAroundFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        gwl::set_default_drawing_area(600, 400);
        ASSERT_TRUE(run.start());
        ASSERT_FALSE(run.draw_model("row.dat", testing::row_model(5)).empty());
        window()->set_size_to_fit(false);
    }
    gwl::GraphicsWindow* window() { return run.session->frame().graphics_window(10); }
    std::string status() { return run.session->frame().status_text(); }
    QPoint on_screen(int node)
    {
        const Node& n = run.state.model.node(node);
        const gwl::PixelPoint pixel = window()->surface().to_pixel({n.plot_x, n.plot_y});
        return window()->viewport_rect_of({pixel.x, pixel.y, 1, 1}).center();
    }
    // Ctrl+F pressed in the frame, answered with `text`.
    void find(const std::string& text)
    {
        run.prompter.text_answers.push_back(text);
        run.session->frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&run.session->frame()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    }

    SessionRun run;
};

TEST_F(LookAroundFlow, FindMarksTheItemOrSaysWhyNot)
{
    struct Row {
        const char* typed;
        const char* said;
        GraphMarks marks; // left on the graph
    };
    const Row rows[] = {
        {"n3", "Node 3  x 2.000  y 0.000  free  (line 12)", {{3}, {}, {}}},
        {"element 4", "Element 4  nodes 4-5  length 1.000  (line 19)", {{}, {4}, {}}},
        {"node 6", "Node 6 does not exist: the model has nodes 1-5", {{}, {4}, {}}},
        {"e5", "Element 5 does not exist: the model has elements 1-4", {{}, {4}, {}}},
        {"0", "Node 0 does not exist: the model has nodes 1-5", {{}, {4}, {}}},
        {"beam 2", "Not a node or an element: beam 2", {{}, {4}, {}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        find(row.typed);
        EXPECT_EQ(status(), row.said);
        EXPECT_EQ(run.state.drawn_graphs.front().marks, row.marks);
    }
    EXPECT_EQ(run.prompter.text_prompts.size(), std::size(rows));
    EXPECT_GT(Pixels(window()->surface()).count(kMarkColor), 0);
}

// Before the first graph (and after the run ended) there is no model to search: the status line
// says so and no box opens.
TEST(LookAroundWithoutModel, FindSaysThereIsNoModel)
{
    SessionRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.choose(gwl::kEditMenu, run.session->look_around().find_item()));
    EXPECT_EQ(run.session->frame().status_text(), "No model is loaded to find a node or an element in");
    EXPECT_TRUE(run.prompter.text_prompts.empty());
    // Once a model is drawn that is no longer true.
    ASSERT_FALSE(run.draw_model("row.dat", testing::row_model(3)).empty());
    EXPECT_EQ(run.session->frame().status_text(), "Running");
}

TEST_F(LookAroundFlow, AClickAndAShiftClickMeasureAndEscapeClears)
{
    const std::string before = status();
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, {}, on_screen(1));
    EXPECT_EQ(status(), "Node 1 — Shift+click another node to measure the distance");
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, Qt::ShiftModifier, on_screen(4));
    EXPECT_EQ(status(), "Node 1 → node 4: 3.000 (dx 3.000, dy 0.000, dz 0.000)");
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, Qt::ShiftModifier, on_screen(2));
    EXPECT_EQ(status(), "Node 1 → node 2: 1.000 (dx 1.000, dy 0.000, dz 0.000)");
    QTest::keyClick(window(), Qt::Key_Escape);
    EXPECT_EQ(status(), before);
    // After Escape a Shift+click starts again from its node.
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, Qt::ShiftModifier, on_screen(5));
    EXPECT_EQ(status(), "Node 5 — Shift+click another node to measure the distance");
    // A reload ends the measuring as Escape does: the distance said was the old model's.
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, Qt::ShiftModifier, on_screen(3));
    ASSERT_TRUE(run.choose(gwl::kFileMenu, run.session->reload().menu_items().reload));
    ASSERT_TRUE(testing::wait_until([&] { return run.session->reload().reloads() == 1; }));
    EXPECT_EQ(status(), before);
    // Escape gives back what the status line showed when this measuring began.
    find("n3");
    const std::string found = status();
    QTest::mouseClick(window()->viewport(), Qt::LeftButton, {}, on_screen(1));
    QTest::keyClick(window(), Qt::Key_Escape);
    EXPECT_EQ(status(), found);
}

} // namespace
} // namespace vorax
