// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <new>

#include "app/program.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/platform/system.h"
#include "gwl/platform/ui_thread.h"
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

// "NEW Graph ..." loads the model named on the command line and, on "DRAW", draws graph 1;
// "BACK to Settings ..." and "ZOOM (Mouse) ..." become available.
TEST(GraphFlow, NewGraphLoadsAndDraws)
{
    gwl::set_program_arguments({testing::source_path("examples/plane_frame.dat")});
    SessionRun run;
    ASSERT_TRUE(run.start());
    run.prompter.script_draw();
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    ASSERT_TRUE(testing::wait_until([&] { return run.session->frame().graphics_window(10) != nullptr; }));
    EXPECT_EQ(run.session->frame().unit_title(10), "(1) TWO-BAY THREE-STOREY PLANE FRAME");
    EXPECT_TRUE(run.info_has_line(" Scaling Ratio:   1.143    "));
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), gwl::menu_flag::kEnabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kZoomItem), gwl::menu_flag::kEnabled);
    const QImage picture = run.session->frame().graphics_window(10)->surface().image_copy();
    EXPECT_EQ(picture.pixelColor(0, picture.height() - 1), QColor(Qt::white));
    gwl::set_program_arguments({});
}

// A chain of `nodes` nodes on a 1000-wide grid, every hundredth one held: about 60 bytes a node.
std::string chain_model(int nodes)
{
    std::string text = "CHAIN\n" + std::to_string(nodes) + " " + std::to_string(nodes) + " 2 1 0\n";
    char line[96];
    for (int n = 1; n <= nodes; n += 100)
        text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "%d %d 1 1\n", n, n)));
    text += "VALUES\nM\nE\nS\n1 1\nCOORDINATES\n";
    for (int n = 1; n <= nodes; ++n)
        text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "%9d %14.5f %14.5f\n",
                                                                  n, (n % 1000) * 1.25, (n / 1000) * 2.5)));
    text += "ELEMENTS\n";
    for (int e = 1; e <= nodes; ++e)
        text.append(line, static_cast<std::size_t>(std::snprintf(line, sizeof line, "%9d %9d %9d\n",
                                                                  e, e, e % nodes + 1)));
    return text + "END\n";
}

// A run whose "NEW Graph ..." reads a model of 25 MB named on the command line, long enough for
// the user-interface thread to act meanwhile; progress shows in the status line at once.
struct LargeModelRun {
    LargeModelRun()
    {
        std::ofstream(path, std::ios::binary) << chain_model(400000);
        gwl::set_program_arguments({path});
        gwl::Layer::set_progress_delay(0);
    }
    ~LargeModelRun()
    {
        gwl::Layer::set_progress_delay(gwl::Layer::kProgressDelayMs);
        gwl::set_program_arguments({});
    }
    bool reading() { return run.session->frame().status_text().rfind("Reading model … ", 0) == 0; }

    testing::TempDir folder;
    std::string path = (folder.path() / "chain.dat").string();
    SessionRun run;
};

// The windows are served while a large model is read: a timer of the user-interface thread
// fires, and the status line shows how far the reading has come, then its own text again.
TEST(GraphFlow, WindowsAreServedWhileALargeModelIsRead)
{
    LargeModelRun large;
    SessionRun& run = large.run;
    ASSERT_TRUE(run.start());
    std::vector<std::string> statuses;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout,
                     [&] { statuses.push_back(run.session->frame().status_text()); });
    std::size_t ticks_while_reading = 0;
    run.prompter.script_dialog([&](gwl::DialogHandle& h) {
        ticks_while_reading = statuses.size();
        gwl::dialog_user_click(h, kDraw);
    });
    timer.start(1);
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    timer.stop();

    EXPECT_GT(ticks_while_reading, 0u);
    const auto reading = std::find_if(statuses.begin(), statuses.end(), [](const std::string& s) {
        return s.rfind("Reading model … ", 0) == 0 && s.back() == '%';
    });
    EXPECT_NE(reading, statuses.end());
    ASSERT_NE(run.session->frame().graphics_window(10), nullptr);
    EXPECT_TRUE(run.info_has_line(" ymin, ymax:  0.  1000."));
    EXPECT_EQ(run.session->frame().status_text(), "Running");
}

// Exit chosen while a large model is read ends the run once the reading is done: the graph
// command after it draws nothing, since its layer calls are released and it unwinds, and the
// status line gets its own text back.
TEST(GraphFlow, ExitWhileALargeModelIsReadEndsTheRun)
{
    constexpr int kExitItem = 6; // after "NEW Graph ..." and a separator
    LargeModelRun large;
    SessionRun& run = large.run;
    ASSERT_TRUE(run.start());
    bool exit_chosen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!exit_chosen && large.reading())
            exit_chosen = run.choose(kProgramMenu, kExitItem);
    });
    timer.start(1);
    run.prompter.script_draw(); // the real dialog would end at once, the program quitting
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    timer.stop();

    EXPECT_TRUE(exit_chosen);
    EXPECT_TRUE(gwl::ui_calls_shut_down());
    EXPECT_TRUE(run.info_has_line(" ymin, ymax:  0.  1000."));
    EXPECT_EQ(run.session->frame().graphics_window(10), nullptr);
    EXPECT_EQ(run.session->frame().status_text(), "Running");
}

// A command the memory does not suffice for ends in a box; the program goes on, and the next
// command runs.
TEST(GraphFlow, ACommandOutOfMemoryEndsInABox)
{
    SessionRun run;
    ASSERT_TRUE(run.start());
    run.session->program().graph_command = [] { throw std::bad_alloc(); };
    run.session->layer().set_menu_item_flags(kProgramMenu, kBackToSettingsItem,
                                             gwl::menu_flag::kEnabled);
    for (std::size_t boxes = 1; boxes <= 2; ++boxes) {
        ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
        ASSERT_TRUE(testing::wait_until([&] { return run.prompter.message_boxes.size() == boxes; }));
        EXPECT_EQ(run.prompter.message_boxes.back().text, "Not enough memory to finish the command.");
        EXPECT_EQ(run.prompter.message_boxes.back().style, gwl::mb::kIconError);
    }
}

// "BACK to Settings ..." through the menu reaches the graph command, which draws into the next
// graph window; a second choice draws graph 2 in Romanian with the node line.
TEST(GraphFlow, BackToSettingsDrawsTheNextGraphWindow)
{
    SessionRun run("Romanian");
    ASSERT_TRUE(run.start());
    run.load_example("space_tower.dat");
    AppState& s = run.state;
    run.session->layer().set_menu_item_flags(kProgramMenu, kBackToSettingsItem,
                                             gwl::menu_flag::kEnabled);

    run.prompter.script_draw();
    ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
    ASSERT_TRUE(testing::wait_until([&] { return run.session->frame().graphics_window(10) != nullptr; }));
    EXPECT_EQ(run.session->frame().unit_title(10), "1  LATTICE TOWER 4 x 4 x 12 M");
    EXPECT_TRUE(run.info_has_line(" Graph No.:  1"));
    EXPECT_TRUE(run.info_has_line(" Color: Standard"));

    run.prompter.script_dialog([](gwl::DialogHandle& h) {
        gwl::dialog_user_click(h, kAllNodes);
        gwl::dialog_user_type(h, kRange, "1-8");
        gwl::dialog_user_click(h, kDraw);
    });
    ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
    ASSERT_TRUE(testing::wait_until([&] { return run.session->frame().graphics_window(11) != nullptr; }));
    EXPECT_TRUE(run.info_has_line(" Graph No.:  2"));
    EXPECT_EQ(s.dialog.range_text, "1-8");
    EXPECT_EQ(s.last_graph_unit, 11);
    // Both windows keep their pictures: the first one still shows more of the tower.
    const QImage first = run.session->frame().graphics_window(10)->surface().image_copy();
    const QImage second = run.session->frame().graphics_window(11)->surface().image_copy();
    EXPECT_NE(first, second);
    EXPECT_EQ(second.pixelColor(second.width() - 1, 0), QColor(Qt::white));
}

// What the screen shows of a window's viewport: the frame's backing store, not a fresh paint.
QImage on_screen(gwl::Frame& frame, gwl::GraphicsWindow& window)
{
    const QImage screen = frame.screen()->grabWindow(frame.winId()).toImage();
    return screen.copy(QRect(window.viewport()->mapTo(&frame, QPoint(0, 0)), window.viewport()->size()))
        .convertToFormat(QImage::Format_RGB32);
}

// Each new window shows paper from its first frame and, once its drawing ended, exactly the
// surface's picture, titles and all: many windows in a row.
TEST(GraphFlow, EveryNewWindowShowsThePaperFirstAndTheWholeFinishedDrawing)
{
    SessionRun run;
    ASSERT_TRUE(run.start());
    run.load_example("plane_frame.dat");
    run.session->layer().set_menu_item_flags(kProgramMenu, kBackToSettingsItem, gwl::menu_flag::kEnabled);
    gwl::Frame& frame = run.session->frame();
    for (int unit = 10; unit < 18; ++unit) {
        SCOPED_TRACE(unit);
        QImage first; // the first frame the new window shows, before its drawing
        QMetaObject::Connection watch = QObject::connect(
            frame.findChild<QMdiArea*>(), &QMdiArea::subWindowActivated, [&](QMdiSubWindow* sub) {
                if (auto* w = sub ? qobject_cast<gwl::GraphicsWindow*>(sub->widget()) : nullptr; w && first.isNull())
                    first = w->viewport()->grab().toImage();
            });
        run.prompter.script_draw();
        ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
        QObject::disconnect(watch);
        gwl::GraphicsWindow* window = frame.graphics_window(unit);
        ASSERT_NE(window, nullptr);
        ASSERT_FALSE(first.isNull());
        EXPECT_EQ(first.pixelColor(first.width() / 2, first.height() / 2), QColor(Qt::white));
        QTest::qWait(120);
        const gwl::FittedView fitted = window->fitted_view();
        const QImage expected = fitted.sample(window->surface().image_copy(),
                                              QRect(QPoint(0, 0), fitted.shown()), kWhite);
        EXPECT_EQ(on_screen(frame, *window).copy(QRect(QPoint(0, 0), fitted.shown())), expected);
    }
}

// A cancelled file dialog leaves the loaded model and its graphs as they were, and "BACK to
// Settings ..." with them; without a graph of a loaded model it is grayed.
TEST(GraphFlow, CancelledFileDialogKeepsBackWhileAGraphOfTheModelExists)
{
    gwl::set_program_arguments({});
    SessionRun run;
    ASSERT_TRUE(run.start());
    using namespace gwl::menu_flag;
    run.prompter.file_answers = {std::nullopt};
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), kGrayed | kDisabled);

    run.prompter.file_answers = {testing::source_path("examples/plane_frame.dat"), std::nullopt};
    run.prompter.script_draw();
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    ASSERT_NE(run.session->frame().graphics_window(10), nullptr); // the cancel took no number
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
    EXPECT_TRUE(run.info_has_line(" * Input File Selection: Canceled."));
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), kEnabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kZoomItem), kEnabled);
    // BACK draws the loaded model again.
    run.prompter.script_draw();
    ASSERT_TRUE(run.choose(kProgramMenu, kBackToSettingsItem));
    EXPECT_NE(run.session->frame().graphics_window(11), nullptr);
}

} // namespace
} // namespace vorax
